// What vlconvert tells at the end of a run: the summary in the desktop program's words, or as JSON.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frame/Conversion.h"

namespace vlconvert {

enum class Outcome { Finished, Interrupted, Failed };

struct RunReport {
    Outcome outcome = Outcome::Finished;
    std::optional<std::string> input;     // the log read; none when none was found
    std::vector<std::string> files;       // the hand-history files written, in order
    std::optional<std::string> errorLog;  // the error-log file written, if any
    std::optional<std::string> error;     // what went wrong, for a failed run
    bool splitting = false;
    noxi::ConversionResults counts;
};

// "3 files created." (only when splitting), "12 hands were converted successfully.", and the skipped line
// when hands were skipped; one line each.
std::string summaryText(const RunReport& report);

// The same as a JSON object on one line: result, input, files, handsConverted, handsSkipped, errorLog,
// error.
std::string summaryJson(const RunReport& report);

// The files a run wrote: the output path itself for one file, else the numbered names of the files the
// library opened. lastFailed leaves out the last one, which could not be created.
std::vector<std::string> writtenFiles(const std::string& output, bool splitting, std::uint32_t numFiles,
                                      bool lastFailed);

}  // namespace vlconvert
