#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "Console.h"

namespace vlconvert {
namespace {

volatile std::sig_atomic_t interrupted = 0;
// What Ctrl-C did before the conversion, put back after it.
struct sigaction previousAction {};

extern "C" void onInterrupt(int) {
    interrupted = 1;
}

// Catches signal unless it is ignored; previous receives what it did.
void catchSignal(int signal, struct sigaction& previous) {
    sigaction(signal, nullptr, &previous);
    if (previous.sa_handler == SIG_IGN) return;
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // A second signal ends the program. Without SA_RESTART a wait for the log's change ends at once.
    action.sa_flags = SA_RESETHAND;
    sigaction(signal, &action, nullptr);
}

}  // namespace

void catchInterrupt() {
    interrupted = 0;
    catchSignal(SIGINT, previousAction);
}

void catchStopRequests() {
    interrupted = 0;
    catchSignal(SIGINT, previousAction);
    struct sigaction ignored {};
    catchSignal(SIGTERM, ignored);
    catchSignal(SIGHUP, ignored);
}

void releaseInterrupt() {
    sigaction(SIGINT, &previousAction, nullptr);
}

bool interruptRequested() {
    return interrupted != 0;
}

bool isTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) != 0;
}

int terminalWidth(std::FILE* stream) {
    winsize size{};
    if (ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    if (const char* columns = std::getenv("COLUMNS")) {
        const int width = std::atoi(columns);
        if (width > 0) return width;
    }
    return 80;
}

}  // namespace vlconvert
