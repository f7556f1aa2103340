// The progress dialog: stands in front of the user while the library converts, shows the library's status
// text and a progress bar, tells the library's errors and lets the user stop the conversion. The conversion
// runs on this thread, so the progress callback is also the program's only chance to handle window messages
// meanwhile: each call handles at most one.
#pragma once

#include <windows.h>

#include <chrono>

#include "framework/DialogWindow.h"

namespace vlc {

class ProcessDialog : public DialogWindow {
public:
    using DialogWindow::DialogWindow;

    bool describe() override;
    // Builds the hidden dialog, owned by parent, with an empty status and the bar at 0. On failure the user
    // is told and false comes back.
    bool create(HWND parent);
    // Shows the dialog, converts inputPath into outputPath with progressCallback, and hides the dialog when
    // the library has returned. The owner is disabled meanwhile. The library's result is not looked at.
    void runConversion(const char* inputPath, const char* outputPath);
    // Cancel (the button, Esc, the close box) asks the running conversion to stop at its next callback.
    INT_PTR windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Resets the fields, then closes the window.
    void close();

    char statusText[1024] = "";  // the status last shown; longer texts are cut to fit
    int lastPosition = 0;        // the bar position last set
    bool stopped = true;         // the running conversion must stop; also whenever none runs
    std::chrono::steady_clock::time_point lastPump{};  // when the callback last looked for a message
};

// How often the progress callback looks for a waiting window message at most.
inline constexpr std::chrono::milliseconds PumpInterval{1};

// The library's progress callback; user is the ProcessDialog. Shows a stage, handles at most one window
// message and returns whether the conversion goes on. A text or position that has not changed is not set
// again.
bool progressCallback(int stage, char* text, int percent, void* user);

}  // namespace vlc
