// The core's interface for the programs built on it (vlconvert, the tests, the benchmarks): one conversion
// with its own options, progress callback and results, as ConvertHands runs it over the library-wide ones.
// Following a growing log is in Follow.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "NoxiConverter.h"

namespace noxi {

// What a conversion is asked to do: the hand range, the file split and the writer's choices, in the form
// the setters store them.
struct ConversionOptions {
    bool fixSmallBlind = false;
    bool realMoney = false;
    bool make6Max = false;
    bool muckHands = true;  // beaten hands are mucked unless told otherwise
    bool saveAllHole = false;
    // Output that trackers read right: whole cents, uncalled bets returned, every post and street shown
    // (see the showdown, the decoder and the writer). Off: the default histories.
    bool trackerSafe = false;
    std::uint8_t rangeType = 0;
    std::uint32_t rangeFrom = 0;
    std::uint32_t rangeTo = 0;
    std::uint8_t splitMode = 0;
    std::uint32_t splitValue = 0;
};

// What a conversion did: the counters and the error log.
struct ConversionResults {
    std::uint32_t totalHands = 0;
    std::uint32_t numBadHands = 0;
    std::uint32_t numFiles = 0;
    std::string errorLog;  // whole lines, each ending in a line feed
};

// How a conversion ended.
enum class RunResult {
    Finished,  // also when no hand could be converted
    Stopped,   // the progress callback asked to stop
    Failed,    // a path missing, the log unreadable, an output file that could not be made or written
};

// The number ConvertHands returns for a result: 1, 0 or -1.
constexpr int exportedResult(RunResult result) {
    return result == RunResult::Finished ? 1 : result == RunResult::Stopped ? 0 : -1;
}

// Converts the log at inPath into the hand-history file(s) named after outPath, reporting progress to
// callback (which may be null) and filling results. pauses: the desktop program's three 250 ms pauses
// between the steps.
RunResult convertLog(const char* inPath, const char* outPath, const ConversionOptions& options,
                     ProgressCallback callback, void* user, ConversionResults& results, bool pauses = false);

// The name of output file `number` of a split: the number and ".txt" in place of the file name's extension
// (cut at its last full stop after the last '\' or '/'), or appended when the file name has no full stop.
std::string splitFileName(std::string_view outPath, std::uint32_t number);

// The part of a path after its last '\' or '/'.
std::string_view fileNamePart(std::string_view path);

}  // namespace noxi
