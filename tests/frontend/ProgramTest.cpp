// VLConverter.exe as a user meets it, driven from outside as another program would. Each program started
// here runs in a job object that ends it with the test.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "resource.h"

namespace {

std::string programPath() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string self(path, length);
    return self.substr(0, self.find_last_of('\\') + 1) + "VLConverter.exe";
}

class RunningProgram {
public:
    RunningProgram() : job(CreateJobObjectA(nullptr, nullptr)) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        const std::string path = programPath();
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

    // The program's visible dialog with this caption, waited for up to 20 seconds; null if none came.
    HWND waitForDialog(const char* caption) const {
        struct Search {
            DWORD processId;
            const char* caption;
            HWND found;
        } search{process.dwProcessId, caption, nullptr};
        for (int i = 0; i < 400 && search.found == nullptr; ++i) {
            EnumWindows(
                [](HWND window, LPARAM data) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(data);
                    DWORD owner = 0;
                    GetWindowThreadProcessId(window, &owner);
                    char className[16] = "";
                    char text[128] = "";
                    GetClassNameA(window, className, sizeof className);
                    GetWindowTextA(window, text, sizeof text);
                    if (owner == s->processId && IsWindowVisible(window) &&
                        std::string(className) == "#32770" && std::string(text) == s->caption) {
                        s->found = window;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            if (search.found == nullptr) Sleep(50);
        }
        return search.found;
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

void click(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

TEST(Program, StartsWithItsMainWindowAndExits) {
    RunningProgram program;
    ASSERT_TRUE(program.started);
    const HWND main = program.waitForDialog("Velmora Converter");
    ASSERT_NE(main, nullptr) << "no main window (exit code " << program.waitForExit() << ")";
    click(main, IDC_MAIN_EXIT);
    EXPECT_EQ(program.waitForExit(), 0u);
}

TEST(Program, SecondCopyReportsAndEndsWhileTheFirstRuns) {
    RunningProgram first;
    ASSERT_TRUE(first.started);
    const HWND main = first.waitForDialog("Velmora Converter");
    ASSERT_NE(main, nullptr);

    RunningProgram second;
    ASSERT_TRUE(second.started);
    const HWND message = second.waitForDialog("VLConverter");
    ASSERT_NE(message, nullptr);
    char text[128] = "";
    GetDlgItemTextA(message, 0xFFFF, text, sizeof text);
    EXPECT_STREQ(text, "ERROR: Could not initialize window.");
    click(message, IDOK);
    EXPECT_EQ(second.waitForExit(), 0u);

    EXPECT_TRUE(IsWindow(main));
    click(main, IDC_MAIN_EXIT);
    EXPECT_EQ(first.waitForExit(), 0u);

    // With the first copy gone, a new one starts normally.
    RunningProgram third;
    const HWND again = third.waitForDialog("Velmora Converter");
    ASSERT_NE(again, nullptr);
    click(again, IDC_MAIN_EXIT);
    EXPECT_EQ(third.waitForExit(), 0u);
}

}  // namespace
