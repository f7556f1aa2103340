// Shared by the tests of the tools: a scratch folder of the test program's own, and loggen run from its
// command line as a user runs it (LOGGEN_PATH names the program).
#pragma once

#include <cstdlib>
#include <string>

#include "support/TestSupport.h"

namespace noxi::test {

// A file in a folder of this test program's own, removed at its end.
inline fs::path scratch(const std::string& name) {
    static const TempDir folder;
    return folder.path() / name;
}

// loggen's exit status for the arguments given.
inline int runLoggen(const std::string& arguments) {
    std::string command = std::string("\"") + LOGGEN_PATH + "\" " + arguments;
#ifdef _WIN32
    // cmd /c takes away the first and the last quote of a command line that starts with one.
    command = "\"" + command + "\"";
#endif
    return std::system(command.c_str());
}

}  // namespace noxi::test
