// Runs the sample-log generator: the same bytes for the same seed, lines the converter takes in, the share
// of damaged lines, the numbers of several tables played at once and repeated lines. Its truth lines are
// checked against the decoder in betting/CrossCheckTest.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "tools/ToolRuns.h"

namespace {

namespace fs = std::filesystem;

using noxi::test::readFile;
using noxi::test::runLoggen;
using noxi::test::scratch;

// The lines of a text; the test fails unless every line ends in CR LF.
std::size_t crlfLines(const std::string& text) {
    EXPECT_TRUE(text.ends_with("\r\n")) << "text after the last CR LF";
    std::size_t lines = 0;
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1), ++lines)
        EXPECT_TRUE(at > 0 && text[at - 1] == '\r') << "a bare line feed at " << at;
    return lines;
}

// The lines of a log without their CR LF.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
}

std::int64_t idOf(const std::string& line) {
    EXPECT_TRUE(line.starts_with("ID=")) << line;
    return std::stoll(line.substr(3, line.find(';') - 3));
}

std::uint64_t fingerprint(const std::string& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;  // FNV-1a
    for (const char byte : bytes)
        hash = (hash ^ static_cast<unsigned char>(byte)) * 0x100000001b3ull;
    return hash;
}

// The benchmark's log and the tests' fixtures were made before there were several tables: without the new
// options, a seed must still give exactly the bytes it gave then.
TEST(Loggen, OneTableGivesTheBytesItAlwaysGave) {
    const fs::path log = scratch("one-table");
    for (const char* options : {"", "--tables 1 ", "--tables 1 --repeats 0 "}) {
        SCOPED_TRACE(options);
        ASSERT_EQ(runLoggen(std::string(options) + "--hands 300 --seed 5 --broken 0.2 --output \"" +
                            log.string() + "\""),
                  0);
        const std::string bytes = readFile(log);
        EXPECT_EQ(bytes.size(), 121615u);
        EXPECT_EQ(fingerprint(bytes), 0xb58fd255b983d133ull);
    }
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

    const std::string tables = "--hands 400 --seed 11 --broken 0.1 --tables 24 --repeats 0.05 ";
    ASSERT_EQ(runLoggen(tables + "--output \"" + first.string() + "\""), 0);
    ASSERT_EQ(runLoggen(tables + "> \"" + second.string() + "\""), 0);
    EXPECT_EQ(readFile(first), readFile(second)) << "several tables and repeats";
    EXPECT_NE(readFile(first), bytes) << "several tables";
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

TEST(Loggen, RefusesTablesAndRepeatsOutOfRange) {
    const fs::path log = scratch("refused");
    for (const char* options : {"--tables 0", "--tables 25", "--tables x", "--tables", "--repeats 0.6",
                                "--repeats -0.1", "--repeats x"}) {
        SCOPED_TRACE(options);
        EXPECT_NE(runLoggen(std::string(options) + " --hands 10 --output \"" + log.string() + "\""), 0);
    }
    EXPECT_EQ(runLoggen("--tables 24 --repeats 0.5 --hands 10 --output \"" + log.string() + "\""), 0);
}

// A player at several tables: each hand is numbered as it starts and written as it ends. The numbers stay
// unique; neighbouring lines swap now and then; a hand that drags on is written some lines late, never
// far. At 24 tables about 8 % of the lines follow a higher number and none is more than a few dozen lines
// from its place; at 2 tables hands can only swap with a neighbour or two.
TEST(Loggen, SeveralTablesInterleaveTheNumbers) {
    struct Case {
        int tables;
        double outOfOrderLow, outOfOrderHigh;
        std::size_t farthestLow, farthestHigh;
    };
    const Case cases[] = {{24, 0.06, 0.10, 20, 48}, {6, 0.03, 0.07, 4, 16}, {2, 0.01, 0.05, 1, 3}};
    const fs::path log = scratch("tables");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tables);
        ASSERT_EQ(runLoggen("--hands 10000 --seed 4 --tables " + std::to_string(c.tables) + " --output \"" +
                            log.string() + "\""),
                  0);
        std::vector<std::int64_t> ids;
        for (const std::string& line : linesOf(readFile(log)))
            ids.push_back(idOf(line));
        ASSERT_EQ(ids.size(), 10000u);
        std::vector<std::int64_t> sorted = ids;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "a repeated number";
        EXPECT_LT(sorted.back(), std::int64_t{1} << 31);

        std::size_t outOfOrder = 0;
        std::size_t farthest = 0;
        for (std::size_t at = 0; at < ids.size(); ++at) {
            if (at > 0 && ids[at] < ids[at - 1]) ++outOfOrder;
            const auto place = static_cast<std::size_t>(
                std::lower_bound(sorted.begin(), sorted.end(), ids[at]) - sorted.begin());
            farthest = std::max(farthest, place > at ? place - at : at - place);
        }
        const double share = static_cast<double>(outOfOrder) / 9999.0;
        EXPECT_GE(share, c.outOfOrderLow);
        EXPECT_LE(share, c.outOfOrderHigh);
        EXPECT_GE(farthest, c.farthestLow);
        EXPECT_LE(farthest, c.farthestHigh);

        // The converter takes in every hand and writes them all.
        noxi::test::resetOptions();
        SetFileSplit(SingleFile, 0);
        ASSERT_EQ(noxi::test::convert(log.string(), scratch("hh.txt").string()), 1);
        EXPECT_EQ(GetTotalHands(), 10000u);
        EXPECT_EQ(GetNumBadHands(), 0u) << GetErrorLog();
    }
}

// A repeated line is an earlier good line written again whole, as when a hand is written twice, not long
// after the first; the lines asked for include the repeats, and the converter keeps the first of each.
TEST(Loggen, RepeatsWriteAnEarlierGoodLineAgain) {
    const fs::path log = scratch("repeats");
    for (const int tables : {1, 24}) {
        SCOPED_TRACE(tables);
        ASSERT_EQ(runLoggen("--hands 10000 --seed 6 --repeats 0.05 --tables " + std::to_string(tables) +
                            " --output \"" + log.string() + "\""),
                  0);
        const std::vector<std::string> lines = linesOf(readFile(log));
        ASSERT_EQ(lines.size(), 10000u);
        std::map<std::int64_t, std::size_t> firstAt;  // number -> line index
        std::size_t repeated = 0;
        for (std::size_t at = 0; at < lines.size(); ++at) {
            const auto [first, isNew] = firstAt.emplace(idOf(lines[at]), at);
            if (isNew) continue;
            ++repeated;
            EXPECT_EQ(lines[at], lines[first->second]) << "line " << at;
            // One of the last 16 hands' lines, with at most a few repeats in between.
            EXPECT_LE(at - first->second, 24u) << "line " << at;
        }
        EXPECT_NEAR(static_cast<double>(repeated) / 10000.0, 0.05, 0.01);

        noxi::test::resetOptions();
        SetFileSplit(SingleFile, 0);
        ASSERT_EQ(noxi::test::convert(log.string(), scratch("hh.txt").string()), 1);
        EXPECT_EQ(GetTotalHands(), 10000u - repeated);
        EXPECT_EQ(GetNumBadHands(), 0u) << GetErrorLog();
    }
}

}  // namespace
