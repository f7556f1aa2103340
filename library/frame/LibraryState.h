// The library-wide options and results behind the thirteen exports.
#pragma once

#include <cstdint>
#include <string>

namespace noxi {

// What the setters store; read by the driver, the intake and the writer.
struct ConversionOptions {
    bool fixSmallBlind = false;
    bool realMoney = false;
    bool make6Max = false;
    bool muckHands = true;  // beaten hands are mucked unless told otherwise
    bool saveAllHole = false;
    std::uint8_t rangeType = 0;
    std::uint32_t rangeFrom = 0;
    std::uint32_t rangeTo = 0;
    std::uint8_t splitMode = 0;
    std::uint32_t splitValue = 0;
};

// What the last conversion left for the getters.
struct ConversionResults {
    std::uint32_t totalHands = 0;
    std::uint32_t numBadHands = 0;
    std::uint32_t numFiles = 0;
    std::string errorLog;  // whole lines, each ending in a line feed
};

struct LibraryState {
    ConversionOptions options;
    ConversionResults results;
};

// The one state of the loaded library. No locks: one conversion at a time.
LibraryState& libraryState();

// The state of a library just attached to a process: every option at its start value, counters at 0.
void attachLibrary();

}  // namespace noxi
