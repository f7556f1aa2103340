// Helper program of the framework tests, standing for a second copy of the program: it tries to open the
// test dialog under the mutex named by its argument. Exit code 0 when the window opened, 1 when refused,
// 2 on a wrong call.
#include <windows.h>

#include <string>

#include "TestDialog.h"
#include "framework/DialogWindow.h"

namespace {

class SecondCopyWindow : public vlc::DialogWindow {
public:
    SecondCopyWindow(HINSTANCE instance, std::string mutex)
        : DialogWindow(instance), sharedMutex(std::move(mutex)) {}

    bool describe() override {
        setNames("Second Copy", "SecondCopy", sharedMutex.c_str());
        return true;
    }

private:
    std::string sharedMutex;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    SecondCopyWindow window(GetModuleHandleA(nullptr), argv[1]);
    return window.describe() && window.create(IDD_TEST, false, nullptr) ? 0 : 1;
}
