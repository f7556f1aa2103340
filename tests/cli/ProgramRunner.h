// Runs the built vlconvert as a user would: its own process, arguments and working folder, standard output
// and standard error caught in files (or, on POSIX, standard error on a pseudo-terminal). The program gets
// the test's environment, so a test sets what it should see (HOME, WINEPREFIX, TZ) with setEnvironment. The
// Program class is the platform's: ProgramPosix.h or ProgramWindows.h.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "frame/LogFixtures.h"

namespace vlconvert::test {

namespace fs = std::filesystem;
using noxi::test::goodHands;
using noxi::test::readFile;
using noxi::test::setEnvironment;
using noxi::test::TempDir;
using noxi::test::writeFile;

struct ProgramResult {
    int exitCode = -1;  // -1 when ended by a signal
    std::string out;    // with "\n" line ends on every platform
    std::string err;
};

}  // namespace vlconvert::test

#ifdef _WIN32
#include "cli/ProgramWindows.h"
#else
#include "cli/ProgramPosix.h"
#endif

namespace vlconvert::test {

inline ProgramResult runProgram(std::vector<std::string> args, const std::string& folder = "",
                                bool terminal = false) {
    return Program(std::move(args), folder, terminal).finish();
}

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

// Text as the program writes it into a file in text mode: line feeds become CR LF on Windows.
inline std::string textFile(const std::string& text) {
#ifdef _WIN32
    std::string converted;
    for (const char c : text) {
        if (c == '\n') converted += '\r';
        converted += c;
    }
    return converted;
#else
    return text;
#endif
}

inline constexpr const char* UsageLine = "Usage: vlconvert [OPTION]... [INPUT] OUTPUT";
// What follows the message of a usage error.
inline const std::string UsageHint =
    std::string("\n") + UsageLine + "\nTry 'vlconvert --help' for more information.\n";

}  // namespace vlconvert::test
