#include "windows/AboutDialog.h"

#include "resource.h"

namespace vlc {

bool AboutDialog::describe() {
    setNames("About Dialog", "VLCAboutDialog", "VLCABOUTDIALOGMUTEX");
    return true;
}

bool AboutDialog::create(HWND parent) {
    close();
    if (!DialogWindow::create(IDD_ABOUT, false, parent)) {
        MessageBoxA(nullptr, "ERROR: Could not initialize window.", "VLConverter", MB_ICONERROR | MB_OK);
        return false;
    }
    return true;
}

INT_PTR AboutDialog::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == 0 &&
        (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        hide();
        return TRUE;
    }
    return DialogWindow::windowProc(window, message, wParam, lParam);
}

}  // namespace vlc
