#include <gtest/gtest.h>

#include "NoxiConverter.h"
#include "frame/LibraryState.h"

namespace noxi {
namespace {

// Loading the library again brings back the options' start values, whatever the setters stored (the
// counters' and the error log's are shown by CHeaderTest.c through the shared library).
TEST(Exports, LoadingTheLibraryRestoresTheStartValues) {
    attachLibrary();
    SetRangeType(77);
    SetRangeValues(4000000000UL, 12);
    SetFileSplit(5 | TrackerSafeOutput, 3);
    SetFixSmallBlind(true);
    SetMake6Max(true);
    SetRealMoney(true);
    SetMuckHands(false);
    SetSaveAllHole(true);
    attachLibrary();
    const ConversionOptions& options = libraryState().options;
    EXPECT_TRUE(options.muckHands);
    EXPECT_FALSE(options.fixSmallBlind || options.realMoney || options.make6Max || options.saveAllHole ||
                 options.trackerSafe);
    EXPECT_EQ(options.rangeType, 0);
    EXPECT_EQ(options.splitMode, 0);
    EXPECT_EQ(options.rangeFrom + options.rangeTo + options.splitValue, 0u);
}

// The tracker-safe flag rides in SetFileSplit's mode byte; every mode keeps its meaning beside it.
TEST(Exports, TheTrackerSafeFlagInTheSplitMode) {
    attachLibrary();
    const ConversionOptions& options = libraryState().options;
    const int modes[] = {SplitByFileCount, SplitByHandsPerFile, SingleFile, 0, 0x7F};
    for (const int mode : modes) {
        SetFileSplit(static_cast<unsigned char>(mode | TrackerSafeOutput), 2);
        EXPECT_EQ(options.splitMode, mode);
        EXPECT_TRUE(options.trackerSafe);
        SetFileSplit(static_cast<unsigned char>(mode), 2);
        EXPECT_EQ(options.splitMode, mode);
        EXPECT_FALSE(options.trackerSafe);
    }
    attachLibrary();
}

}  // namespace
}  // namespace noxi
