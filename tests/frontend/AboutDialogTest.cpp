#include "windows/AboutDialog.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "resource.h"

namespace vlc {
namespace {

TEST(AboutDialog, ShownAndHiddenAnyNumberOfTimesWithoutBeingBuiltAgain) {
    AboutDialog about(GetModuleHandleA(nullptr));
    ASSERT_TRUE(about.describe());
    EXPECT_EQ(about.mutexName, "VLCABOUTDIALOGMUTEX");
    ASSERT_TRUE(about.create(nullptr));
    const HWND window = about.hwnd;
    EXPECT_FALSE(IsWindowVisible(window));
    // OK (or Enter), Cancel (Esc or the close box): both hide it.
    for (const int command : {IDOK, IDCANCEL}) {
        about.show();
        EXPECT_TRUE(IsWindowVisible(window));
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        EXPECT_FALSE(IsWindowVisible(window));
        EXPECT_EQ(about.hwnd, window);
        EXPECT_FALSE(about.closed);
    }
    // The close box: the dialog manager posts the cancel command.
    about.show();
    SendMessageA(window, WM_CLOSE, 0, 0);
    for (int i = 0; i < 100 && IsWindowVisible(window); ++i)
        about.pumpMessage();
    EXPECT_FALSE(IsWindowVisible(window));
    // Other commands, and notifications of OK, leave it up.
    about.show();
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(1033, 0), 0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, 1), 0);
    EXPECT_TRUE(IsWindowVisible(window));
}

}  // namespace
}  // namespace vlc
