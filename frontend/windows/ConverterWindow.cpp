#include "windows/ConverterWindow.h"

#include <commdlg.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdint>
#include <cstring>
#include <span>

#include "common/LogFolders.h"
#include "resource.h"
#include "settings/LogFolder.h"
#include "windows/CommandHelpers.h"
#include "windows/DialogItems.h"

namespace vlc {
namespace {

constexpr const char* DefaultLogFile = common::LogFileName.data();  // a literal: terminated

// An open edit is drawn enabled and takes typing; a shut one is drawn disabled and is read-only. The edit
// itself stays enabled, so it can still take the focus, and it keeps its text.
void setEditOpen(HWND window, int id, bool open) {
    SendDlgItemMessageA(window, id, WM_ENABLE, open ? TRUE : FALSE, 0);
    SendDlgItemMessageA(window, id, EM_SETREADONLY, open ? FALSE : TRUE, 0);
}

// An edit of a radio-button set and the button whose choice opens it.
struct OwnedEdit {
    int edit;
    int button;
};

constexpr int RangeButtons[] = {IDC_MAIN_FIRST_HANDS, IDC_MAIN_LAST_HANDS, IDC_MAIN_HANDS_BETWEEN,
                                IDC_MAIN_ALL_HANDS};
constexpr OwnedEdit RangeEdits[] = {{IDC_MAIN_FIRST_COUNT, IDC_MAIN_FIRST_HANDS},
                                    {IDC_MAIN_LAST_COUNT, IDC_MAIN_LAST_HANDS},
                                    {IDC_MAIN_RANGE_MIN, IDC_MAIN_HANDS_BETWEEN},
                                    {IDC_MAIN_RANGE_MAX, IDC_MAIN_HANDS_BETWEEN}};
constexpr int SplitButtons[] = {IDC_MAIN_ONE_FILE, IDC_MAIN_SPLIT_FILES, IDC_MAIN_HANDS_PER_FILE};
constexpr OwnedEdit SplitEdits[] = {{IDC_MAIN_FILE_COUNT, IDC_MAIN_SPLIT_FILES},
                                    {IDC_MAIN_HANDS_PER_FILE_COUNT, IDC_MAIN_HANDS_PER_FILE}};

// One choice of a set of radio buttons: opens the edits that belong to it and shuts the set's others, then
// turns off every other button of the set (the clicked one has turned itself on).
void choose(HWND window, int chosen, std::span<const int> buttons, std::span<const OwnedEdit> edits) {
    for (const OwnedEdit& owned : edits)
        setEditOpen(window, owned.edit, owned.button == chosen);
    for (const int button : buttons) {
        if (button != chosen) setChecked(window, button, false);
    }
}

void desktopFolder(char* folder) {
    if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_DESKTOP, FALSE)) folder[0] = '\0';
}

// The five check boxes with their keys and their values when the key is absent.
struct OptionBox {
    int id;
    const char* key;
    bool byDefault;
};
constexpr OptionBox OptionBoxes[] = {
    {IDC_MAIN_FIX_SMALL_BLIND, FixSmallBlindKey, true},
    {IDC_MAIN_MAKE_6MAX, Make6MaxKey, true},
    {IDC_MAIN_REAL_MONEY, RealMoneyKey, true},
    {IDC_MAIN_MUCK_HANDS, MuckHandsKey, true},
    {IDC_MAIN_SAVE_ALL_HOLE, SaveAllHoleCardsKey, false},
};

// The six number edits with their keys, in the order of writing.
struct NumberEdit {
    int id;
    const char* key;
};
constexpr NumberEdit NumberEdits[] = {
    {IDC_MAIN_FIRST_COUNT, FirstHandsValueKey}, {IDC_MAIN_LAST_COUNT, LastHandsValueKey},
    {IDC_MAIN_RANGE_MIN, MinRangeValueKey},     {IDC_MAIN_RANGE_MAX, MaxRangeValueKey},
    {IDC_MAIN_FILE_COUNT, SplitFilesValueKey},  {IDC_MAIN_HANDS_PER_FILE_COUNT, HandsPerFileValueKey},
};

}  // namespace

ConverterWindow::ConverterWindow(HINSTANCE moduleInstance)
    : DialogWindow(moduleInstance), processDialog(moduleInstance), aboutDialog(moduleInstance) {}

