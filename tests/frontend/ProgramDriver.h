// Drives VLConverter.exe from outside, as another program would: starts it in a job object that ends it with
// the test, finds its windows, reads and sets its controls through messages and clicks its buttons.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace vlc::testing {

inline std::string programFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string self(path, length);
    return self.substr(0, self.find_last_of('\\') + 1);
}

// A message is answered within this time by a program that is not stuck.
constexpr UINT MessageTimeout = 10000;

inline LRESULT send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, MessageTimeout, &result);
    return static_cast<LRESULT>(result);
}

inline std::string windowText(HWND window) {
    char text[1024] = "";
    send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

inline std::string itemText(HWND dialog, int id) {
    return windowText(GetDlgItem(dialog, id));
}

inline void setItemText(HWND dialog, int id, const std::string& text) {
    send(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

inline bool isChecked(HWND dialog, int id) {
    return send(GetDlgItem(dialog, id), BM_GETCHECK) == BST_CHECKED;
}

// Posted, never sent: the click's handler may run a modal message box.
inline void click(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// A key pressed and let go on the keyboard: it goes to the window that has the focus.
inline void pressKey(WORD key) {
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

// Polls a condition for up to timeout milliseconds.
inline bool waitFor(const std::function<bool()>& condition, int timeout = 20000) {
    for (int waited = 0;; waited += 20) {
        if (condition()) return true;
        if (waited >= timeout) return false;
        Sleep(20);
    }
}

class RunningProgram {
public:
    RunningProgram() : job(CreateJobObjectA(nullptr, nullptr)) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        const std::string path = programFolder() + "VLConverter.exe";
        std::string command = "\"" + path + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started = CreateProcessA(path.c_str(), command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                 nullptr, nullptr, &startup, &process) != FALSE;
        if (started) {
            AssignProcessToJobObject(job, process.hProcess);
            ResumeThread(process.hThread);
        }
    }
    ~RunningProgram() {
        if (started) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        CloseHandle(job);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // The program's visible top-level dialogs, in the platform's order (topmost first).
    std::vector<HWND> dialogs() const {
        struct Search {
            DWORD processId;
            std::vector<HWND> found;
        } search{process.dwProcessId, {}};
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                char className[16] = "";
                GetClassNameA(window, className, sizeof className);
                if (owner == s->processId && IsWindowVisible(window) && std::string(className) == "#32770") {
                    s->found.push_back(window);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    // The first visible dialog of the program that `wanted` accepts, waited for; null if none came.
    HWND waitForDialogWhere(const std::function<bool(HWND)>& wanted, int timeout = 20000) const {
        HWND found = nullptr;
        waitFor(
            [&] {
                const std::vector<HWND> windows = dialogs();
                const auto match = std::find_if(windows.begin(), windows.end(), wanted);
                found = match != windows.end() ? *match : nullptr;
                return found != nullptr;
            },
            timeout);
        return found;
    }

    // A visible dialog of the program with this caption, other than `except`, waited for; null if none came.
    HWND waitForDialog(const std::string& caption, HWND except = nullptr, int timeout = 20000) const {
        return waitForDialogWhere(
            [&](HWND window) {
                char text[256] = "";
                GetWindowTextA(window, text, sizeof text);
                return window != except && caption == text;
            },
            timeout);
    }

    // A visible dialog of the program that is none of `known`, waited for; null if none came.
    HWND waitForNewDialog(const std::vector<HWND>& known, int timeout = 20000) const {
        return waitForDialogWhere(
            [&](HWND window) { return std::find(known.begin(), known.end(), window) == known.end(); },
            timeout);
    }

    // The exit code, waited for up to 20 seconds; STILL_ACTIVE if the program did not end.
    DWORD waitForExit() const {
        WaitForSingleObject(process.hProcess, 20000);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }

    HANDLE job;
    PROCESS_INFORMATION process{};
    bool started = false;
};

// The text of a message box.
inline std::string messageText(HWND box) {
    return itemText(box, 0xFFFF);
}

inline bool isHidden(HWND window) {
    return !IsWindow(window) || !IsWindowVisible(window);
}

}  // namespace vlc::testing
