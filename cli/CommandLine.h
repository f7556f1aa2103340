// The command line of vlconvert: its options, their checks and its help.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "frame/Conversion.h"

namespace vlconvert {

// Exit statuses of the program.
enum ExitStatus : int {
    ExitSuccess = 0,
    ExitFailure = 1,       // the conversion failed, or no log was found
    ExitUsage = 2,         // wrong or conflicting options
    ExitSkipped = 3,       // --strict and some hands were skipped
    ExitInterrupted = 130  // stopped by Ctrl-C (or, when following, another request to stop), as a shell
                           // reports a SIGINT
};

// What the command line asks for.
struct CliOptions {
    std::optional<std::string> input;     // absent: look for the log in the Wine prefix
    std::string output;                   // the hand-history file, or the name the split files are made from;
                                          // empty with a folder to follow into
    std::optional<std::string> errorLog;  // absent: errorLog.txt beside the output (in a folder to follow
                                          // into, vlconvert-errors.log)
    noxi::ConversionOptions conversion;   // range, split mode and writer flags as the library takes them
    bool json = false;
    bool quiet = false;
    bool strict = false;
    bool follow = false;                      // follow the log while it grows, until stopped
    std::optional<std::string> followFolder;  // with follow: one file per table and day in this folder

    bool splitting() const;
};

// The outcome of reading the command line: either options to run with, or an exit status after help,
// version or an error has been printed.
struct ParsedCommandLine {
    std::optional<CliOptions> options;
    int exitStatus = ExitSuccess;
};

// Reads argv. Help and version go to out; a wrong or conflicting option gives one line naming it and the
// usage line on err, and exit status 2.
ParsedCommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// Prints "vlconvert: <message>", the usage line and a pointer to --help: the report of a usage error.
void printUsageError(std::ostream& err, const std::string& message);

}  // namespace vlconvert
