#include "framework/DialogWindow.h"

#include "framework/WindowRegistry.h"

namespace vlc {

DialogWindow::DialogWindow(HINSTANCE moduleInstance) : instance(moduleInstance) {}

DialogWindow::~DialogWindow() {
    destroy();
}

bool DialogWindow::describe() {
    setNames("Main Window", "MainWindow", "MAINWINDOWMUTEX");
    return true;
}

void DialogWindow::setNames(const char* kindTitle, const char* kindClassName, const char* kindMutexName) {
    title = kindTitle;
    className = kindClassName;
    mutexName = kindMutexName;
}

bool DialogWindow::create(int templateId, bool allowMultiple, HWND parent) {
    destroy();
    mutex = CreateMutexA(nullptr, TRUE, mutexName.empty() ? nullptr : mutexName.c_str());
    if (mutex == nullptr) return false;
    // Another window of this kind holds the mutex, here or in a second copy of the program.
    if (!allowMultiple && GetLastError() == ERROR_ALREADY_EXISTS) return false;
    // Messages sent while the dialog is being built (WM_INITDIALOG among them) reach no object: it is
    // registered only afterwards, so each kind sets itself up after create returns.
    hwnd = CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent, sharedDialogProc, 0);
    if (hwnd == nullptr) return false;
    isDialog = true;
    closed = false;
    windowRegistry().add(hwnd, this);
    return true;
}

void DialogWindow::destroy() {
    if (hwnd != nullptr) {
        // A window whose owner was destroyed is gone already (its WM_DESTROY marked this object closed): its
        // handle is not passed to DestroyWindow again, as the platform may have given it to a new window.
        if (!closed) DestroyWindow(hwnd);
        windowRegistry().remove(hwnd);
        hwnd = nullptr;
    }
    if (!className.empty()) UnregisterClassA(className.c_str(), instance);
    if (mutex != nullptr) {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
        mutex = nullptr;
    }
    closed = true;
}

void DialogWindow::close() {
    if (hwnd != nullptr) EndDialog(hwnd, IDCANCEL);
    destroy();
}

void DialogWindow::show() {
    if (hwnd == nullptr) return;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
}

void DialogWindow::hide() {
    if (hwnd == nullptr) return;
    ShowWindow(hwnd, SW_HIDE);
    UpdateWindow(hwnd);
}

bool DialogWindow::pumpMessage() {
    if (!isOpen()) return false;
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return true;
    const bool taken =
        isDialog ? IsDialogMessageA(hwnd, &message) : TranslateAcceleratorA(hwnd, nullptr, &message);
    if (!taken) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

INT_PTR DialogWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        closed = true;
        return 0;
    }
    // For a dialog, 0 means "not handled": the dialog manager's default handling applies.
    return isDialog ? 0 : DefWindowProcA(window, message, wParam, lParam);
}

INT_PTR CALLBACK sharedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogWindow* owner = windowRegistry().find(window);
    return owner == nullptr ? 0 : owner->windowProc(window, message, wParam, lParam);
}

}  // namespace vlc
