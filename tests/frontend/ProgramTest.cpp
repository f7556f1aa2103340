// VLConverter.exe as a user meets it, driven from outside as another program would. Each case starts the
// program as few times as it can: every start under Wine costs time.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ProgramDriver.h"
#include "Screenshot.h"
#include "TempFolder.h"
#include "resource.h"

namespace vlc::testing {
namespace {

std::string withoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

std::string settingsPath() {
    return programFolder() + "VLConverter.cfg";
}

std::string setting(const char* section, const char* key) {
    char value[300] = "";
    const std::string path = settingsPath();
    GetPrivateProfileStringA(section, key, "<absent>", value, sizeof value, path.c_str());
    return value;
}

void saveShot(HWND window, const char* name) {
    const std::string folder = hostPath(VLC_SCREENSHOT_FOLDER);
    CreateDirectoryA(folder.c_str(), nullptr);
    EXPECT_TRUE(saveScreenshot(window, folder + "\\" + name)) << name;
}

bool isReadOnly(HWND dialog, int id) {
    return (GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & ES_READONLY) != 0;
}

constexpr int NumberEdits[] = {IDC_MAIN_FIRST_COUNT, IDC_MAIN_LAST_COUNT, IDC_MAIN_RANGE_MIN,
                               IDC_MAIN_RANGE_MAX,   IDC_MAIN_FILE_COUNT, IDC_MAIN_HANDS_PER_FILE_COUNT};

// The edits a radio button opens: every other number edit of its set is shut. No edit is ever disabled as a
// window, so each can still take the focus.
void expectOpenEdits(HWND main, std::initializer_list<int> open) {
    for (const int edit : NumberEdits) {
        const bool shouldOpen = std::find(open.begin(), open.end(), edit) != open.end();
        EXPECT_EQ(isReadOnly(main, edit), !shouldOpen) << "edit " << edit;
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
struct Session {
    HWND start() {
        main = program.started ? program.waitForDialog("Velmora Converter") : nullptr;
        if (main == nullptr) ADD_FAILURE() << "no main window (exit code " << program.waitForExit() << ")";
        return main;
    }

    // Runs the Convert command and returns the message box that answers it, null if none came.
    HWND convert() {
        click(main, IDC_MAIN_CONVERT);
        return program.waitForNewDialog({main});
    }

    // Clicks a button of a message box and waits until the box is gone.
    static void answer(HWND box, int button) {
        click(box, button);
        EXPECT_TRUE(waitFor([&] { return isHidden(box); }));
    }

    // Checks a message box of the Convert command by caption and text, then answers it.
    void expectBox(HWND box, const char* caption, const std::string& text, int button = IDOK) {
        ASSERT_NE(box, nullptr) << "no message box for: " << text;
        EXPECT_EQ(windowText(box), caption);
        EXPECT_EQ(messageText(box), text);
        EXPECT_EQ(GetWindow(box, GW_OWNER), main);
        answer(box, button);
    }

    // The summary after a conversion, after the error-log question (answered No) when the log holds errors.
    std::string finishConversion(bool errorsExpected, const char* screenshot = nullptr) {
        HWND box = program.waitForNewDialog({main}, 60000);
        if (box == nullptr) return "<no summary>";
        // The progress dialog is up while the library runs.
        while (box != nullptr && windowText(box).starts_with("Converting")) {
            waitFor([&] { return isHidden(box); }, 600000);
            box = program.waitForNewDialog({main}, 60000);
        }
        if (box == nullptr) return "<no summary>";
        if (errorsExpected) {
            EXPECT_EQ(windowText(box), "Velmora Converter");
            EXPECT_EQ(
                messageText(box),
                "Some errors occured during the conversion process.\nWould you like to see the error log?");
            EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
            answer(box, IDNO);
            box = program.waitForNewDialog({main});
            if (box == nullptr) return "<no summary>";
        }
        EXPECT_EQ(windowText(box), "Conversion Complete");
        EXPECT_EQ(GetWindow(box, GW_OWNER), main);
        const std::string text = messageText(box);
        if (screenshot != nullptr) {
            Sleep(300);
            saveShot(box, screenshot);
        }
        answer(box, IDOK);
        EXPECT_TRUE(IsWindowEnabled(main));
        return text;
    }

    // Picks a file in the Open or Save dialog that the Browse button opens.
    void browse(int button, const std::string& path) {
        click(main, button);
        const HWND dialog = program.waitForNewDialog({main});
        ASSERT_NE(dialog, nullptr) << "no file dialog";
        // The file-name box; the platform's own texts are never looked at.
        ASSERT_TRUE(waitFor([&] { return GetDlgItem(dialog, 0x47c) != nullptr; }));
        setItemText(dialog, 0x47c, path);
        click(dialog, IDOK);
        // A question of the dialog itself (a file that does not exist yet) is answered Yes.
        waitFor([&] {
            if (isHidden(dialog)) return true;
            for (const HWND box : program.dialogs()) {
                if (box != dialog && box != main && GetDlgItem(box, IDYES) != nullptr) click(box, IDYES);
            }
            return false;
        });
        EXPECT_TRUE(isHidden(dialog));
    }

    RunningProgram program;
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
    SampleLog(const SampleLog&) = delete;
    SampleLog& operator=(const SampleLog&) = delete;

    const std::string source = hostPath(NOXI_SOURCE_DIR "/examples/GAMES_V3.LOG");
    const std::string product = specialFolder(CSIDL_APPDATA) + "\\VelmoraPro";
    const std::string folder = product + "\\logs";
};

// Starts where a new user starts: no settings file, the log in the application-data folder.
void startAfresh() {
    removeTree(settingsPath());
    removeTree(programFolder() + "errorLog.txt");
    // The histories' times are those of the zone the expected file was written in.
    SetEnvironmentVariableA("TZ", "EST5EDT");
}

TEST(Program, FirstRunChecksChoicesConvertsAndRemembersEverything) {
    startAfresh();
    SampleLog sample;
    TempFolder temp;
    const std::string output = temp / "hands.txt";
    const std::string replace = output + " already exists.\nDo you want to replace it?";
    const char* overwrite = "Some files may be overwriten in this operation.\nDo you want to continue?";

    Session session;
    RunningProgram& program = session.program;
    const HWND main = session.start();
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
    expectOpenEdits(main, {});
    Sleep(500);  // the polling loop paints the window a control at a time
    saveShot(main, "main-window.png");

    // The About dialog from the system menu, twice: the same window each time.
    PostMessageA(main, WM_SYSCOMMAND, IDM_MAIN_ABOUT, 0);
    const HWND about = program.waitForDialog("About Velmora Converter");
    ASSERT_NE(about, nullptr);
    Sleep(300);
    saveShot(about, "about-dialog.png");
    Session::answer(about, IDOK);
    PostMessageA(main, WM_SYSCOMMAND, IDM_MAIN_ABOUT, 0);
    EXPECT_EQ(program.waitForDialog("About Velmora Converter"), about);
    // The Esc key, typed as a user types it.
    EXPECT_TRUE(waitFor([&] { return GetForegroundWindow() == about; }));
    pressKey(VK_ESCAPE);
    EXPECT_TRUE(waitFor([&] { return isHidden(about); }, 3000)) << "Esc did not hide the About dialog";
    PostMessageA(main, WM_SYSCOMMAND, IDM_MAIN_ABOUT, 0);
    EXPECT_EQ(program.waitForDialog("About Velmora Converter"), about);
    PostMessageA(about, WM_CLOSE, 0, 0);  // the close box
    EXPECT_TRUE(waitFor([&] { return isHidden(about); }));
    EXPECT_TRUE(IsWindow(about));
    EXPECT_TRUE(IsWindowVisible(main));

    // Each invalid choice and its message; nothing is converted.
    setItemText(main, IDC_MAIN_INPUT_PATH, "No file selected");
    session.expectBox(session.convert(), "Error", "You must select a Velmora log file to open.");
    setItemText(main, IDC_MAIN_INPUT_PATH, sample.folder + "\\GAMES_V3.LOG");
    session.expectBox(session.convert(), "Error",
                      "You must select a PartyPoker hand history file to save to.");
    session.browse(IDC_MAIN_BROWSE_OUTPUT, output);
    EXPECT_EQ(itemText(main, IDC_MAIN_OUTPUT_PATH), output);

    choose(main, IDC_MAIN_FIRST_HANDS);
    expectOpenEdits(main, {IDC_MAIN_FIRST_COUNT});
    EXPECT_FALSE(isChecked(main, IDC_MAIN_ALL_HANDS));
    for (const char* value : {"", "0", "abc", "-3"}) {
        setItemText(main, IDC_MAIN_FIRST_COUNT, value);
        session.expectBox(session.convert(), "Error", "\"The first <blank> hands\" must be greater than 0.");
    }
    choose(main, IDC_MAIN_LAST_HANDS);
    expectOpenEdits(main, {IDC_MAIN_LAST_COUNT});
    session.expectBox(session.convert(), "Error", "\"The last <blank> hands\" must be greater than 0.");
    // Any two numbers pass for "Hands between"; the splitting is checked next.
    choose(main, IDC_MAIN_HANDS_BETWEEN);
    expectOpenEdits(main, {IDC_MAIN_RANGE_MIN, IDC_MAIN_RANGE_MAX});
    setItemText(main, IDC_MAIN_RANGE_MIN, "50");
    setItemText(main, IDC_MAIN_RANGE_MAX, "10");
    choose(main, IDC_MAIN_SPLIT_FILES);
    expectOpenEdits(main, {IDC_MAIN_RANGE_MIN, IDC_MAIN_RANGE_MAX, IDC_MAIN_FILE_COUNT});
    EXPECT_TRUE(isChecked(main, IDC_MAIN_HANDS_BETWEEN));
    setItemText(main, IDC_MAIN_FILE_COUNT, "1");
    session.expectBox(session.convert(), "Error",
                      "\"Split the hands between <blank> files\" must be greater than 1.");
    choose(main, IDC_MAIN_HANDS_PER_FILE);
    expectOpenEdits(main, {IDC_MAIN_RANGE_MIN, IDC_MAIN_RANGE_MAX, IDC_MAIN_HANDS_PER_FILE_COUNT});
    setItemText(main, IDC_MAIN_HANDS_PER_FILE_COUNT, "0");
    session.expectBox(session.convert(), "Error", "\"Save <blank> hands per file\" must be greater than 0.");
    EXPECT_EQ(GetFileAttributesA(output.c_str()), INVALID_FILE_ATTRIBUTES);

    // All hands in one big file, with the options of the expected histories.
    choose(main, IDC_MAIN_ALL_HANDS);
    choose(main, IDC_MAIN_ONE_FILE);
    expectOpenEdits(main, {});
    choose(main, IDC_MAIN_FIX_SMALL_BLIND, false);
    choose(main, IDC_MAIN_MAKE_6MAX, false);
    choose(main, IDC_MAIN_REAL_MONEY, false);

    // The output file exists: No starts nothing, Yes converts.
    writeFile(output, "kept");
    HWND question = session.convert();
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(question, IDNO), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    session.expectBox(question, "Save As", replace, IDNO);
    Sleep(500);
    EXPECT_EQ(program.dialogs(), std::vector<HWND>{main});
    EXPECT_EQ(readFile(output), "kept");

    session.expectBox(session.convert(), "Save As", replace, IDYES);
    const std::string summary = session.finishConversion(true, "summary.png");
    EXPECT_EQ(summary, "36 hands were converted successfully.\n5 hands were skipped due to errors.");
    EXPECT_EQ(withoutCarriageReturns(readFile(output)),
              withoutCarriageReturns(readFile(hostPath(NOXI_TEST_DATA "/golden/sample.expected.txt"))));
    // The error log beside the program, one line per skipped hand, with the platform's line ends.
    const std::string errorLog = readFile(programFolder() + "errorLog.txt");
    EXPECT_TRUE(errorLog.starts_with("ERROR on Line ")) << errorLog;
    EXPECT_EQ(std::count(errorLog.begin(), errorLog.end(), '\n'), 5);
    EXPECT_EQ(std::count(errorLog.begin(), errorLog.end(), '\r'), 5);

    // Split between two files: the question for split modes, and the count of files.
    choose(main, IDC_MAIN_SPLIT_FILES);
    setItemText(main, IDC_MAIN_FILE_COUNT, "2");
    session.expectBox(session.convert(), "Save As", overwrite, IDYES);
    EXPECT_EQ(session.finishConversion(true),
              "2 files created.\n36 hands were converted successfully.\n5 hands were skipped due to errors.");
    for (const char* name : {"hands1.txt", "hands2.txt"}) {
        EXPECT_TRUE(readFile(temp / name).ends_with("Table Closed\r\n")) << name;
    }

    // The singular forms: the first hand only, five hands per file.
    choose(main, IDC_MAIN_FIRST_HANDS);
    setItemText(main, IDC_MAIN_FIRST_COUNT, "1");
    choose(main, IDC_MAIN_HANDS_PER_FILE);
    setItemText(main, IDC_MAIN_HANDS_PER_FILE_COUNT, "5");
    session.expectBox(session.convert(), "Save As", overwrite, IDYES);
    EXPECT_EQ(session.finishConversion(true),
              "1 file created.\n1 hand was converted successfully.\n5 hands were skipped due to errors.");

    // A log that is gone: the library's error is shown over the progress dialog, the summary follows, and
    // the error log of the last run stays as it was.
    const std::string missing = temp / "gone.log";
    setItemText(main, IDC_MAIN_INPUT_PATH, missing);
    choose(main, IDC_MAIN_ONE_FILE);
    session.expectBox(session.convert(), "Save As", replace, IDYES);
    const HWND libraryError = program.waitForDialog("Error", main, 60000);
    ASSERT_NE(libraryError, nullptr);
    EXPECT_EQ(messageText(libraryError), "File \"" + missing + "\" could not be found.");
    const HWND progressDialog = GetWindow(libraryError, GW_OWNER);
    EXPECT_EQ(windowText(progressDialog), "Converting gone.log");
    Session::answer(libraryError, IDOK);
    EXPECT_EQ(session.finishConversion(false), "0 hands were converted successfully.");
    EXPECT_EQ(readFile(programFolder() + "errorLog.txt"), errorLog);
    choose(main, IDC_MAIN_HANDS_PER_FILE);

    // The input log chosen in the Open dialog, from a folder of its own.
    const std::string inputFolder = temp / "logs";
    CreateDirectoryA(inputFolder.c_str(), nullptr);
    CopyFileA(sample.source.c_str(), (inputFolder + "\\mine.log").c_str(), FALSE);
    session.browse(IDC_MAIN_BROWSE_INPUT, inputFolder + "\\mine.log");
    EXPECT_EQ(itemText(main, IDC_MAIN_INPUT_PATH), inputFolder + "\\mine.log");

    // Every other choice, then Exit: all of it goes into the settings file.
    choose(main, IDC_MAIN_LAST_HANDS);
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
    Session restarted;
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
        RunningProgram second;
        ASSERT_TRUE(second.started);
        const HWND message = second.waitForDialog("VLConverter");
        ASSERT_NE(message, nullptr);
        EXPECT_EQ(messageText(message), "ERROR: Could not initialize window.");
        Session::answer(message, IDOK);
        EXPECT_EQ(second.waitForExit(), 0u);
    }
    EXPECT_TRUE(IsWindowVisible(window));

    // The close box saves the settings as Exit does.
    choose(window, IDC_MAIN_ALL_HANDS);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(restarted.program.waitForExit(), 0u);
    EXPECT_EQ(setting("Options", "HandRange"), "AllHands");
    EXPECT_EQ(setting("Options", "LastHandsValue"), "22");
}

// A conversion stopped with Cancel while the hands are saved: the summary still comes, and the file that was
// being written is closed properly. The main window takes no input meanwhile.
TEST(Program, CancelledConversionOfALargeLog) {
    const char* largeLog = std::getenv("VLC_LARGE_LOG");
    ASSERT_NE(largeLog, nullptr);
    startAfresh();
    TempFolder temp;
    const std::string output = temp / "large.txt";

    Session session;
    RunningProgram& program = session.program;
    const HWND main = session.start();
    ASSERT_NE(main, nullptr);
    setItemText(main, IDC_MAIN_INPUT_PATH, hostPath(largeLog));
    setItemText(main, IDC_MAIN_OUTPUT_PATH, output);

    click(main, IDC_MAIN_CONVERT);
    const HWND progress = program.waitForDialog("Converting large.log", main);
    ASSERT_NE(progress, nullptr);
    EXPECT_FALSE(IsWindowEnabled(main));
    // Neither a second conversion nor the close box reaches the window while the library runs.
    PostMessageA(main, WM_CLOSE, 0, 0);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_MAIN_CONVERT, 0), 0);

