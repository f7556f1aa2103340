#include "windows/AboutDialog.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "resource.h"

namespace vlc {
namespace {

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
