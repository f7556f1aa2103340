// The summary of a conversion, in the words the desktop program shows after every run.
#pragma once

#include <cstdint>
#include <string>

namespace common {

// "3 files created." (left out for one big file), "12 hands were converted successfully." and, when hands
// were skipped, "2 hands were skipped due to errors.", with the singular forms for 1; lines joined by a line
// feed, none after the last.
std::string conversionSummary(bool singleFile, std::uint64_t files, std::uint64_t hands,
                              std::uint64_t skipped);

}  // namespace common
