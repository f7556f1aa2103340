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

// True when the stream is a terminal (a console on Windows), so that a redrawn line makes sense on it.
bool isTerminal(std::FILE* stream);

// The terminal's width in columns: asked of the terminal, else $COLUMNS, else 80.
int terminalWidth(std::FILE* stream);

}  // namespace vlconvert
