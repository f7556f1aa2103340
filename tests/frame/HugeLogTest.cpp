// Logs above 2 GiB: offsets past 32 bits, and a single line longer than a record's length can count. These
// write gigabytes to the temporary folder and take minutes, so they carry the label "huge" and the test
// command leaves them out; run them with `ctest -L huge`.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "frame/LogFixtures.h"

namespace noxi::test {
namespace {

constexpr std::uint64_t TwoGiB = std::uint64_t{1} << 31;

bool lastProcessing(int stage, char*, int percent, void* user) {
    if (stage == StageProcessing) *static_cast<int*>(user) = percent;
    return true;
}

TEST(HugeLog, MillionsOfHandsPastTwoGigabytes) {
    TempDir temp;
    resetOptions();
    const fs::path in = temp.path() / "GAMES_V3.LOG";
    constexpr std::uint64_t Target = TwoGiB + (std::uint64_t{1} << 28);  // 2.25 GiB
    std::uint64_t records = 0;
    long long id = 1;
    {
        // Every 100,000th record is bad.
        std::ofstream out(in, std::ios::binary);
        for (std::uint64_t size = 0; size < Target;) {
            std::string block;
            while (block.size() < (1u << 20))
                block += (++records % 100000 == 0 ? std::string("x") : goodHand(id++)) + "\r\n";
            out << block;
            size += block.size();
        }
        out << goodHand(1) << "\r\n";  // a repeated number at the very end adds nothing
        ASSERT_TRUE(out.good());
    }
    ASSERT_GT(fs::file_size(in), TwoGiB);
    const long long last = id - 1;
    const std::uint64_t bad = records / 100000;

    // Only the last thousand hands are written: their records lie past 2 GiB in the log.
    SetRangeType(RangeLast);
    SetRangeValues(1000, 0);
    SetFileSplit(SingleFile, 0);
    int processing = -1;
    ASSERT_EQ(convert(in.string(), temp.file("out.txt"), lastProcessing, &processing), 1);
    EXPECT_EQ(processing, 100);
    EXPECT_EQ(GetNumBadHands(), bad);
    EXPECT_EQ(GetTotalHands(), 1000u);
    EXPECT_EQ(writtenIds(readFile(temp.file("out.txt"))), idRange(last - 999, last));
    const std::string errors = GetErrorLog();
    EXPECT_EQ(lineCount(errors), bad);
    EXPECT_TRUE(errors.starts_with("ERROR on Line 100000, Chunk 1: Not a hand history.\n"));
    EXPECT_TRUE(errors.ends_with("ERROR on Line " + std::to_string(bad * 100000) +
                                 ", Chunk 1: Not a hand history.\n"));

    // The same hands chosen by number are written while the log is read in windows, to the same file.
    SetRangeType(RangeBetween);
    SetRangeValues(static_cast<unsigned long>(last - 999), static_cast<unsigned long>(last));
    ASSERT_EQ(convert(in.string(), temp.file("between.txt")), 1);
    EXPECT_EQ(GetNumBadHands(), bad);
    EXPECT_EQ(std::string(GetErrorLog()), errors);
    EXPECT_EQ(readFile(temp.file("between.txt")), readFile(temp.file("out.txt")));
}

TEST(HugeLog, ALineLongerThanARecordCanCount) {
    TempDir temp;
    resetOptions();
    const fs::path in = temp.path() / "GAMES_V3.LOG";
    {
        std::ofstream out(in, std::ios::binary);
        out << goodHand(1) << "\r\n";
        std::string block;
        for (int i = 0; i < (1 << 18); ++i)
            block += "X=1;";  // unknown chunks: each is accepted and the record runs on
        for (std::uint64_t written = 0; written < TwoGiB + (std::uint64_t{1} << 24); written += block.size())
            out << block;
        out << "\r\n" << goodHand(2) << "\r\n" << goodHand(3) << "\r\n";
        ASSERT_TRUE(out.good());
    }
    ASSERT_EQ(convert(in.string(), temp.file("out.txt")), 1);
    // 536,870,911 chunks of four characters fit below 2^31; the next one does not.
    EXPECT_EQ(std::string(GetErrorLog()), "ERROR on Line 2, Chunk 536870912: Not a hand history.\n");
    EXPECT_EQ(GetNumBadHands(), 1u);
    EXPECT_EQ(writtenIds(readFile(temp.file("out1.txt"))), idRange(1, 3));
}

}  // namespace
}  // namespace noxi::test
