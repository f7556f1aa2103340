// The program's progress and About dialogs.
#include "windows/AboutDialog.h"
#include "windows/ProcessDialog.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "NoxiConverter.h"
#include "ProgramDriver.h"
#include "TempFolder.h"
#include "resource.h"

namespace vlc {
namespace {

// Counts what reaches a control: the texts set on it and the bar positions, by subclassing it.
struct ControlSpy {
    static inline int texts = 0;
    static inline int positions = 0;
    static inline WNDPROC staticProc = nullptr;
    static inline WNDPROC barProc = nullptr;

    static LRESULT CALLBACK onStatic(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SETTEXT) ++texts;
        return CallWindowProcA(staticProc, window, message, wParam, lParam);
    }
    static LRESULT CALLBACK onBar(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == PBM_SETPOS) ++positions;
        return CallWindowProcA(barProc, window, message, wParam, lParam);
    }
    static void attach(HWND dialog) {
        texts = positions = 0;
        staticProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            GetDlgItem(dialog, IDC_PROGRESS_STATUS), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(onStatic)));
        barProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            GetDlgItem(dialog, IDC_PROGRESS_BAR), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(onBar)));
    }
};

class ProcessDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.describe());
        ASSERT_TRUE(dialog.create(nullptr));
        ControlSpy::attach(dialog.hwnd);
    }

    int position() const {
        return static_cast<int>(SendDlgItemMessageA(dialog.hwnd, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0));
    }
    std::string status() const { return testing::itemText(dialog.hwnd, IDC_PROGRESS_STATUS); }
    bool step(int stage, const char* text, int percent) {
        std::string copy = text;
        return progressCallback(stage, copy.data(), percent, &dialog);
    }

    ProcessDialog dialog{GetModuleHandleA(nullptr)};
};

// The dialog as the library's callback drives it; ProgramTest shows it in a conversion, with the library's
// error over it.
TEST_F(ProcessDialogTest, UnchangedTextsAndPositionsAreNotSetAgain) {
    EXPECT_FALSE(IsWindowVisible(dialog.hwnd));
    // The title becomes the caption, and touches neither the status nor the bar.
    EXPECT_TRUE(step(StageTitle, "Converting GAMES_V3.LOG", 0));
    EXPECT_EQ(testing::windowText(dialog.hwnd), "Converting GAMES_V3.LOG");
    const struct {
        int stage;
        const char* text;
        int percent;
        int texts, positions;                                       // counts after the step
    } steps[] = {{StageLoading, "Loading file a.log...", 0, 1, 0},  // the bar starts at 0
                 {StageLoading, "Loading file a.log...", 0, 1, 0},
                 {StageLoading, "Loading file a.log...", 100, 1, 1},
                 {StageProcessing, "Processing hand histories...", 100, 2, 1},
                 {StageProcessing, "Processing hand histories...", 0, 2, 2},
                 {StageProcessing, "Processing hand histories...", 37, 2, 3},
                 {StageSaving, "Saving hand histories to disk...", 37, 3, 3},
                 {StageSaving, "Saving hand histories to disk...", 100, 3, 4}};
    for (const auto& s : steps) {
        EXPECT_TRUE(step(s.stage, s.text, s.percent)) << s.text << ' ' << s.percent;
        EXPECT_EQ(ControlSpy::texts, s.texts) << s.text << ' ' << s.percent;
        EXPECT_EQ(ControlSpy::positions, s.positions) << s.text << ' ' << s.percent;
        EXPECT_EQ(status(), s.text);
        EXPECT_EQ(position(), s.percent);
        EXPECT_EQ(dialog.lastPosition, s.percent);
    }
}

TEST_F(ProcessDialogTest, TextTooLongForTheStatusIsCutAndSetOnce) {
    const std::string longText(1500, 'x');
    EXPECT_TRUE(step(StageProcessing, longText.c_str(), 5));
    EXPECT_TRUE(step(StageProcessing, longText.c_str(), 5));
    EXPECT_EQ(ControlSpy::texts, 1);
    EXPECT_EQ(std::string(dialog.statusText), longText.substr(0, 1023));
}

TEST_F(ProcessDialogTest, CancelStopsAtTheNextCallbackWithoutUpdates) {
    EXPECT_TRUE(step(StageProcessing, "Processing hand histories...", 10));
    SendMessageA(dialog.hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    EXPECT_TRUE(dialog.stopped);
    EXPECT_FALSE(step(StageSaving, "Saving hand histories to disk...", 50));
    EXPECT_FALSE(step(StageTitle, "Converting other.log", 0));
    EXPECT_EQ(status(), "Processing hand histories...");
    EXPECT_EQ(position(), 10);
    EXPECT_EQ(ControlSpy::texts, 1);
    EXPECT_EQ(ControlSpy::positions, 1);
}

TEST_F(ProcessDialogTest, UnknownStageOrMissingTextOrDialogStops) {
    EXPECT_FALSE(step(5, "Processing hand histories...", 10));
    EXPECT_FALSE(step(-1, "Processing hand histories...", 10));
    EXPECT_FALSE(progressCallback(StageProcessing, nullptr, 10, &dialog));
    std::string text = "Processing hand histories...";
    EXPECT_FALSE(progressCallback(StageProcessing, text.data(), 10, nullptr));
    EXPECT_EQ(ControlSpy::texts, 0);
    EXPECT_EQ(ControlSpy::positions, 0);
}

TEST_F(ProcessDialogTest, RunConversionShowsTheDialogWhileTheLibraryRuns) {
    testing::TempFolder temp;
    const std::string output = temp / "out.txt";
    const std::string input = testing::hostPath(NOXI_TEST_DATA "/golden/example.log");
    SetFileSplit(SingleFile, 0);
    SetRangeType(RangeAll);
    dialog.runConversion(input.c_str(), output.c_str());
    EXPECT_FALSE(IsWindowVisible(dialog.hwnd));
    EXPECT_TRUE(dialog.stopped);
    EXPECT_EQ(GetTotalHands(), 1u);
    EXPECT_EQ(testing::windowText(dialog.hwnd), "Converting example.log");
    EXPECT_EQ(status(), "Saving hand histories to disk...");
    EXPECT_EQ(position(), 100);
    EXPECT_TRUE(testing::readFile(output).ends_with("Table Closed\r\n"));

    // The next conversion starts with what this one left, until the library's callbacks replace it.
    EXPECT_EQ(dialog.lastPosition, 100);
    dialog.close();
    EXPECT_EQ(dialog.lastPosition, 0);
    EXPECT_STREQ(dialog.statusText, "");
    EXPECT_TRUE(dialog.closed);
}

// OK, Esc and the close box, each hiding the one About window, are worked in ProgramTest.
TEST(AboutDialog, OnlyOkAndCancelHideIt) {
    AboutDialog about(GetModuleHandleA(nullptr));
    ASSERT_TRUE(about.describe());
    ASSERT_TRUE(about.create(nullptr));
    const HWND window = about.hwnd;
    EXPECT_FALSE(IsWindowVisible(window));
    about.show();
    // Other commands, and notifications of OK, leave it up.
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(1033, 0), 0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, 1), 0);
    EXPECT_TRUE(IsWindowVisible(window));
    for (const int command : {IDOK, IDCANCEL}) {
        about.show();
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        EXPECT_FALSE(IsWindowVisible(window));
        EXPECT_EQ(about.hwnd, window);
        EXPECT_FALSE(about.closed);
    }
}

}  // namespace
}  // namespace vlc
