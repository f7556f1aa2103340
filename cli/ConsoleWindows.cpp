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

// Following also stops when the console closes (or the user logs off, or the system shuts down).
BOOL WINAPI onStopEvent(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            return interrupted.exchange(true) ? FALSE : TRUE;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            interrupted = true;
            // The system ends the process as soon as this returns, and at the latest after a few seconds:
            // it waits here while the main thread ends following, which ends the process.
            Sleep(INFINITE);
            return TRUE;
        default:
            return FALSE;
    }
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

void catchStopRequests() {
    interrupted = false;
    SetConsoleCtrlHandler(onStopEvent, TRUE);
}

void releaseInterrupt() {
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    SetConsoleCtrlHandler(onStopEvent, FALSE);
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
