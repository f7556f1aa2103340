// The conversion driver behind ConvertHands: load the log, take in every record, keep the good hands in hand
// number order, select the range, write the hand histories into one or more files, report progress.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "frame/Conversion.h"

namespace noxi {

struct DriverSettings {
    // The desktop program's pauses of 250 ms after loading, after processing and at the end. The command
    // line converter and the tests run without them.
    bool pauses = true;
    // Hand histories are handed to the file in whole hands, in blocks of about this many bytes.
    std::size_t writeBlockSize = std::size_t{1} << 20;
    // Hands that come in ascending order are written while the log is first read, into a scratch file beside
    // the output that takes its name in the saving step, so that no hand is taken in twice. The files are
    // the same either way; the tests run both ways.
    bool writeAhead = true;
    // While hands are written ahead the log is read in windows of about this many bytes of whole lines, so
    // that it is never held whole; a line longer than that widens the window. A block small enough to stay
    // in the processor's cache from the read to the intake is a little faster than a large one.
    std::size_t readBlockSize = std::size_t{256} << 10;
};

// Returns 1 when the run finished, 0 when the callback asked to stop, -1 on failure; fills results.
int convertHands(const char* inPath, const char* outPath, ProgressCallback callback, void* user,
                 const ConversionOptions& options, ConversionResults& results,
                 const DriverSettings& settings);

// How far to advance from text to the next record: up to (not over) the next NUL, LF or CR, then over every
// LF, CR and blank that follows.
std::size_t skipToNextRecord(const char* text);

// How far the LF, CR and blanks at text run.
std::size_t skipLineEnds(const char* text);

}  // namespace noxi
