#include "framework/DialogWindow.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestDialog.h"
#include "framework/WindowRegistry.h"

namespace vlc {
namespace {

// A window kind that records what reaches its windowProc. Its mutex name carries the process id, so test
// programs running side by side do not meet.
class TestWindow : public DialogWindow {
public:
    explicit TestWindow(const std::string& kind) : DialogWindow(GetModuleHandleA(nullptr)) {
        setNames(kind.c_str(), kind.c_str(),
                 ("VLCTEST" + kind + std::to_string(GetCurrentProcessId())).c_str());
    }

    INT_PTR windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        if (message == WM_APP) posted.push_back(static_cast<int>(wParam));
        return DialogWindow::windowProc(window, message, wParam, lParam);
    }

    bool saw(UINT message) const { return std::ranges::find(seen, message) != seen.end(); }
    bool open(HWND parent = nullptr) { return create(IDD_TEST, false, parent); }

    std::vector<UINT> seen;
    std::vector<int> posted;
};

// Removes whatever an earlier step left in the thread's queue (quit messages among them).
void drainQueue() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

bool quitWaiting() {
    MSG message;
    return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

// Pumps through `window` until the queue is empty (or a limit is reached); false when the pump said so.
bool pumpUntilEmpty(DialogWindow& window) {
    MSG message;
    for (int i = 0; i < 1000 && PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE); ++i) {
        if (!window.pumpMessage()) return false;
    }
    return true;
}

// One window of a kind at a time is shown by the program's second copy.
TEST(DialogWindow, CreateRegistersAndDestroyLetsGo) {
    drainQueue();
    TestWindow window("Alpha");
    ASSERT_TRUE(window.open());
    EXPECT_NE(window.mutex, nullptr);
    EXPECT_EQ(windowRegistry().find(window.hwnd), &window);
    EXPECT_FALSE(window.saw(WM_INITDIALOG));  // sent while the dialog was built: no object had it yet

    const HWND handle = window.hwnd;
    window.destroy();
    EXPECT_EQ(window.mutex, nullptr);
    EXPECT_TRUE(window.closed);
    EXPECT_EQ(windowRegistry().find(handle), nullptr);
    // WM_DESTROY still reached the object while the window was destroyed, and posted the quit message.
    EXPECT_TRUE(window.saw(WM_DESTROY));
    EXPECT_TRUE(quitWaiting());

    // A missing template fails; the mutex it kept goes with destroy.
    EXPECT_FALSE(window.create(9999, false, nullptr));
    window.destroy();
    TestWindow again("Alpha");
    EXPECT_TRUE(again.open());
}

// Each message reaches its own window, one per call, whoever pumps (the program works the dialog keys).
TEST(DialogWindow, PumpTakesOneMessageForItsOwnWindow) {
    TestWindow a("Delta");
    TestWindow b("Epsilon");
    EXPECT_FALSE(a.pumpMessage());  // no window yet
    ASSERT_TRUE(a.open() && b.open());
    drainQueue();
    EXPECT_TRUE(a.pumpMessage());  // nothing waiting: returns at once
    PostMessageA(a.hwnd, WM_APP, 1, 0);
    PostMessageA(b.hwnd, WM_APP, 2, 0);
    PostMessageA(a.hwnd, WM_APP, 3, 0);
    EXPECT_TRUE(b.pumpMessage());
    EXPECT_EQ(a.posted, (std::vector<int>{1}));
    EXPECT_TRUE(pumpUntilEmpty(b));
    EXPECT_EQ(a.posted, (std::vector<int>{1, 3}));
    EXPECT_EQ(b.posted, (std::vector<int>{2}));

    // The quit message that destroying a dialog posts is handed out last, and ends no loop.
    b.destroy();
    PostMessageA(a.hwnd, WM_APP, 7, 0);
    EXPECT_TRUE(pumpUntilEmpty(a));
    EXPECT_EQ(a.posted, (std::vector<int>{1, 3, 7}));
    EXPECT_FALSE(quitWaiting());
    EXPECT_FALSE(a.closed);
    EXPECT_TRUE(a.pumpMessage());

    // An owned window is closed with its owner.
    TestWindow owned("Zeta");
    ASSERT_TRUE(owned.open(a.hwnd));
    const HWND ownedHandle = owned.hwnd;
    a.close();
    EXPECT_TRUE(owned.closed);
    EXPECT_FALSE(owned.pumpMessage());
    owned.destroy();
    EXPECT_EQ(windowRegistry().find(ownedHandle), nullptr);
    EXPECT_EQ(owned.mutex, nullptr);
}

}  // namespace
}  // namespace vlc
