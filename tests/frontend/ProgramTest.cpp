// VLConverter.exe as a user meets it, driven from outside as another program would, in a job object that ends
// it with the test. The case starts the program as few times as it can: every start under Wine costs time.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Screenshot.h"
#include "TempFolder.h"
#include "resource.h"

namespace vlc::testing {
namespace {

std::string programFolder() {
    char path[MAX_PATH];
    const std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of('\\') + 1);
}

// A program that is not stuck answers within ten seconds.
LRESULT send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 10000, &result);
    return static_cast<LRESULT>(result);
}

std::string windowText(HWND window) {
    char text[1024] = "";
    send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string itemText(HWND dialog, int id) {
    return windowText(GetDlgItem(dialog, id));
}

void setItemText(HWND dialog, int id, const std::string& text) {
    send(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool isChecked(HWND dialog, int id) {
    return send(GetDlgItem(dialog, id), BM_GETCHECK) == BST_CHECKED;
}

// Posted, never sent: the click's handler may run a modal message box.
void click(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// A key pressed and let go on the keyboard: it goes to the window that has the focus.
void pressKey(WORD key) {
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

// The number of hands in the large log that the generator makes for these tests.
constexpr unsigned long LargeLogHands = VLC_LARGE_LOG_HANDS;

bool waitFor(const std::function<bool()>& condition, int timeout = 20000) {
    for (int waited = 0;; waited += 20) {
        if (condition()) return true;
        if (waited >= timeout) return false;
        Sleep(20);
    }
}

bool isHidden(HWND window) {
    return !IsWindow(window) || !IsWindowVisible(window);
}

constexpr int MessageText = 0xFFFF;  // the static of a message box

void answer(HWND box, int button) {
    click(box, button);
    EXPECT_TRUE(waitFor([&] { return isHidden(box); }));
}

std::string setting(const char* section, const char* key) {
    char value[300] = "";
    const std::string path = programFolder() + "VLConverter.cfg";
    GetPrivateProfileStringA(section, key, "<absent>", value, sizeof value, path.c_str());
    return value;
}

void saveShot(HWND window, const char* name) {
    const std::string folder = hostPath(VLC_SCREENSHOT_FOLDER);
    CreateDirectoryA(folder.c_str(), nullptr);
    EXPECT_TRUE(saveScreenshot(window, folder + "\\" + name)) << name;
}

// Every label of a dialog is whole in the font its template names ("MS Sans Serif", 8 points): a static's
// text fits its width, a check box's or radio button's fits beside its box. Wine's wider stand-in for that
// font, taken when the prefix lacks it, clips them.
void expectLabelsWhole(HWND dialog) {
    const HDC screen = GetDC(nullptr);
    const HFONT font = CreateFontA(-MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL,
                                   FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "MS Sans Serif");
    const HGDIOBJ previous = SelectObject(screen, font);
    const int checkBox = GetSystemMetrics(SM_CXMENUCHECK) + 4;  // the box and the gap before the text
    int labels = 0;
    for (HWND child = nullptr; (child = FindWindowExA(dialog, child, nullptr, nullptr)) != nullptr;) {
        char kind[32] = "";
        GetClassNameA(child, kind, sizeof kind);
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        int box = 0;
        if (lstrcmpiA(kind, "Button") == 0) {
            const LONG type = style & BS_TYPEMASK;
            if (type != BS_AUTOCHECKBOX && type != BS_CHECKBOX && type != BS_AUTORADIOBUTTON &&
                type != BS_RADIOBUTTON)
                continue;
            box = checkBox;
        } else if (lstrcmpiA(kind, "Static") != 0 || (style & SS_TYPEMASK) == SS_BITMAP) {
            continue;
        }
        const std::string text = windowText(child);
        if (text.empty()) continue;
        SIZE size{};
        GetTextExtentPoint32A(screen, text.data(), static_cast<int>(text.size()), &size);
        RECT client{};
        GetClientRect(child, &client);
        EXPECT_LE(box + size.cx, client.right) << "\"" << text << "\" is clipped";
        ++labels;
    }
    EXPECT_GT(labels, 0);
    SelectObject(screen, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
}

constexpr int NumberEdits[] = {IDC_MAIN_FIRST_COUNT, IDC_MAIN_LAST_COUNT, IDC_MAIN_RANGE_MIN,
                               IDC_MAIN_RANGE_MAX,   IDC_MAIN_FILE_COUNT, IDC_MAIN_HANDS_PER_FILE_COUNT};

bool isReadOnly(HWND dialog, int id) {
    return (GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & ES_READONLY) != 0;
}

// The edits a radio button opens: every other number edit of its set is shut. No edit is ever disabled as a
// window, so each can still take the focus.
void expectOpenEdits(HWND main, std::initializer_list<int> open) {
    for (const int edit : NumberEdits) {
        EXPECT_EQ(isReadOnly(main, edit), std::ranges::find(open, edit) == open.end()) << "edit " << edit;
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main, edit))) << "edit " << edit;
    }
}

void expectChecks(HWND main, std::initializer_list<int> on, std::initializer_list<int> off) {
    for (const int id : on)
        EXPECT_TRUE(isChecked(main, id)) << "button " << id;
    for (const int id : off)
        EXPECT_FALSE(isChecked(main, id)) << "button " << id;
}

// Clicks a radio button or check box and waits until the program has handled the click.
void choose(HWND main, int id, bool on = true) {
    click(main, id);
    EXPECT_TRUE(waitFor([&] { return isChecked(main, id) == on; })) << "button " << id;
    send(main, WM_NULL);  // the click's command has reached the window once this is answered
}

// A started copy of the program and its main window.
struct Program {
    Program() : job(CreateJobObjectA(nullptr, nullptr)) {
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
    ~Program() {
        if (started) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        CloseHandle(job);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    HWND start() {
        main = started ? waitForDialog("Velmora Converter") : nullptr;
        if (main == nullptr) ADD_FAILURE() << "no main window (exit code " << waitForExit() << ")";
        return main;
    }

    // The program's visible top-level dialogs, topmost first.
    std::vector<HWND> dialogs() const {
        std::vector<HWND> found;
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", nullptr)) != nullptr;) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == process.dwProcessId && IsWindowVisible(w)) found.push_back(w);
        }
        return found;
    }

    // A visible dialog of the program that is none of `known`, with the caption if given; null if none came.
    HWND waitForNewDialog(const std::vector<HWND>& known, int timeout = 20000,
                          const std::string& caption = "") const {
        HWND found = nullptr;
        waitFor(
            [&] {
                for (const HWND w : dialogs())
                    if (std::ranges::find(known, w) == known.end() &&
                        (caption.empty() || windowText(w) == caption))
                        return (found = w) != nullptr;
                return false;
            },
            timeout);
        return found;
    }

    HWND waitForDialog(const std::string& caption, HWND except = nullptr, int timeout = 20000) const {
        return waitForNewDialog({except}, timeout, caption);
    }

    DWORD waitForExit() const {
        WaitForSingleObject(process.hProcess, 20000);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }

    HWND convert() {
        click(main, IDC_MAIN_CONVERT);
        return waitForNewDialog({main});
    }

    void expectBox(HWND box, const char* caption, const std::string& text, int button = IDOK) {
        ASSERT_NE(box, nullptr) << "no message box for: " << text;
        EXPECT_EQ(windowText(box), caption);
        EXPECT_EQ(itemText(box, MessageText), text);
        EXPECT_EQ(GetWindow(box, GW_OWNER), main);
        answer(box, button);
    }

    // The summary, after the error-log question (answered No) when there are errors; unknown: if it comes.
    std::string finishConversion(std::optional<bool> errors, const char* screenshot = nullptr) {
        HWND box = waitForNewDialog({main}, 60000);
        // The progress dialog is up while the library runs.
        while (box != nullptr && windowText(box).starts_with("Converting")) {
            waitFor([&] { return isHidden(box); }, 600000);
            box = waitForNewDialog({main}, 60000);
        }
        if (box != nullptr && errors.value_or(windowText(box) == "Velmora Converter")) {
            EXPECT_EQ(windowText(box), "Velmora Converter");
            EXPECT_EQ(
                itemText(box, MessageText),
                "Some errors occured during the conversion process.\nWould you like to see the error log?");
            EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
            answer(box, IDNO);
            box = waitForNewDialog({main});
        }
        if (box == nullptr) return "<no summary>";
        EXPECT_EQ(windowText(box), "Conversion Complete");
        EXPECT_EQ(GetWindow(box, GW_OWNER), main);
        const std::string text = itemText(box, MessageText);
        if (screenshot != nullptr) {
            Sleep(300);
            saveShot(box, screenshot);
        }
        answer(box, IDOK);
        EXPECT_TRUE(IsWindowEnabled(main));
        return text;
    }

    void browse(int button, const std::string& path) {
        click(main, button);
        const HWND dialog = waitForNewDialog({main});
        ASSERT_NE(dialog, nullptr) << "no file dialog";
        // The file-name box; the platform's own texts are never looked at.
        ASSERT_TRUE(waitFor([&] { return GetDlgItem(dialog, 0x47c) != nullptr; }));
        setItemText(dialog, 0x47c, path);
        click(dialog, IDOK);
        // A question of the dialog itself (a file that does not exist yet) is answered Yes.
        waitFor([&] {
            if (isHidden(dialog)) return true;
            for (const HWND box : dialogs()) {
                if (box != dialog && box != main && GetDlgItem(box, IDYES) != nullptr) click(box, IDYES);
            }
            return false;
        });
        EXPECT_TRUE(isHidden(dialog));
    }

    HANDLE job;
    PROCESS_INFORMATION process{};
    bool started = false;
    HWND main = nullptr;
};

// The sample log where the program looks for it first, and the histories it must become.
struct SampleLog {
    SampleLog() {
        CreateDirectoryA(product.c_str(), nullptr);
        CreateDirectoryA(folder.c_str(), nullptr);
        CopyFileA(source.c_str(), (folder + "\\GAMES_V3.LOG").c_str(), FALSE);
    }
    ~SampleLog() { removeTree(product); }

    const std::string source = hostPath(NOXI_SOURCE_DIR "/examples/GAMES_V3.LOG");
    const std::string product = specialFolder(CSIDL_APPDATA) + "\\VelmoraPro";
    const std::string folder = product + "\\logs";
};

// Starts where a new user starts: no settings file, the log in the application-data folder.
void startAfresh() {
    removeTree(programFolder() + "VLConverter.cfg");
    removeTree(programFolder() + "errorLog.txt");
    // The histories' times are those of the zone the expected file was written in.
    SetEnvironmentVariableA("TZ", "EST5EDT");
}

TEST(Program, FirstRunChecksChoicesConvertsAndRemembersEverything) {
    const char* largeLog = std::getenv("VLC_LARGE_LOG");
    ASSERT_NE(largeLog, nullptr);
    startAfresh();
    SampleLog sample;
    TempFolder temp;
    const std::string output = temp / "hands.txt";
    const std::string replace = output + " already exists.\nDo you want to replace it?";
    const char* overwrite = "Some files may be overwriten in this operation.\nDo you want to continue?";

    Program program;
    const HWND main = program.start();
    ASSERT_NE(main, nullptr);

    // Defaults of a first start.
    EXPECT_EQ(itemText(main, IDC_MAIN_INPUT_PATH), sample.folder + "\\GAMES_V3.LOG");
    EXPECT_EQ(itemText(main, IDC_MAIN_OUTPUT_PATH), "No file selected");
    EXPECT_TRUE(isReadOnly(main, IDC_MAIN_INPUT_PATH));
    EXPECT_TRUE(isReadOnly(main, IDC_MAIN_OUTPUT_PATH));
    expectChecks(main,
                 {IDC_MAIN_ALL_HANDS, IDC_MAIN_ONE_FILE, IDC_MAIN_FIX_SMALL_BLIND, IDC_MAIN_MAKE_6MAX,
                  IDC_MAIN_REAL_MONEY, IDC_MAIN_MUCK_HANDS},
                 {IDC_MAIN_SAVE_ALL_HOLE});
    for (const int edit : NumberEdits)
        EXPECT_EQ(itemText(main, edit), "") << edit;
    Sleep(500);  // the polling loop paints the window a control at a time
    saveShot(main, "main-window.png");
    expectLabelsWhole(main);

    // The About dialog from the system menu, hidden by OK, Esc and the close box: the same window each time.
    PostMessageA(main, WM_SYSCOMMAND, IDM_MAIN_ABOUT, 0);
    const HWND about = program.waitForDialog("About Velmora Converter");
    ASSERT_NE(about, nullptr);
    Sleep(300);
    saveShot(about, "about-dialog.png");
    expectLabelsWhole(about);
    EXPECT_NE(FindWindowExA(about, nullptr, "Static", "VLConverter Version " VLC_PROJECT_VERSION), nullptr);
    answer(about, IDOK);
    PostMessageA(main, WM_SYSCOMMAND, IDM_MAIN_ABOUT, 0);
    EXPECT_EQ(program.waitForDialog("About Velmora Converter"), about);
    EXPECT_TRUE(waitFor([&] { return GetForegroundWindow() == about; }));
    pressKey(VK_ESCAPE);
    EXPECT_TRUE(waitFor([&] { return isHidden(about); }, 3000)) << "Esc did not hide the About dialog";
    PostMessageA(main, WM_SYSCOMMAND, IDM_MAIN_ABOUT, 0);
    EXPECT_EQ(program.waitForDialog("About Velmora Converter"), about);
    PostMessageA(about, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitFor([&] { return isHidden(about); }));
    EXPECT_TRUE(IsWindow(about));

    // Each invalid choice and its message; nothing is converted.
    setItemText(main, IDC_MAIN_INPUT_PATH, "No file selected");
    program.expectBox(program.convert(), "Error", "You must select a Velmora log file to open.");
    setItemText(main, IDC_MAIN_INPUT_PATH, sample.folder + "\\GAMES_V3.LOG");
    program.expectBox(program.convert(), "Error",
                      "You must select a PartyPoker hand history file to save to.");
    program.browse(IDC_MAIN_BROWSE_OUTPUT, output);
    EXPECT_EQ(itemText(main, IDC_MAIN_OUTPUT_PATH), output);

    choose(main, IDC_MAIN_FIRST_HANDS);
    expectOpenEdits(main, {IDC_MAIN_FIRST_COUNT});
    EXPECT_FALSE(isChecked(main, IDC_MAIN_ALL_HANDS));
    for (const char* value : {"", "0", "abc"}) {
        setItemText(main, IDC_MAIN_FIRST_COUNT, value);
        program.expectBox(program.convert(), "Error", "\"The first <blank> hands\" must be greater than 0.");
    }
    choose(main, IDC_MAIN_LAST_HANDS);
    expectOpenEdits(main, {IDC_MAIN_LAST_COUNT});
    program.expectBox(program.convert(), "Error", "\"The last <blank> hands\" must be greater than 0.");
    // Any two numbers pass for "Hands between".
    choose(main, IDC_MAIN_HANDS_BETWEEN);
    setItemText(main, IDC_MAIN_RANGE_MIN, "50");
    setItemText(main, IDC_MAIN_RANGE_MAX, "10");
    choose(main, IDC_MAIN_SPLIT_FILES);
    expectOpenEdits(main, {IDC_MAIN_RANGE_MIN, IDC_MAIN_RANGE_MAX, IDC_MAIN_FILE_COUNT});
    setItemText(main, IDC_MAIN_FILE_COUNT, "1");
    program.expectBox(program.convert(), "Error",
                      "\"Split the hands between <blank> files\" must be greater than 1.");
    choose(main, IDC_MAIN_HANDS_PER_FILE);
    expectOpenEdits(main, {IDC_MAIN_RANGE_MIN, IDC_MAIN_RANGE_MAX, IDC_MAIN_HANDS_PER_FILE_COUNT});
    setItemText(main, IDC_MAIN_HANDS_PER_FILE_COUNT, "0");
    program.expectBox(program.convert(), "Error", "\"Save <blank> hands per file\" must be greater than 0.");
    EXPECT_EQ(GetFileAttributesA(output.c_str()), INVALID_FILE_ATTRIBUTES);

    // The options of the expected histories. The output file exists: No (the default) starts nothing.
    choose(main, IDC_MAIN_ALL_HANDS);
    choose(main, IDC_MAIN_ONE_FILE);
    expectOpenEdits(main, {});
    choose(main, IDC_MAIN_FIX_SMALL_BLIND, false);
    choose(main, IDC_MAIN_MAKE_6MAX, false);
    choose(main, IDC_MAIN_REAL_MONEY, false);
    writeFile(output, "kept");
    HWND question = program.convert();
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(question, IDNO), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    program.expectBox(question, "Save As", replace, IDNO);
    Sleep(500);
    EXPECT_EQ(program.dialogs(), std::vector<HWND>{main});
    EXPECT_EQ(readFile(output), "kept");

    program.expectBox(program.convert(), "Save As", replace, IDYES);
    EXPECT_EQ(program.finishConversion(true, "summary.png"),
              "36 hands were converted successfully.\n5 hands were skipped due to errors.");
    std::string written = readFile(output),
                expected = readFile(hostPath(NOXI_TEST_DATA "/golden/sample.expected.txt"));
    std::erase(written, '\r');
    std::erase(expected, '\r');
    EXPECT_EQ(written, expected);
    // The error log beside the program, one line per skipped hand, with the platform's line ends.
    const std::string errorLog = readFile(programFolder() + "errorLog.txt");
    EXPECT_TRUE(errorLog.starts_with("ERROR on Line ")) << errorLog;
    EXPECT_EQ(std::count(errorLog.begin(), errorLog.end(), '\n'), 5);
    EXPECT_EQ(std::count(errorLog.begin(), errorLog.end(), '\r'), 5);

    // Split between two files.
    choose(main, IDC_MAIN_SPLIT_FILES);
    setItemText(main, IDC_MAIN_FILE_COUNT, "2");
    program.expectBox(program.convert(), "Save As", overwrite, IDYES);
    EXPECT_EQ(program.finishConversion(true),
              "2 files created.\n36 hands were converted successfully.\n5 hands were skipped due to errors.");

    // A log that is gone: the library's error over the progress dialog, the summary, the last error log kept.
    const std::string missing = temp / "gone.log";
    setItemText(main, IDC_MAIN_INPUT_PATH, missing);
    choose(main, IDC_MAIN_ONE_FILE);
    program.expectBox(program.convert(), "Save As", replace, IDYES);
    const HWND libraryError = program.waitForDialog("Error", main, 60000);
    ASSERT_NE(libraryError, nullptr);
    EXPECT_EQ(itemText(libraryError, MessageText), "File \"" + missing + "\" could not be found.");
    EXPECT_EQ(windowText(GetWindow(libraryError, GW_OWNER)), "Converting gone.log");
    answer(libraryError, IDOK);
    EXPECT_EQ(program.finishConversion(false), "0 hands were converted successfully.");
    EXPECT_EQ(readFile(programFolder() + "errorLog.txt"), errorLog);

    // The input log chosen in the Open dialog; every other choice, then Exit: all of it is saved.
    const std::string inputFolder = temp / "logs";
    CreateDirectoryA(inputFolder.c_str(), nullptr);
    CopyFileA(sample.source.c_str(), (inputFolder + "\\mine.log").c_str(), FALSE);
    program.browse(IDC_MAIN_BROWSE_INPUT, inputFolder + "\\mine.log");
    EXPECT_EQ(itemText(main, IDC_MAIN_INPUT_PATH), inputFolder + "\\mine.log");
    choose(main, IDC_MAIN_LAST_HANDS);
    choose(main, IDC_MAIN_HANDS_PER_FILE);
    const std::vector<std::pair<int, const char*>> numbers = {
        {IDC_MAIN_FIRST_COUNT, "11"}, {IDC_MAIN_LAST_COUNT, "22"}, {IDC_MAIN_RANGE_MIN, "33"},
        {IDC_MAIN_RANGE_MAX, "44"},   {IDC_MAIN_FILE_COUNT, "55"}, {IDC_MAIN_HANDS_PER_FILE_COUNT, "66"}};
    for (const auto& [edit, value] : numbers)
        setItemText(main, edit, value);
    choose(main, IDC_MAIN_SAVE_ALL_HOLE);
    choose(main, IDC_MAIN_MUCK_HANDS, false);
    choose(main, IDC_MAIN_REAL_MONEY);
    click(main, IDC_MAIN_EXIT);
    ASSERT_EQ(program.waitForExit(), 0u);

    const std::vector<std::pair<const char*, std::string>> saved = {
        {"HandRange", "LastHands"}, {"FileSplitting", "HandsPerFile"},
        {"FirstHandsValue", "11"},  {"LastHandsValue", "22"},
        {"MinRangeValue", "33"},    {"MaxRangeValue", "44"},
        {"SplitFilesValue", "55"},  {"HandsPerFileValue", "66"},
        {"FixSmallBlind", "no"},    {"Make6Max", "no"},
        {"RealMoney", "yes"},       {"MuckHands", "no"},
        {"SaveAllHoleCards", "yes"}};
    for (const auto& [key, value] : saved)
        EXPECT_EQ(setting("Options", key), value) << key;
    EXPECT_EQ(setting("Paths", "VelmoraLogFolder"), inputFolder);
    EXPECT_EQ(setting("Paths", "VelmoraLogFile"), "mine.log");
    EXPECT_EQ(setting("Paths", "PartyPokerLogFolder"), temp.path);
    EXPECT_EQ(setting("Paths", "PartyPokerLogFile"), "hands.txt");

    // A restart restores every choice.
    Program restarted;
    const HWND window = restarted.start();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(itemText(window, IDC_MAIN_INPUT_PATH), inputFolder + "\\mine.log");
    EXPECT_EQ(itemText(window, IDC_MAIN_OUTPUT_PATH), output);
    expectChecks(window,
                 {IDC_MAIN_LAST_HANDS, IDC_MAIN_HANDS_PER_FILE, IDC_MAIN_REAL_MONEY, IDC_MAIN_SAVE_ALL_HOLE},
                 {IDC_MAIN_ALL_HANDS, IDC_MAIN_ONE_FILE, IDC_MAIN_FIX_SMALL_BLIND, IDC_MAIN_MAKE_6MAX,
                  IDC_MAIN_MUCK_HANDS});
    expectOpenEdits(window, {IDC_MAIN_LAST_COUNT, IDC_MAIN_HANDS_PER_FILE_COUNT});
    for (const auto& [edit, value] : numbers)
        EXPECT_EQ(itemText(window, edit), value) << edit;

    // A second copy is refused while this one runs, which it does undisturbed.
    {
        Program second;
        const HWND message = second.waitForDialog("VLConverter");
        ASSERT_NE(message, nullptr);
        EXPECT_EQ(itemText(message, MessageText), "ERROR: Could not initialize window.");
        answer(message, IDOK);
        EXPECT_EQ(second.waitForExit(), 0u);
    }

    // A large log cancelled while saved: no input to the main window meanwhile, the file closed properly.
    // The last hands need their count, so every hand is written in the saving step, which then lasts long
    // enough to be cancelled.
    choose(window, IDC_MAIN_LAST_HANDS);
    setItemText(window, IDC_MAIN_LAST_COUNT, std::to_string(LargeLogHands));
    choose(window, IDC_MAIN_ONE_FILE);
    setItemText(window, IDC_MAIN_INPUT_PATH, hostPath(largeLog));
    setItemText(window, IDC_MAIN_OUTPUT_PATH, temp / "large.txt");
    click(window, IDC_MAIN_CONVERT);
    const HWND progress = restarted.waitForDialog("Converting large.log", window);
    ASSERT_NE(progress, nullptr);
    EXPECT_FALSE(IsWindowEnabled(window));
    PostMessageA(window, WM_CLOSE, 0, 0);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_MAIN_CONVERT, 0), 0);
    const HWND bar = GetDlgItem(progress, IDC_PROGRESS_BAR);
    ASSERT_TRUE(waitFor(
        [&] {
            return itemText(progress, IDC_PROGRESS_STATUS) == "Processing hand histories..." &&
                   send(bar, PBM_GETPOS) >= 20;
        },
        120000));
    saveShot(progress, "progress-dialog.png");
    EXPECT_EQ(send(bar, PBM_GETRANGE, FALSE), 100);
    ASSERT_TRUE(
        waitFor([&] { return itemText(progress, IDC_PROGRESS_STATUS) == "Saving hand histories to disk..."; },
                300000));
    EXPECT_TRUE(waitFor([&] { return send(bar, PBM_GETPOS) >= 1; }));
    click(progress, IDCANCEL);
    EXPECT_TRUE(waitFor([&] { return isHidden(progress); }, 60000));
    const std::string summary = restarted.finishConversion(std::nullopt);  // the log may hold damaged lines
    const unsigned long converted = std::strtoul(summary.c_str(), nullptr, 10);
    EXPECT_TRUE(converted > 0 && converted < LargeLogHands) << summary;
    EXPECT_TRUE(summary.find(" hands were converted successfully.") != std::string::npos) << summary;
    EXPECT_TRUE(readFile(temp / "large.txt").ends_with("\r\nTable Closed\r\n"));

    // The close box, and in a third run the Esc key, save the settings as Exit does.
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(restarted.waitForExit(), 0u);
    EXPECT_EQ(setting("Options", "HandRange"), "LastHands");
    Program third;
    ASSERT_NE(third.start(), nullptr);
    choose(third.main, IDC_MAIN_FIRST_HANDS);
    EXPECT_TRUE(waitFor([&] { return GetForegroundWindow() == third.main; }));
    pressKey(VK_ESCAPE);
    EXPECT_EQ(third.waitForExit(), 0u);
    EXPECT_EQ(setting("Options", "HandRange"), "FirstHands");
}

// The system menu's "Tracker-safe output": while it is on the conversion writes for trackers; the settings
// file keeps it as one more key only while it is on, so a user who turns it off again has the file as it was.
TEST(Program, TrackerSafeOutputFromTheSystemMenu) {
    startAfresh();
    SampleLog sample;
    TempFolder temp;
    const std::string output = temp / "hands.txt";
    const std::string settingsFile = programFolder() + "VLConverter.cfg";
    const char* summary = "36 hands were converted successfully.\n5 hands were skipped due to errors.";
    std::string expected = readFile(hostPath(NOXI_TEST_DATA "/golden/sample.tracker.expected.txt"));
    std::erase(expected, '\r');
    auto written = [&output] {
        std::string text = readFile(output);
        std::erase(text, '\r');
        return text;
    };

    // Never turned on: no key.
    std::string before;
    {
        Program program;
        ASSERT_NE(program.start(), nullptr);
        program.browse(IDC_MAIN_BROWSE_OUTPUT, output);
        click(program.main, IDC_MAIN_EXIT);
        ASSERT_EQ(program.waitForExit(), 0u);
        before = readFile(settingsFile);
        EXPECT_EQ(setting("Options", "TrackerSafeOutput"), "<absent>");
    }

    // Turned on, with the options of a first start: the tracker-safe histories of the sample log.
    {
        Program program;
        const HWND main = program.start();
        ASSERT_NE(main, nullptr);
        PostMessageA(main, WM_SYSCOMMAND, IDM_MAIN_TRACKER_SAFE, 0);
        click(main, IDC_MAIN_CONVERT);
        EXPECT_EQ(program.finishConversion(true), summary);
        EXPECT_EQ(written(), expected);
        click(main, IDC_MAIN_EXIT);
        ASSERT_EQ(program.waitForExit(), 0u);
        EXPECT_EQ(setting("Options", "TrackerSafeOutput"), "yes");
    }

    // A restart keeps it on; turned off again, the settings file is as it was before.
    {
        Program program;
        const HWND main = program.start();
        ASSERT_NE(main, nullptr);
        writeFile(output, "");
        program.expectBox(program.convert(), "Save As",
                          output + " already exists.\nDo you want to replace it?", IDYES);
        EXPECT_EQ(program.finishConversion(true), summary);
        EXPECT_EQ(written(), expected);
        PostMessageA(main, WM_SYSCOMMAND, IDM_MAIN_TRACKER_SAFE, 0);
        click(main, IDC_MAIN_EXIT);
        ASSERT_EQ(program.waitForExit(), 0u);
        EXPECT_EQ(readFile(settingsFile), before);
    }
}

}  // namespace
}  // namespace vlc::testing
