// The program's progress dialog.
#include "windows/ProcessDialog.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "NoxiConverter.h"
#include "TempFolder.h"
#include "resource.h"

namespace vlc {
namespace {

// Counts the texts set on the status and the positions set on the bar.
int texts = 0;
int positions = 0;

LRESULT CALLBACK spy(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_SETTEXT) ++texts;
    if (message == PBM_SETPOS) ++positions;
    return DefSubclassProc(window, message, wParam, lParam);
}

// The dialog as the library's callback drives it; the program's conversions show it with its title and the
// library's error over it, and stopped by Cancel.
TEST(ProcessDialog, CallbackSetsOnlyWhatChangedAndStopsWhenTold) {
    ProcessDialog dialog{GetModuleHandleA(nullptr)};
    ASSERT_TRUE(dialog.describe() && dialog.create(nullptr));
    SetWindowSubclass(GetDlgItem(dialog.hwnd, IDC_PROGRESS_STATUS), spy, 1, 0);
    SetWindowSubclass(GetDlgItem(dialog.hwnd, IDC_PROGRESS_BAR), spy, 1, 0);
    const auto step = [&](int stage, std::string text, int percent) {
        return progressCallback(stage, text.data(), percent, &dialog);
    };
    const auto status = [&] {
        char text[1024] = "";
        GetDlgItemTextA(dialog.hwnd, IDC_PROGRESS_STATUS, text, sizeof text);
        return std::string(text);
    };
    const auto position = [&] {
        return SendDlgItemMessageA(dialog.hwnd, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0);
    };

    // An unknown stage, a missing text or dialog stop the library and change nothing.
    std::string text = "Processing hand histories...";
    EXPECT_FALSE(step(5, text, 10));
    EXPECT_FALSE(step(-1, text, 10));
    EXPECT_FALSE(progressCallback(StageProcessing, nullptr, 10, &dialog));
    EXPECT_FALSE(progressCallback(StageProcessing, text.data(), 10, nullptr));
    const struct {
        int stage;
        const char* text;
        int percent;
        int texts, positions;                                       // counts after the step
    } steps[] = {{StageLoading, "Loading file a.log...", 0, 1, 0},  // the bar starts at 0
                 {StageLoading, "Loading file a.log...", 0, 1, 0},
                 {StageLoading, "Loading file a.log...", 100, 1, 1},
                 {StageProcessing, "Processing hand histories...", 100, 2, 1},
                 {StageProcessing, "Processing hand histories...", 10, 2, 2}};
    for (const auto& s : steps) {
        SCOPED_TRACE(std::string(s.text) + ' ' + std::to_string(s.percent));
        EXPECT_TRUE(step(s.stage, s.text, s.percent));
        EXPECT_EQ(texts, s.texts);
        EXPECT_EQ(positions, s.positions);
        EXPECT_EQ(status(), s.text);
        EXPECT_EQ(position(), s.percent);
    }
    // A text too long for the status is cut, and set once.
    const std::string longText(1500, 'x');
    EXPECT_TRUE(step(StageProcessing, longText, 10));
    EXPECT_TRUE(step(StageProcessing, longText, 10));
    EXPECT_EQ(texts, 3);
    EXPECT_EQ(std::string(dialog.statusText), longText.substr(0, 1023));

    // After Cancel the next callback stops the library and changes nothing; closing clears what was shown.
    SendMessageA(dialog.hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    EXPECT_FALSE(step(StageSaving, "Saving hand histories to disk...", 50));
    EXPECT_FALSE(step(StageTitle, "Converting other.log", 0));
    EXPECT_EQ(texts, 3);
    EXPECT_EQ(positions, 2);
    dialog.close();
    EXPECT_EQ(dialog.lastPosition, 0);
    EXPECT_STREQ(dialog.statusText, "");
}

// Whether the dialog's owner took input when the dialog was shown and when it was hidden.
struct OwnerSeen {
    bool whenShown = true;
    bool whenHidden = false;
} ownerSeen;

LRESULT CALLBACK visibilitySpy(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_SHOWWINDOW) {
        (wParam ? ownerSeen.whenShown : ownerSeen.whenHidden) = IsWindowEnabled(GetWindow(window, GW_OWNER));
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// The owner takes no input while the library runs, and takes it again before the dialog hides: else the
// system skips the disabled owner and activates some other program's window.
TEST(ProcessDialog, OwnerIsDisabledWhileConvertingAndActiveAgainAfterwards) {
    const HWND owner = CreateWindowA("STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                     nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    {
        ProcessDialog dialog{GetModuleHandleA(nullptr)};
        ASSERT_TRUE(dialog.describe() && dialog.create(owner));
        SetWindowSubclass(dialog.hwnd, visibilitySpy, 1, 0);
        const testing::TempFolder temp;
        const std::string output = temp.path + "\\out.txt";
        dialog.runConversion(testing::hostPath(NOXI_TEST_DATA "/golden/example.log").c_str(), output.c_str());
        EXPECT_FALSE(ownerSeen.whenShown);
        EXPECT_TRUE(ownerSeen.whenHidden);
        EXPECT_EQ(GetActiveWindow(), owner);
        EXPECT_EQ(GetTotalHands(), 1u);

        // Messages are looked for at most once a millisecond, but a window destroyed under the library
        // (its owner closed) stops it at the very next callback.
        dialog.stopped = false;
        std::string text = "Saving hand histories to disk...";
        progressCallback(StageSaving, text.data(), 50, &dialog);
        DestroyWindow(dialog.hwnd);
        EXPECT_FALSE(progressCallback(StageSaving, text.data(), 51, &dialog));
    }
    DestroyWindow(owner);
}

}  // namespace
}  // namespace vlc
