// The conversion driver behind ConvertHands: the four steps of a conversion (load, process, save, close)
// over the log source, the hand index and the history sink, with the progress reports between them.
#pragma once

#include <cstddef>

#include "frame/Conversion.h"
#include "frame/WriteAhead.h"

namespace noxi {

struct DriverSettings {
    // The desktop program's pauses of 250 ms after loading, after processing and at the end. The command
    // line converter and the tests run without them.
    bool pauses = true;
    // Hand histories are handed to the file in whole hands, in blocks of about this many bytes.
    std::size_t writeBlockSize = std::size_t{1} << 20;
    // Hands are written while the log is first read when the options allow it (see WriteAhead), instead of
    // taking each hand in again from its place in the saving step. The files are the same either way; the
    // tests run both ways.
    bool writeAhead = true;
    // Where hands are taken in again for several files, the second half of the files is written on a second
    // thread at the same time (see SaveAhead). The files are the same either way; the tests run both ways.
    bool saveAhead = true;
    // Where hands are not written ahead, the betting of a batch of records is decoded on a second thread
    // while the next batch is read (see RecordStream). The results are the same either way.
    bool decodeOnThread = true;
    // Records to a batch there.
    std::size_t decodeBatch = 1024;
    // The log is read in blocks of about this many bytes (see LogSource).
    std::size_t readBlockSize = std::size_t{256} << 10;
    // How far hands written ahead may come out of order.
    WriteAhead::Limits window{};
};

// One conversion of the log at inPath into the file(s) named after outPath, with the caller's options,
// callback and results.
RunResult convertHands(const char* inPath, const char* outPath, ProgressCallback callback, void* user,
                       const ConversionOptions& options, ConversionResults& results,
                       const DriverSettings& settings);

}  // namespace noxi
