// The base of the program's windows: a modeless dialog built from a template while a named mutex is held,
// whose messages reach the virtual windowProc through the WindowRegistry, pumped one message at a time.
#pragma once

#include <windows.h>

#include <string>

namespace vlc {

class DialogWindow {
public:
    // No window yet: closed, no mutex, no names (describe fills them).
    explicit DialogWindow(HINSTANCE instance);
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Fills title, className and mutexName for this kind of window; true on success. Each kind overrides it.
    virtual bool describe();
    // Handles one message of the window. The base version posts the quit message and marks the object closed
    // on WM_DESTROY, and otherwise leaves the message to the platform's default handling. Kinds override it
    // and pass on what they do not handle.
    virtual INT_PTR windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Destroys the window and gives up the mutex.
    virtual ~DialogWindow();

    // Builds the dialog from template `templateId` of `instance`, owned by `parent` (or none), while holding
    // the mutex named mutexName. Fails when the dialog cannot be made, or when multiple instances are not
    // allowed and the mutex exists already (in this or another program); the mutex handle is then kept until
    // the next destroy. Any window the object had before is destroyed first.
    bool create(int templateId, bool allowMultiple, HWND parent);
    // Destroys the window, if any, and releases and closes the mutex, if any. Failures are ignored.
    void destroy();
    // Ends the dialog, then destroy().
    void close();
    void show();
    void hide();
    // Takes at most one waiting message of the thread, for whatever window, and dispatches it; this window's
    // dialog keyboard handling gets the first look. Never blocks. False once this window is gone. The quit
    // message is taken and dispatched like any other: it does not end a loop.
    bool pumpMessage();
    // Whether the window is there: made, and neither destroyed nor gone with its owner.
    bool isOpen() const { return hwnd != nullptr && !closed; }

    HWND hwnd = nullptr;
    bool isDialog = false;  // selects dialog keyboard handling and the dialog answer of windowProc
    bool closed = true;     // no window: before create succeeds, after destroy or WM_DESTROY
    HINSTANCE instance;     // templates and icons are loaded from it
    HANDLE mutex = nullptr;
    std::string title;      // the kind's title; the visible caption comes from the template
    std::string className;  // handed to UnregisterClassA when the window is destroyed
    std::string mutexName;  // one window of a kind at a time, across programs

protected:
    // For describe: stores the three names.
    void setNames(const char* kindTitle, const char* kindClassName, const char* kindMutexName);
};

// The one dialog procedure given to the platform for every dialog: hands the message to the windowProc of
// the object registered for the window, or answers 0 for a window that has none (yet).
INT_PTR CALLBACK sharedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vlc
