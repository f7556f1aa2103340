// The process-wide map from window handle to the DialogWindow that owns the window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>

namespace vlc {

class DialogWindow;

// Does not own the objects. An entry exists from the end of a successful DialogWindow::create until
// DialogWindow::destroy has destroyed the window. One thread only: no locks.
struct WindowRegistry {
    std::map<std::uintptr_t, DialogWindow*> windows;  // handles ordered as unsigned numbers

    // Registers `window` under `hwnd`, replacing any entry a destroyed window left under the same handle.
    void add(HWND hwnd, DialogWindow* window);
    void remove(HWND hwnd);
    // The object that owns `hwnd`, or null.
    DialogWindow* find(HWND hwnd) const;
};

// The one registry of the program.
WindowRegistry& windowRegistry();

}  // namespace vlc