ConverterWindow::~ConverterWindow() {
    close();
}

bool ConverterWindow::describe() {
    setNames("VLConverter", "VLConverter", "VLCONVERTERMUTEX");
    return true;
}

bool ConverterWindow::create() {
    close();
    if (!DialogWindow::create(IDD_MAIN, false, nullptr)) {
        MessageBoxA(nullptr, "ERROR: Could not initialize window.", "VLConverter", MB_ICONERROR | MB_OK);
        return false;
    }
    if (!initControls(hwnd)) return false;
    processDialog.describe();
    aboutDialog.describe();
    if (!processDialog.create(hwnd) || !aboutDialog.create(hwnd)) return false;

    const HMENU menu = GetSystemMenu(hwnd, FALSE);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | (trackerSafe ? MF_CHECKED : MF_UNCHECKED), IDM_MAIN_TRACKER_SAFE,
                "&Tracker-safe output");
    AppendMenuA(menu, MF_STRING, IDM_MAIN_ABOUT, "&About VLConverter...");

    const HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_WINDOW));
    SetClassLongPtrA(hwnd, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
    RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
    return true;
}

bool ConverterWindow::pumpAll() {
    // A dialog's keys (Tab, Enter, Esc) work only on the messages that its own pump takes, and every pump
    // takes whatever message comes next. So each of the three messages of a pass goes to the pump of the
    // window it is meant for; a key typed into the About dialog would otherwise be taken by the progress
    // dialog's pump and lost.
    DialogWindow* const pumps[] = {&processDialog, &aboutDialog, this};
    for (DialogWindow* const pump : pumps) {
        MSG next;
        if (!PeekMessageA(&next, nullptr, 0, 0, PM_NOREMOVE)) break;
        ownerOf(next.hwnd, pump)->pumpMessage();
    }
    return isOpen();
}

DialogWindow* ConverterWindow::ownerOf(HWND window, DialogWindow* fallback) {
    const HWND root = window == nullptr ? nullptr : GetAncestor(window, GA_ROOT);
    for (DialogWindow* const dialog :
         {static_cast<DialogWindow*>(&processDialog), static_cast<DialogWindow*>(&aboutDialog),
          static_cast<DialogWindow*>(this)}) {
        if (root != nullptr && root == dialog->hwnd && dialog->isOpen()) return dialog;
    }
    // Messages of other windows, or of none, go to the pump whose turn it is; the main window's pump takes
    // them once the dialogs are gone.
    return fallback->isOpen() ? fallback : this;
}

INT_PTR ConverterWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND && wParam == IDM_MAIN_ABOUT) {
        aboutDialog.show();
        return TRUE;
    }
    if (message == WM_SYSCOMMAND && wParam == IDM_MAIN_TRACKER_SAFE) {
        trackerSafe = !trackerSafe;
        CheckMenuItem(GetSystemMenu(window, FALSE), IDM_MAIN_TRACKER_SAFE,
                      MF_BYCOMMAND | (trackerSafe ? MF_CHECKED : MF_UNCHECKED));
        return TRUE;
    }
    if (message != WM_COMMAND || HIWORD(wParam) != 0) {
        return DialogWindow::windowProc(window, message, wParam, lParam);
    }
    switch (LOWORD(wParam)) {
        case IDC_MAIN_CONVERT:
            onConvert(window);
            break;
        case IDC_MAIN_ALL_HANDS:
            onAllHands(window);
            break;
        case IDC_MAIN_FIRST_HANDS:
            onFirstHands(window);
            break;
        case IDC_MAIN_LAST_HANDS:
            onLastHands(window);
            break;
        case IDC_MAIN_HANDS_BETWEEN:
            onHandsBetween(window);
            break;
        case IDC_MAIN_BROWSE_INPUT:
            onBrowseInput(window);
            break;
        case IDC_MAIN_BROWSE_OUTPUT:
            onBrowseOutput(window);
            break;
        case IDC_MAIN_EXIT:
        case IDCANCEL:
            onExit(window);
            break;
        case IDC_MAIN_ONE_FILE:
            onOneBigFile(window);
            break;
        case IDC_MAIN_SPLIT_FILES:
            onSplitFiles(window);
            break;
        case IDC_MAIN_HANDS_PER_FILE:
            onHandsPerFile(window);
            break;
        default:
            break;
    }
    return TRUE;
}

