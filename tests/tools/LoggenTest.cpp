// Runs the sample-log generator and checks what it writes: the same bytes for the same seed, lines the
// converter takes in whole, and the share of damaged lines. Its truth lines are checked against the decoder
// in betting/CrossCheckTest.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>

#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

using noxi::test::readFile;

// A file in a folder of this test program's own, removed at its end.
fs::path scratch(const std::string& name) {
    static const noxi::test::TempDir folder;
    return folder.path() / name;
}

int runLoggen(const std::string& arguments) {
    std::string command = std::string("\"") + LOGGEN_PATH + "\" " + arguments;
#ifdef _WIN32
    // cmd /c takes away the first and the last quote of a command line that starts with one.
    command = "\"" + command + "\"";
#endif
    return std::system(command.c_str());
}

// The lines of a text; the test fails unless every line ends in CR LF.
std::size_t crlfLines(const std::string& text) {
    EXPECT_TRUE(text.ends_with("\r\n")) << "text after the last CR LF";
    std::size_t lines = 0;
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1), ++lines)
        EXPECT_TRUE(at > 0 && text[at - 1] == '\r') << "a bare line feed at " << at;
    return lines;
}

struct Generated {
    std::size_t lines = 0;
    std::string truth;
    unsigned long converted = 0;  // distinct hands the converter took in
    std::string errorLog;
};

// Generates a log and converts it with the library, which is the judge of what a good line is.
Generated generate(const std::string& arguments) {
    const fs::path log = scratch("log");
    const fs::path truth = scratch("truth");
    EXPECT_EQ(runLoggen(arguments + " --output \"" + log.string() + "\" --truth \"" + truth.string() + "\""),
              0);
    noxi::test::resetOptions();
    SetFileSplit(SingleFile, 0);
    EXPECT_EQ(noxi::test::convert(log.string(), scratch("hh.txt").string()), 1);
    return {crlfLines(readFile(log)), readFile(truth), GetTotalHands(), GetErrorLog()};
}

TEST(Loggen, SameSeedAndOptionsGiveTheSameBytes) {
    const fs::path first = scratch("first");
    const fs::path second = scratch("second");
    const fs::path other = scratch("other");
    ASSERT_EQ(runLoggen("--hands 400 --seed 11 --broken 0.1 --output \"" + first.string() + "\""), 0);
    ASSERT_EQ(runLoggen("--seed=11 --broken=0.1 --hands=400 > \"" + second.string() + "\""), 0);
    ASSERT_EQ(runLoggen("--hands 400 --seed 12 --broken 0.1 --output \"" + other.string() + "\""), 0);
    const std::string bytes = readFile(first);
    EXPECT_GT(bytes.size(), 400u * 150);
    EXPECT_EQ(bytes, readFile(second)) << "the same seed through standard output";
    EXPECT_NE(bytes, readFile(other)) << "another seed";
}

// Without damage every line is a hand the converter takes in.
TEST(Loggen, DamagedLinesComeInTheShareAskedFor) {
    for (const double share : {0.0, 0.05, 0.8}) {
        const Generated out = generate("--hands 2000 --seed 8 --broken " + std::to_string(share));
        ASSERT_EQ(out.lines, 2000u);
        // A damaged line is refused, blank, or repeats an earlier hand's number.
        const double damaged = 2000.0 - static_cast<double>(out.converted);
        if (share == 0.0) {
            EXPECT_EQ(out.converted, 2000u) << out.errorLog;
        }
        EXPECT_NEAR(damaged / 2000.0, share, 0.04) << share;
        // The truth names the good hands only.
        const auto truthLines = static_cast<double>(std::count(out.truth.begin(), out.truth.end(), '\n'));
        EXPECT_NEAR(truthLines, 2000.0 - damaged, 5 + 0.01 * 2000) << share;
        if (share > 0.5) {
            // The error log's messages without their line and chunk numbers.
            std::set<std::string> kinds;
            for (std::size_t at = 0; at < out.errorLog.size(); at = out.errorLog.find('\n', at) + 1) {
                const std::size_t from = out.errorLog.find(": ", at) + 2;
                kinds.insert(out.errorLog.substr(from, out.errorLog.find('\n', at) - from));
            }
            EXPECT_GE(kinds.size(), 8u) << "kinds of damage seen";
        }
    }
}

}  // namespace
