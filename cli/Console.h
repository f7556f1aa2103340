// The console vlconvert runs in: Ctrl-C, and the terminal the progress bar is drawn on. One source file per
// platform (ConsolePosix.cpp, ConsoleWindows.cpp) holds what differs.
#pragma once

#include <cstdio>

namespace vlconvert {

// Ctrl-C asks the running conversion to stop: interruptRequested() becomes true, the next progress callback
// answers false, and the library closes the file it is writing properly. A second Ctrl-C ends the program at
// once. A program started with Ctrl-C ignored (a script's background job) keeps ignoring it.
void catchInterrupt();
// Ctrl-C does again what it did before catchInterrupt.
void releaseInterrupt();
bool interruptRequested();

// For following a log, which runs until it is told to stop: Ctrl-C as above, and likewise a request to end
// (SIGTERM; Ctrl-Break on Windows) and the terminal closed (SIGHUP; on Windows the console window closed,
// the user logging off or the system shutting down, where the system gives the program a few seconds
// before it ends it). Each request ends following after the hand being written. Signals ignored at the
// start (nohup) stay ignored.
void catchStopRequests();

// True when the stream is a terminal (a console on Windows), so that a redrawn line makes sense on it.
bool isTerminal(std::FILE* stream);

// The terminal's width in columns: asked of the terminal, else $COLUMNS, else 80.
int terminalWidth(std::FILE* stream);

}  // namespace vlconvert
