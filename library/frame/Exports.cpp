// The thirteen exported functions: a thin adapter over the library state and the driver. Nothing thrown
// inside may cross this boundary.

#include "NoxiConverter.h"
#include "frame/Driver.h"
#include "frame/LibraryState.h"

using noxi::libraryState;

extern "C" {

NOXI_API void SetRangeType(unsigned char type) {
    libraryState().options.rangeType = type;
}

NOXI_API void SetRangeValues(unsigned long from, unsigned long to) {
    libraryState().options.rangeFrom = static_cast<std::uint32_t>(from);
    libraryState().options.rangeTo = static_cast<std::uint32_t>(to);
}

// The mode byte carries the tracker-safe flag beside the split mode.
NOXI_API void SetFileSplit(unsigned char mode, unsigned long value) {
    libraryState().options.splitMode = static_cast<std::uint8_t>(mode & ~TrackerSafeOutput);
    libraryState().options.trackerSafe = (mode & TrackerSafeOutput) != 0;
    libraryState().options.splitValue = static_cast<std::uint32_t>(value);
}

NOXI_API void SetFixSmallBlind(bool fix) {
    libraryState().options.fixSmallBlind = fix;
}
NOXI_API void SetMake6Max(bool make6Max) {
    libraryState().options.make6Max = make6Max;
}
NOXI_API void SetRealMoney(bool realMoney) {
    libraryState().options.realMoney = realMoney;
}
NOXI_API void SetMuckHands(bool muckHands) {
    libraryState().options.muckHands = muckHands;
}
NOXI_API void SetSaveAllHole(bool saveAllHole) {
    libraryState().options.saveAllHole = saveAllHole;
}

NOXI_API int ConvertHands(char* inPath, const char* outPath, ProgressCallback callback, void* user) {
    noxi::LibraryState& state = libraryState();
    try {
        return noxi::exportedResult(noxi::convertHands(inPath, outPath, callback, user, state.options,
                                                       state.results, noxi::DriverSettings{}));
    } catch (...) {
        // Memory ran out while the hands were taken in: the run fails as a whole.
        state.results.errorLog += "ERROR: Converter failure!\n";
        return -1;
    }
}

NOXI_API const char* GetErrorLog(void) {
    return libraryState().results.errorLog.c_str();
}
NOXI_API unsigned long GetNumFiles(void) {
    return libraryState().results.numFiles;
}
NOXI_API unsigned long GetTotalHands(void) {
    return libraryState().results.totalHands;
}
NOXI_API unsigned long GetNumBadHands(void) {
    return libraryState().results.numBadHands;
}

}  // extern "C"
