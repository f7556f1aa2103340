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
    SetFileSplit(5, 3);
    SetFixSmallBlind(true);
    SetMake6Max(true);
    SetRealMoney(true);
    SetMuckHands(false);
    SetSaveAllHole(true);
    attachLibrary();
    const ConversionOptions& options = libraryState().options;
    EXPECT_TRUE(options.muckHands);
    EXPECT_FALSE(options.fixSmallBlind || options.realMoney || options.make6Max || options.saveAllHole);
    EXPECT_EQ(options.rangeType, 0);
    EXPECT_EQ(options.splitMode, 0);
    EXPECT_EQ(options.rangeFrom + options.rangeTo + options.splitValue, 0u);
}

}  // namespace
}  // namespace noxi
