// The About dialog: the program's name, version and credits. Created hidden with the main window, shown from
// the main window's system menu and hidden again by OK, Enter, Esc or its close box; never created twice.
#pragma once

#include <windows.h>

#include "framework/DialogWindow.h"

namespace vlc {

class AboutDialog : public DialogWindow {
public:
    using DialogWindow::DialogWindow;

    bool describe() override;
    // Builds the hidden dialog, owned by parent. On failure the user is told and false comes back.
    bool create(HWND parent);
    // OK and Cancel hide the dialog and keep it for the next time.
    INT_PTR windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace vlc
