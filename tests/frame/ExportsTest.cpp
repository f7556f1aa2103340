#include <gtest/gtest.h>

#include "NoxiConverter.h"
#include "frame/LibraryState.h"

namespace noxi {
namespace {

TEST(Exports, SettersStoreTheirValuesUnchecked) {
    attachLibrary();
    SetRangeType(77);
    SetRangeValues(4000000000UL, 12);
    SetFileSplit(5, 3);
    SetFixSmallBlind(true);
    SetMake6Max(true);
    SetRealMoney(true);
    SetMuckHands(false);
    SetSaveAllHole(true);
    const ConversionOptions& options = libraryState().options;
    EXPECT_EQ(options.rangeType, 77);
    EXPECT_EQ(options.rangeFrom, 4000000000u);
    EXPECT_EQ(options.rangeTo, 12u);
    EXPECT_EQ(options.splitMode, 5);
    EXPECT_EQ(options.splitValue, 3u);
    EXPECT_TRUE(options.fixSmallBlind && options.make6Max && options.realMoney && options.saveAllHole);
    EXPECT_FALSE(options.muckHands);
    // Loading the library again brings back the start values; the counters' and the error log's are shown by
    // CHeaderTest.c through the shared library.
    attachLibrary();
    EXPECT_TRUE(options.muckHands);
    EXPECT_FALSE(options.fixSmallBlind || options.realMoney || options.make6Max || options.saveAllHole);
    EXPECT_EQ(options.rangeType, 0);
    EXPECT_EQ(options.splitMode, 0);
    EXPECT_EQ(options.rangeFrom + options.rangeTo + options.splitValue, 0u);
}

}  // namespace
}  // namespace noxi
