// Program entry of VLConverter. For now it shows the main window with its polling loop; the window's
// commands beyond Exit arrive with the main window's own code.
#include <windows.h>

#include "NoxiConverter.h"
#include "framework/DialogWindow.h"
#include "resource.h"

namespace {

class MainWindow : public vlc::DialogWindow {
public:
    using DialogWindow::DialogWindow;

    bool describe() override {
        setNames("VLConverter", "VLConverter", "VLCONVERTERMUTEX");
        return true;
    }

    INT_PTR windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_COMMAND || HIWORD(wParam) != 0) {
            return DialogWindow::windowProc(window, message, wParam, lParam);
        }
        switch (LOWORD(wParam)) {
            case IDC_MAIN_CONVERT:
                pushOptions(window);
                MessageBoxA(window, "Converting is not available in this build yet.", "VLConverter",
                            MB_ICONINFORMATION | MB_OK);
                break;
            case IDC_MAIN_EXIT:
            case IDCANCEL:
                close();
                break;
            default:
                break;
        }
        return TRUE;
    }

private:
    static bool isChecked(HWND window, int id) { return IsDlgButtonChecked(window, id) == BST_CHECKED; }

    // The five conversion options go to the library as they stand in the window.
    static void pushOptions(HWND window) {
        SetFixSmallBlind(isChecked(window, IDC_MAIN_FIX_SMALL_BLIND));
        SetMake6Max(isChecked(window, IDC_MAIN_MAKE_6MAX));
        SetRealMoney(isChecked(window, IDC_MAIN_REAL_MONEY));
        SetMuckHands(isChecked(window, IDC_MAIN_MUCK_HANDS));
        SetSaveAllHole(isChecked(window, IDC_MAIN_SAVE_ALL_HOLE));
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    MainWindow window(instance);
    if (window.describe() && window.create(IDD_MAIN, false, nullptr)) {
        window.show();
        while (window.pumpMessage())
            Sleep(10);
    } else {
        MessageBoxA(nullptr, "ERROR: Could not initialize window.", "VLConverter", MB_ICONERROR | MB_OK);
    }
    return 0;
}
