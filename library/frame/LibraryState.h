// The library-wide options and results behind the thirteen exports.
#pragma once

#include "frame/Conversion.h"

namespace noxi {

struct LibraryState {
    ConversionOptions options;
    ConversionResults results;
};

// The one state of the loaded library. No locks: one conversion at a time.
LibraryState& libraryState();

// The state of a library just attached to a process: every option at its start value, counters at 0.
void attachLibrary();

}  // namespace noxi
