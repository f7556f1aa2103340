#include <windows.h>

#include <io.h>

#include <atomic>
#include <cstdlib>

#include "Console.h"

namespace vlconvert {
namespace {

// Set by the console's handler, which Windows runs on a thread of its own.
std::atomic<bool> interrupted{false};

BOOL WINAPI onConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    // A second Ctrl-C goes on to the default handler, which ends the program.
    return interrupted.exchange(true) ? FALSE : TRUE;
}

HANDLE handleOf(std::FILE* stream) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

}  // namespace

// A process started with Ctrl-C ignored is never given it: Windows calls no handler of such a process for
// Ctrl-C, so ignoring it needs nothing here.
void catchInterrupt() {
    interrupted = false;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

void releaseInterrupt() {
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
}

bool interruptRequested() {
    return interrupted;
}

// A console, not merely a character device: the null device is one too, and _isatty says yes to it.
bool isTerminal(std::FILE* stream) {
    DWORD mode = 0;
    return GetConsoleMode(handleOf(stream), &mode) != 0;
}

int terminalWidth(std::FILE* stream) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (GetConsoleScreenBufferInfo(handleOf(stream), &info)) {
        const int width = info.srWindow.Right - info.srWindow.Left + 1;
        if (width > 0) return width;
    }
    if (const char* columns = std::getenv("COLUMNS")) {
        const int width = std::atoi(columns);
        if (width > 0) return width;
    }
    return 80;
}

}  // namespace vlconvert