    ASSERT_TRUE(waitFor(
        [&] {
            return itemText(progress, IDC_PROGRESS_STATUS) == "Processing hand histories..." &&
                   send(GetDlgItem(progress, IDC_PROGRESS_BAR), PBM_GETPOS) >= 20;
        },
        120000));
    saveShot(progress, "progress-dialog.png");
    ASSERT_TRUE(
        waitFor([&] { return itemText(progress, IDC_PROGRESS_STATUS) == "Saving hand histories to disk..."; },
                300000));
    EXPECT_TRUE(waitFor([&] { return send(GetDlgItem(progress, IDC_PROGRESS_BAR), PBM_GETPOS) >= 1; }));
    click(progress, IDCANCEL);

    EXPECT_TRUE(waitFor([&] { return isHidden(progress); }, 60000));
    HWND box = program.waitForNewDialog({main});
    ASSERT_NE(box, nullptr);
    if (windowText(box) == "Velmora Converter") {  // the generated log may hold damaged lines
        Session::answer(box, IDNO);
        box = program.waitForNewDialog({main});
        ASSERT_NE(box, nullptr);
    }
    EXPECT_EQ(windowText(box), "Conversion Complete");
    const std::string summary = messageText(box);
    const unsigned long converted = std::strtoul(summary.c_str(), nullptr, 10);
    EXPECT_GT(converted, 0u) << summary;
    EXPECT_LT(converted, 200000u) << summary;
    EXPECT_TRUE(summary.find(" hands were converted successfully.") != std::string::npos) << summary;
    Session::answer(box, IDOK);

    const std::string text = readFile(output);
    EXPECT_TRUE(text.ends_with("\r\nTable Closed\r\n"))
        << text.substr(text.size() > 200 ? text.size() - 200 : 0);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_TRUE(IsWindowVisible(main));

    // The Esc key leaves the program as Exit does, settings saved.
    EXPECT_TRUE(waitFor([&] { return GetForegroundWindow() == main; }));
    pressKey(VK_ESCAPE);
    EXPECT_EQ(program.waitForExit(), 0u);
    EXPECT_EQ(setting("Options", "HandRange"), "AllHands");
}

}  // namespace
}  // namespace vlc::testing
