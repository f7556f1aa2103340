#include "framework/DialogWindow.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ProgramDriver.h"
#include "TestDialog.h"
#include "framework/WindowRegistry.h"

namespace vlc {
namespace {

// A window kind that records what reaches its windowProc. Its mutex name carries the process id, so test
// programs running side by side do not meet.
class TestWindow : public DialogWindow {
public:
    explicit TestWindow(std::string kindName)
        : DialogWindow(GetModuleHandleA(nullptr)), kind(std::move(kindName)) {}

    bool describe() override {
        const std::string mutex = "VLCTEST" + kind + "MUTEX" + std::to_string(GetCurrentProcessId());
        setNames(kind.c_str(), kind.c_str(), mutex.c_str());
        return true;
    }

    INT_PTR windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        if (message == WM_APP) posted.push_back(static_cast<int>(wParam));
        if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
        return DialogWindow::windowProc(window, message, wParam, lParam);
    }

    bool saw(UINT message) const { return std::find(seen.begin(), seen.end(), message) != seen.end(); }

    std::string kind;
    std::vector<UINT> seen;
    std::vector<int> posted;
    std::vector<int> commands;
};

// Removes whatever an earlier test left in the thread's queue (quit messages among them).
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

class DialogWindowTest : public ::testing::Test {
protected:
    void SetUp() override { drainQueue(); }
    void TearDown() override { drainQueue(); }

    // Creates a described window of the test template, owned by parent.
    static bool open(TestWindow& window, HWND parent = nullptr) {
        return window.describe() && window.create(IDD_TEST, false, parent);
    }

