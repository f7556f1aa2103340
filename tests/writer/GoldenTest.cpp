// Whole hand histories compared byte for byte with files a reader can check by eye. Set
// NOXI_UPDATE_GOLDEN=1 to rewrite the expected files from the current output (then read them!).
#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace noxi::test {
namespace {

struct GoldenCase {
    const char* name;
    const char* input;     // log under tests/data/golden/
    const char* expected;  // expected history under tests/data/golden/
    bool realMoney, make6Max, muckHands, saveAllHole, fixSmallBlind;
    bool trackerSafe = false;
    friend void PrintTo(const GoldenCase& c, std::ostream* out) { *out << c.name; }
};

class Golden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, MatchesTheExpectedHistory) {
    const GoldenCase& c = GetParam();
    const fs::path folder = fs::path(NOXI_TEST_DATA) / "golden";
    TimeZone zone(HistoryZone);
    resetOptions();
    SetRealMoney(c.realMoney);
    SetMake6Max(c.make6Max);
    SetMuckHands(c.muckHands);
    SetSaveAllHole(c.saveAllHole);
    SetFixSmallBlind(c.fixSmallBlind);
    SetFileSplit(c.trackerSafe ? SingleFile | TrackerSafeOutput : SingleFile, 0);
    TempDir temp;
    const std::string out = temp.file("out.txt");
    ASSERT_EQ(convert((folder / c.input).string(), out), 1) << GetErrorLog();

    const std::string actual = readFile(out);
    const fs::path expectedPath = folder / c.expected;
    if (std::getenv("NOXI_UPDATE_GOLDEN") != nullptr) writeFile(expectedPath, actual);
    EXPECT_EQ(actual, readFile(expectedPath)) << "output of " << c.input << " differs from " << c.expected;
}

INSTANTIATE_TEST_SUITE_P(
    Histories, Golden,
    ::testing::Values(
        // The example hand of a real-money 6-max table, first hand of its file.
        GoldenCase{"Example", "example.log", "example.expected.txt", true, true, true, false, false},
        // Side pots with rake, a split pot, everyone folding, dead posts, a missing small blind, a short big
        // blind, amounts beyond 10000, a seven-player table: real money, 6-max, losing hands mucked.
        GoldenCase{"ShowcaseRealMoney", "showcase.log", "showcase.real.expected.txt", true, true, true, false,
                   false},
        // The same log as play money with every hand shown, everyone's hole cards and the small blind fix.
        GoldenCase{"ShowcasePlayMoney", "showcase.log", "showcase.play.expected.txt", false, false, false,
                   true, true},
        // The bundled sample log with the command-line converter's default options.
        GoldenCase{"Sample", "../../../examples/GAMES_V3.LOG", "sample.expected.txt", false, false, true,
                   false, false},
        // Tracker-safe: the showcase for the reader of a real-money table, and the sample log with the
        // desktop program's first-start options.
        GoldenCase{"ShowcaseTrackerSafe", "showcase.log", "showcase.tracker.expected.txt", true, true, true,
                   false, false, true},
        GoldenCase{"SampleTrackerSafe", "../../../examples/GAMES_V3.LOG", "sample.tracker.expected.txt", true,
                   true, true, false, true, true}),
    [](const ::testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace noxi::test
