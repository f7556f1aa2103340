// vlconvert --follow: converts what the log holds, then each line appended to it, until it is told to stop.
#pragma once

#include <string>

#include "CommandLine.h"

namespace vlconvert {

// Follows options.input into options.output (or the folder of tables) with the error log at errorLog, whose
// places were checked already; returns the exit status: 130 when stopped, 1 when following failed.
int followLog(const CliOptions& options, const std::string& errorLog);

}  // namespace vlconvert
