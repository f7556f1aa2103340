// The Convert command of the main window.
#include "windows/ConverterWindow.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "NoxiConverter.h"
#include "common/Choices.h"
#include "common/LogFolders.h"
#include "common/Summary.h"
#include "resource.h"
#include "windows/CommandHelpers.h"
#include "windows/DialogItems.h"

namespace vlc {
namespace {

void showError(HWND window, const char* text) {
    MessageBoxA(window, text, "Error", MB_ICONERROR | MB_OK);
}

// Writes text to a new file at path in text mode (line feeds become the platform's line ends); true when
// the whole text was written and the file closed.
bool writeTextFile(const std::string& path, const char* text) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) return false;
    const bool written = std::fputs(text, file) >= 0;
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

std::optional<std::string> errorLogPath() {
    char program[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::nullopt;
    return besideProgram(program, common::ErrorLogFileName.data());
}

}  // namespace

void ConverterWindow::onConvert(HWND window) {
    // The library serves one conversion at a time.
    if (converting) return;
    char input[MAX_PATH] = "";
    char output[MAX_PATH] = "";
    GetDlgItemTextA(window, IDC_MAIN_INPUT_PATH, input, sizeof input);
    GetDlgItemTextA(window, IDC_MAIN_OUTPUT_PATH, output, sizeof output);
    if (std::strcmp(input, NoFileSelected) == 0) {
        showError(window, "You must select a Velmora log file to open.");
        return;
    }
    if (std::strcmp(output, NoFileSelected) == 0) {
        showError(window, "You must select a PartyPoker hand history file to save to.");
        return;
    }

    // A count is checked, with its own message, once its range or split mode is the one chosen.
    const auto refused = [window](common::Count count, std::int32_t value) {
        const char* error = common::countError(count, value);
        if (error != nullptr) showError(window, error);
        return error != nullptr;
    };
    std::int32_t from = 0;
    std::int32_t to = 0;
    if (isChecked(window, IDC_MAIN_FIRST_HANDS)) {
        SetRangeType(RangeFirst);
        from = editNumber(window, IDC_MAIN_FIRST_COUNT);
        if (refused(common::Count::FirstHands, from)) return;
    } else if (isChecked(window, IDC_MAIN_LAST_HANDS)) {
        SetRangeType(RangeLast);
        from = editNumber(window, IDC_MAIN_LAST_COUNT);
        if (refused(common::Count::LastHands, from)) return;
    } else if (isChecked(window, IDC_MAIN_HANDS_BETWEEN)) {
        // Any two numbers, in any order: the library selects what lies between them.
        SetRangeType(RangeBetween);
        from = editNumber(window, IDC_MAIN_RANGE_MIN);
        to = editNumber(window, IDC_MAIN_RANGE_MAX);
    } else {
        SetRangeType(RangeAll);
    }
    SetRangeValues(static_cast<unsigned long>(from), static_cast<unsigned long>(to));

    // The tracker-safe flag travels in the split mode's byte.
    const auto flag = static_cast<unsigned char>(trackerSafe ? TrackerSafeOutput : 0);
    bool singleFile = false;
    if (isChecked(window, IDC_MAIN_SPLIT_FILES)) {
        const std::int32_t files = editNumber(window, IDC_MAIN_FILE_COUNT);
        if (refused(common::Count::SplitFiles, files)) return;
        SetFileSplit(static_cast<unsigned char>(SplitByFileCount | flag), static_cast<unsigned long>(files));
    } else if (isChecked(window, IDC_MAIN_HANDS_PER_FILE)) {
        const std::int32_t hands = editNumber(window, IDC_MAIN_HANDS_PER_FILE_COUNT);
        if (refused(common::Count::HandsPerFile, hands)) return;
        SetFileSplit(static_cast<unsigned char>(SplitByHandsPerFile | flag),
                     static_cast<unsigned long>(hands));
    } else {
        SetFileSplit(static_cast<unsigned char>(SingleFile | flag), 0);
        singleFile = true;
    }

    if (PathFileExistsA(output)) {
        std::string question;
        if (singleFile) {
            question = std::string(output) + " already exists.\nDo you want to replace it?";
        } else {
            question = "Some files may be overwriten in this operation.\nDo you want to continue?";
        }
        if (MessageBoxA(window, question.c_str(), "Save As", MB_ICONWARNING | MB_YESNO | MB_DEFBUTTON2) !=
            IDYES) {
            return;
        }
    }

    SetFixSmallBlind(isChecked(window, IDC_MAIN_FIX_SMALL_BLIND));
    SetMake6Max(isChecked(window, IDC_MAIN_MAKE_6MAX));
    SetRealMoney(isChecked(window, IDC_MAIN_REAL_MONEY));
    SetMuckHands(isChecked(window, IDC_MAIN_MUCK_HANDS));
    SetSaveAllHole(isChecked(window, IDC_MAIN_SAVE_ALL_HOLE));

    // The progress dialog disables this window while the library runs; its Cancel still works. A close or a
    // Convert already waiting in the queue is refused meanwhile.
    converting = true;
    processDialog.runConversion(input, output);
    converting = false;

    const char* errorLog = GetErrorLog();
    if (errorLog != nullptr && errorLog[0] != '\0') {
        const std::optional<std::string> path = errorLogPath();
        if (path && writeTextFile(*path, errorLog) &&
            MessageBoxA(
                window,
                "Some errors occured during the conversion process.\nWould you like to see the error log?",
                "Velmora Converter", MB_ICONWARNING | MB_YESNO) == IDYES) {
            ShellExecuteA(nullptr, "Open", path->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        }
    }

    const std::string summary =
        common::conversionSummary(singleFile, GetNumFiles(), GetTotalHands(), GetNumBadHands());
    MessageBoxA(window, summary.c_str(), "Conversion Complete", MB_ICONINFORMATION | MB_OK);
}

}  // namespace vlc