bool ConverterWindow::initControls(HWND window) {
    char program[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    // A path cut at the buffer's end is no path to build on.
    if (length == 0 || length >= MAX_PATH) return false;
    settings.path = settingsPathFor(program);
    if (!settings.path) return false;

    if (!settings.readString(PathsSection, VelmoraLogFolderKey, logFolder, PathReadSize)) {
        findLogFolder(logFolder, sizeof logFolder);
    }
    if (!settings.readString(PathsSection, VelmoraLogFileKey, logFile, PathReadSize)) {
        lstrcpynA(logFile, DefaultLogFile, sizeof logFile);
    }
    SetDlgItemTextA(window, IDC_MAIN_INPUT_PATH,
                    fileExistsIn(logFolder, logFile) ? joinPath(logFolder, logFile).c_str() : NoFileSelected);

    bool outputShown = false;
    if (settings.readString(PathsSection, PartyPokerLogFolderKey, outputFolder, PathReadSize)) {
        outputShown = PathIsDirectoryA(outputFolder) != FALSE;
    } else {
        desktopFolder(outputFolder);
    }
    if (!settings.readString(PathsSection, PartyPokerLogFileKey, outputFile, PathReadSize)) {
        outputFile[0] = '\0';
        outputShown = false;
    }
    SetDlgItemTextA(window, IDC_MAIN_OUTPUT_PATH,
                    outputShown ? joinPath(outputFolder, outputFile).c_str() : NoFileSelected);

    for (const OptionBox& box : OptionBoxes) {
        bool on = box.byDefault;
        settings.readBool(OptionsSection, box.key, on);
        setChecked(window, box.id, on);
    }
    trackerSafe = false;
    settings.readBool(OptionsSection, TrackerSafeOutputKey, trackerSafe);

    SendDlgItemMessageA(window, IDC_MAIN_INPUT_PATH, EM_SETREADONLY, TRUE, 0);
    SendDlgItemMessageA(window, IDC_MAIN_OUTPUT_PATH, EM_SETREADONLY, TRUE, 0);

    switch (settings.readHandRange()) {
        case HandRange::FirstHands:
            setChecked(window, IDC_MAIN_FIRST_HANDS, true);
            onFirstHands(window);
            break;
        case HandRange::LastHands:
            setChecked(window, IDC_MAIN_LAST_HANDS, true);
            onLastHands(window);
            break;
        case HandRange::RangeHands:
            setChecked(window, IDC_MAIN_HANDS_BETWEEN, true);
            onHandsBetween(window);
            break;
        case HandRange::AllHands:
            setChecked(window, IDC_MAIN_ALL_HANDS, true);
            onAllHands(window);
            break;
    }
    switch (settings.readFileSplitting()) {
        case FileSplitting::SplitFiles:
            setChecked(window, IDC_MAIN_SPLIT_FILES, true);
            onSplitFiles(window);
            break;
        case FileSplitting::HandsPerFile:
            setChecked(window, IDC_MAIN_HANDS_PER_FILE, true);
            onHandsPerFile(window);
            break;
        case FileSplitting::OneBigFile:
            setChecked(window, IDC_MAIN_ONE_FILE, true);
            onOneBigFile(window);
            break;
    }

    for (const NumberEdit& edit : NumberEdits) {
        std::int32_t value = 0;
        if (settings.readInt(OptionsSection, edit.key, value) && value > 0) {
            SetDlgItemTextA(window, edit.id, std::to_string(value).c_str());
        }
    }
    return true;
}

void ConverterWindow::onAllHands(HWND window) {
    choose(window, IDC_MAIN_ALL_HANDS, RangeButtons, RangeEdits);
}

void ConverterWindow::onFirstHands(HWND window) {
    choose(window, IDC_MAIN_FIRST_HANDS, RangeButtons, RangeEdits);
}

void ConverterWindow::onLastHands(HWND window) {
    choose(window, IDC_MAIN_LAST_HANDS, RangeButtons, RangeEdits);
}

void ConverterWindow::onHandsBetween(HWND window) {
    choose(window, IDC_MAIN_HANDS_BETWEEN, RangeButtons, RangeEdits);
}

void ConverterWindow::onOneBigFile(HWND window) {
    choose(window, IDC_MAIN_ONE_FILE, SplitButtons, SplitEdits);
}

void ConverterWindow::onSplitFiles(HWND window) {
    choose(window, IDC_MAIN_SPLIT_FILES, SplitButtons, SplitEdits);
}

void ConverterWindow::onHandsPerFile(HWND window) {
    choose(window, IDC_MAIN_HANDS_PER_FILE, SplitButtons, SplitEdits);
}

void ConverterWindow::onBrowseInput(HWND window) {
    char fileName[MAX_PATH + 1];
    if (logFile[0] == '\0' || !fileExistsIn(logFolder, logFile)) {
        lstrcpynA(logFile, DefaultLogFile, sizeof logFile);
        if (!fileExistsIn(logFolder, logFile)) logFile[0] = '\0';
    }
    if (!PathIsDirectoryA(logFolder)) findLogFolder(logFolder, sizeof logFolder);
    lstrcpynA(fileName, logFile, sizeof fileName);

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = nullptr;
    dialog.lpstrFilter = "Log File (*.log)\0*.log\0";
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = logFolder;
    dialog.Flags = OFN_FILEMUSTEXIST;
    dialog.lpstrDefExt = "log";
    if (!GetOpenFileNameA(&dialog)) return;
    SetDlgItemTextA(window, IDC_MAIN_INPUT_PATH, fileName);
    splitChosenPath(fileName, logFolder, sizeof logFolder, logFile, sizeof logFile);
}

void ConverterWindow::onBrowseOutput(HWND window) {
    char fileName[MAX_PATH + 1];
    if (!PathIsDirectoryA(outputFolder)) desktopFolder(outputFolder);
    lstrcpynA(fileName, outputFile, sizeof fileName);

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = nullptr;
    dialog.lpstrFilter = "Text Document (*.txt)\0*.txt\0";
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = outputFolder;
    // Overwriting is confirmed by the Convert command, not here.
    dialog.Flags = OFN_CREATEPROMPT;
    dialog.lpstrDefExt = "txt";
    if (!GetSaveFileNameA(&dialog)) return;
    SetDlgItemTextA(window, IDC_MAIN_OUTPUT_PATH, fileName);
    splitChosenPath(fileName, outputFolder, sizeof outputFolder, outputFile, sizeof outputFile);
}

void ConverterWindow::onExit(HWND window) {
    // Not under a running conversion: the library would go on writing for a window that is gone.
    if (converting) return;
    saveSettings(window);
    close();
}

void ConverterWindow::saveSettings(HWND window) {
    HandRange range = HandRange::AllHands;
    if (isChecked(window, IDC_MAIN_FIRST_HANDS)) {
        range = HandRange::FirstHands;
    } else if (isChecked(window, IDC_MAIN_LAST_HANDS)) {
        range = HandRange::LastHands;
    } else if (isChecked(window, IDC_MAIN_HANDS_BETWEEN)) {
        range = HandRange::RangeHands;
    }
    settings.writeString(OptionsSection, HandRangeKey, handRangeWord(range));

    FileSplitting splitting = FileSplitting::OneBigFile;
    if (isChecked(window, IDC_MAIN_SPLIT_FILES)) {
        splitting = FileSplitting::SplitFiles;
    } else if (isChecked(window, IDC_MAIN_HANDS_PER_FILE)) {
        splitting = FileSplitting::HandsPerFile;
    }
    settings.writeString(OptionsSection, FileSplittingKey, fileSplittingWord(splitting));

    for (const NumberEdit& edit : NumberEdits) {
        settings.writeInt(OptionsSection, edit.key, editNumber(window, edit.id));
    }
    for (const OptionBox& box : OptionBoxes) {
        settings.writeString(OptionsSection, box.key, isChecked(window, box.id) ? "yes" : "no");
    }
    // Written only while on, so that a user who never turns it on keeps the settings file as it was.
    if (trackerSafe) {
        settings.writeString(OptionsSection, TrackerSafeOutputKey, "yes");
    } else {
        settings.removeKey(OptionsSection, TrackerSafeOutputKey);
    }

    settings.writeString(PathsSection, VelmoraLogFolderKey, logFolder);
    settings.writeString(PathsSection, VelmoraLogFileKey, logFile);
    settings.writeString(PathsSection, PartyPokerLogFolderKey, outputFolder);
    settings.writeString(PathsSection, PartyPokerLogFileKey, outputFile);
}

}  // namespace vlc
