// Runs the sample-log generator: the same bytes for the same seed, lines the converter takes in, the share
// of damaged lines. Its truth lines are checked against the decoder in betting/CrossCheckTest.cpp.
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

// The library, converting the logs, judges what a good line is. Without damage every line is a good hand.
TEST(Loggen, DamagedLinesComeInTheShareAskedFor) {
    const fs::path log = scratch("log");
    const fs::path truth = scratch("truth");
    for (const double share : {0.0, 0.05, 0.8}) {
        SCOPED_TRACE(share);
        ASSERT_EQ(runLoggen("--hands 2000 --seed 8 --broken " + std::to_string(share) + " --output \"" +
                            log.string() + "\" --truth \"" + truth.string() + "\""),
                  0);
        ASSERT_EQ(crlfLines(readFile(log)), 2000u);
        noxi::test::resetOptions();
        SetFileSplit(SingleFile, 0);
        ASSERT_EQ(noxi::test::convert(log.string(), scratch("hh.txt").string()), 1);
        const std::string errorLog = GetErrorLog();
        if (share == 0.0) {
            EXPECT_EQ(GetTotalHands(), 2000u) << errorLog;
        }
        // A damaged line is refused, blank, or repeats an earlier hand's number.
        const double damaged = 2000.0 - static_cast<double>(GetTotalHands());
        EXPECT_NEAR(damaged / 2000.0, share, 0.04);
        // The truth names the good hands only.
        const std::string truthText = readFile(truth);
        const auto truthLines = static_cast<double>(std::count(truthText.begin(), truthText.end(), '\n'));
        EXPECT_NEAR(truthLines, 2000.0 - damaged, 5 + 0.01 * 2000);
        if (share > 0.5) {
            // The error log's messages without their line and chunk numbers.
            std::set<std::string> kinds;
            for (std::size_t at = 0; at < errorLog.size(); at = errorLog.find('\n', at) + 1) {
                const std::size_t from = errorLog.find(": ", at) + 2;
                kinds.insert(errorLog.substr(from, errorLog.find('\n', at) - from));
            }
            EXPECT_GE(kinds.size(), 8u) << "kinds of damage seen";
        }
    }
}

}  // namespace