    // Opens two windows and starts them off with an empty queue.
    static bool openBoth(TestWindow& a, TestWindow& b) {
        const bool opened = open(a) && open(b);
        drainQueue();
        return opened;
    }
};

TEST_F(DialogWindowTest, CreateOpensRegistersAndHoldsTheMutex) {
    TestWindow window("Alpha");
    ASSERT_TRUE(open(window));
    EXPECT_TRUE(IsWindow(window.hwnd));
    EXPECT_FALSE(window.closed);
    EXPECT_TRUE(window.isDialog);
    EXPECT_NE(window.mutex, nullptr);
    EXPECT_EQ(windowRegistry().find(window.hwnd), &window);
    // Messages sent while the dialog was being built reached no object.
    EXPECT_FALSE(window.saw(WM_INITDIALOG));
    EXPECT_EQ(testing::windowText(window.hwnd), "Framework Test");
    EXPECT_FALSE(IsWindowVisible(window.hwnd));
    window.show();
    EXPECT_TRUE(IsWindowVisible(window.hwnd));
    window.hide();
    EXPECT_FALSE(IsWindowVisible(window.hwnd));

    const HWND handle = window.hwnd;
    window.destroy();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(window.hwnd, nullptr);
    EXPECT_EQ(window.mutex, nullptr);
    EXPECT_TRUE(window.closed);
    EXPECT_EQ(windowRegistry().find(handle), nullptr);
    // WM_DESTROY still reached the object while the window was destroyed, and posted the quit message.
    EXPECT_TRUE(window.saw(WM_DESTROY));
    EXPECT_TRUE(quitWaiting());
}

TEST_F(DialogWindowTest, SecondWindowOfAKindFailsUntilTheFirstIsDestroyed) {
    TestWindow first("Beta");
    TestWindow second("Beta");
    ASSERT_TRUE(open(first));
    EXPECT_FALSE(open(second));
    EXPECT_EQ(second.hwnd, nullptr);
    EXPECT_TRUE(second.closed);
    // Multiple instances allowed: the existing mutex does not stop it.
    TestWindow third("Beta");
    ASSERT_TRUE(third.describe());
    EXPECT_TRUE(third.create(IDD_TEST, true, nullptr));
    third.destroy();

    first.destroy();
    EXPECT_TRUE(open(second));
    EXPECT_FALSE(second.closed);
    // Another kind has a mutex of its own.
    TestWindow other("Gamma");
    EXPECT_TRUE(open(other));
}

TEST_F(DialogWindowTest, CreateAgainReplacesTheWindow) {
    TestWindow window("Delta");
    ASSERT_TRUE(open(window));
    const HWND old = window.hwnd;
    ASSERT_TRUE(window.create(IDD_TEST, false, nullptr));
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(windowRegistry().find(old), nullptr);
    EXPECT_EQ(windowRegistry().find(window.hwnd), &window);
}

TEST_F(DialogWindowTest, MissingTemplateFails) {
    TestWindow window("Epsilon");
    ASSERT_TRUE(window.describe());
    EXPECT_FALSE(window.create(9999, false, nullptr));
    EXPECT_EQ(window.hwnd, nullptr);
    EXPECT_TRUE(window.closed);
    window.destroy();
    // The mutex kept by the failed create went with destroy.
    TestWindow again("Epsilon");
    EXPECT_TRUE(open(again));
}

TEST_F(DialogWindowTest, MessagesReachTheirOwnObjectWhoeverPumps) {
    TestWindow a("Zeta");
    TestWindow b("Eta");
    ASSERT_TRUE(openBoth(a, b));
    PostMessageA(a.hwnd, WM_APP, 1, 0);
    PostMessageA(b.hwnd, WM_APP, 2, 0);
    PostMessageA(a.hwnd, WM_APP, 3, 0);
    // Everything is pumped through b: each message still goes to the window it was meant for.
    EXPECT_TRUE(pumpUntilEmpty(b));
    EXPECT_EQ(a.posted, (std::vector<int>{1, 3}));
    EXPECT_EQ(b.posted, (std::vector<int>{2}));
    // Sent messages too.
    SendMessageA(b.hwnd, WM_APP, 4, 0);
    EXPECT_EQ(b.posted, (std::vector<int>{2, 4}));
    EXPECT_EQ(a.posted, (std::vector<int>{1, 3}));
}

TEST_F(DialogWindowTest, PumpTakesAtMostOneMessageAndNeverBlocks) {
    TestWindow window("Theta");
    EXPECT_FALSE(window.pumpMessage());  // no window yet
    ASSERT_TRUE(open(window));
    drainQueue();
    EXPECT_TRUE(window.pumpMessage());  // nothing waiting: returns at once
    PostMessageA(window.hwnd, WM_APP, 1, 0);
    PostMessageA(window.hwnd, WM_APP, 2, 0);
    EXPECT_TRUE(window.pumpMessage());
    EXPECT_EQ(window.posted, (std::vector<int>{1}));
    EXPECT_TRUE(window.pumpMessage());
    EXPECT_EQ(window.posted, (std::vector<int>{1, 2}));
}

TEST_F(DialogWindowTest, QuitMessageDoesNotEndAPumpLoop) {
    TestWindow window("Iota");
    TestWindow other("Kappa");
    ASSERT_TRUE(openBoth(window, other));
    // Destroying a dialog posts the quit message, as the About and progress dialogs do at the end.
    other.destroy();
    ASSERT_TRUE(quitWaiting());
    PostMessageA(window.hwnd, WM_APP, 7, 0);
    // The platform hands out the quit message last, when nothing else is waiting.
    EXPECT_TRUE(pumpUntilEmpty(window));
    EXPECT_EQ(window.posted, (std::vector<int>{7}));
    EXPECT_FALSE(quitWaiting());  // taken and dispatched like any other message
    EXPECT_FALSE(window.closed);
    EXPECT_TRUE(window.pumpMessage());
}

TEST_F(DialogWindowTest, OwnedWindowIsClosedWithItsOwner) {
    TestWindow owner("Lambda");
    TestWindow owned("Mu");
    ASSERT_TRUE(open(owner));
    ASSERT_TRUE(open(owned, owner.hwnd));
    const HWND ownedHandle = owned.hwnd;
    owner.close();
    EXPECT_EQ(owner.hwnd, nullptr);
    EXPECT_TRUE(owner.closed);
    EXPECT_TRUE(owned.saw(WM_DESTROY));
    EXPECT_TRUE(owned.closed);
    EXPECT_FALSE(IsWindow(ownedHandle));
    EXPECT_FALSE(owned.pumpMessage());
    owned.destroy();
    EXPECT_EQ(windowRegistry().find(ownedHandle), nullptr);
    EXPECT_EQ(owned.mutex, nullptr);
}

TEST_F(DialogWindowTest, DialogKeysApplyToTheWindowThatPumps) {
    TestWindow a("Nu");
    TestWindow b("Xi");
    ASSERT_TRUE(openBoth(a, b));
    const HWND button = GetDlgItem(a.hwnd, IDC_TEST_BUTTON);
    // Taken by another window's pump, the Esc key is no dialog key of a.
    PostMessageA(button, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(pumpUntilEmpty(b));
    EXPECT_TRUE(a.commands.empty());
    // Taken by a's own pump, it becomes a's cancel command.
    PostMessageA(button, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(pumpUntilEmpty(a));
    EXPECT_EQ(a.commands, (std::vector<int>{IDCANCEL}));
}

}  // namespace
}  // namespace vlc
