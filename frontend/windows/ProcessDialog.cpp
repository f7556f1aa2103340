#include "windows/ProcessDialog.h"

#include <commctrl.h>

#include <cstring>

#include "NoxiConverter.h"
#include "resource.h"

namespace vlc {

bool ProcessDialog::describe() {
    setNames("Process Dialog", "VLCProcessDialog", "VLCPROCESSDIALOGMUTEX");
    return true;
}

void ProcessDialog::close() {
    statusText[0] = '\0';
    lastPosition = 0;
    stopped = true;
    DialogWindow::close();
}

bool ProcessDialog::create(HWND parent) {
    close();
    // The progress bar's window class exists only once the common controls are set up.
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    if (!DialogWindow::create(IDD_PROGRESS, false, parent)) {
        MessageBoxA(nullptr, "ERROR: Could not initialize window.", "VLConverter", MB_ICONERROR | MB_OK);
        return false;
    }
    SendDlgItemMessageA(hwnd, IDC_PROGRESS_BAR, PBM_SETPOS, 0, 0);
    SetDlgItemTextA(hwnd, IDC_PROGRESS_STATUS, statusText);
    stopped = false;
    return true;
}

INT_PTR ProcessDialog::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == 0 && LOWORD(wParam) == IDCANCEL) {
        // The dialog stays up until the library has returned.
        stopped = true;
        return TRUE;
    }
    return DialogWindow::windowProc(window, message, wParam, lParam);
}

void ProcessDialog::runConversion(const char* inputPath, const char* outputPath) {
    // The owner takes no input while the library runs: no second conversion, no closing under it. It is
    // enabled again before this dialog hides, or the system would hand the activation to another program's
    // window, skipping the disabled owner.
    const HWND owner = GetWindow(hwnd, GW_OWNER);
    if (owner != nullptr) EnableWindow(owner, FALSE);
    show();
    stopped = false;
    // The library takes the input path as a modifiable text: it gets a copy of its own.
    char input[MAX_PATH + 1];
    lstrcpynA(input, inputPath, sizeof input);
    ConvertHands(input, outputPath, progressCallback, this);
    stopped = true;
    if (owner != nullptr) EnableWindow(owner, TRUE);
    hide();
}

bool progressCallback(int stage, char* text, int percent, void* user) {
    auto* dialog = static_cast<ProcessDialog*>(user);
    if (text == nullptr || dialog == nullptr || dialog->stopped) return false;
    switch (stage) {
        case StageError:
            MessageBoxA(dialog->hwnd, text, "Error", MB_ICONERROR | MB_OK);
            dialog->pumpMessage();
            return false;
        case StageTitle:
            SetWindowTextA(dialog->hwnd, text);
            break;
        case StageLoading:
        case StageProcessing:
        case StageSaving: {
            if (percent != dialog->lastPosition) {
                SendDlgItemMessageA(dialog->hwnd, IDC_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(percent),
                                    0);
                dialog->lastPosition = percent;
            }
            // Compared as it would be stored, so that a text too long for statusText is not set every time.
            char shown[sizeof dialog->statusText];
            lstrcpynA(shown, text, sizeof shown);
            if (std::strcmp(shown, dialog->statusText) != 0) {
                std::memcpy(dialog->statusText, shown, sizeof shown);
                SetDlgItemTextA(dialog->hwnd, IDC_PROGRESS_STATUS, dialog->statusText);
            }
            break;
        }
        default:
            return false;
    }
    // Looking for a waiting message is a call into the system (some 30 microseconds under Wine), and the
    // library calls back after every record and every hand: that alone made a conversion ten times slower.
    // So a message is looked for at most once a millisecond; in between the answer is the one pumpMessage
    // gives when nothing is waiting, or false once the window is gone.
    const auto now = std::chrono::steady_clock::now();
    if (now - dialog->lastPump < PumpInterval) return dialog->isOpen();
    dialog->lastPump = now;
    return dialog->pumpMessage();
}

}  // namespace vlc
