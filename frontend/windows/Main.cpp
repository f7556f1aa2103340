// Program entry of VLConverter: the main window and its polling message loop.
#include <windows.h>

#include "windows/ConverterWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    vlc::ConverterWindow window(instance);
    if (window.describe() && window.create()) {
        window.show();
        // Polling rather than blocking: each pass handles at most one message per open window, then sleeps.
        while (window.pumpAll())
            Sleep(10);
    }
    return 0;
}
