// The hand index and the selection: hand number order, repeated numbers, the range of hands and the number
// of hands per file, each rule in a case of its own.
#include "frame/HandIndex.h"

#include <gtest/gtest.h>

#include <vector>

namespace noxi {
namespace {

std::vector<std::uint32_t> ids(const HandIndex& index) {
    std::vector<std::uint32_t> out;
    for (std::size_t k = 0; k < index.size(); ++k)
        out.push_back(index[k].id);
    return out;
}

TEST(HandIndex, OrdersByNumberAsUnsignedAndKeepsTheFirstRecordOfARepeatedNumber) {
    HandIndex index;
    const std::uint32_t numbers[] = {7, 0xFFFFFFFF, 3, 7, 1, 3, 0x80000000};
    std::uint64_t offset = 0;
    for (const std::uint32_t id : numbers)
        index.add(id, offset += 100);
    index.order();
    EXPECT_EQ(ids(index), (std::vector<std::uint32_t>{1, 3, 7, 0x80000000, 0xFFFFFFFF}));
    // The first record in the log of numbers 3 and 7.
    EXPECT_EQ(index[1].offset(), 300u);
    EXPECT_EQ(index[2].offset(), 100u);
}

TEST(HandIndex, AnIndexInOrderStaysAsItIs) {
    HandIndex index;
    for (std::uint32_t id = 1; id <= 5; ++id)
        index.add(id, id * 10);
    index.add(5, 60);
    index.order();
    EXPECT_EQ(ids(index), (std::vector<std::uint32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(index[4].offset(), 50u);
}

TEST(HandIndex, TellsWhetherTheLastHandRepeatsANumberJustBefore) {
    HandIndex index;
    for (const std::uint32_t id : {5, 9, 7, 9})
        index.add(id, id);
    EXPECT_TRUE(index.lastRepeats(2));
    EXPECT_FALSE(index.lastRepeats(1));  // only the hand just before is looked at
    index.add(4, 0);
    EXPECT_FALSE(index.lastRepeats(100));
}

struct RangeCase {
    std::uint8_t type;
    std::uint32_t from, to;
    std::vector<bool> selected;  // positions 0..4 of hands numbered 10, 20, ..., 50
};

TEST(Selection, EveryRangeType) {
    const RangeCase cases[] = {
        {RangeAll, 0, 0, {true, true, true, true, true}},
        {RangeFirst, 2, 0, {true, true, false, false, false}},
        {RangeFirst, 0, 0, {false, false, false, false, false}},
        {RangeLast, 2, 0, {false, false, false, true, true}},
        {RangeLast, 5, 0, {true, true, true, true, true}},
        {RangeLast, 9, 0, {true, true, true, true, true}},
        {RangeBetween, 20, 40, {false, true, true, true, false}},
        {RangeBetween, 40, 20, {false, false, false, false, false}},
        {9, 0, 100, {false, false, false, false, false}},
    };
    for (const RangeCase& c : cases) {
        ConversionOptions options;
        options.rangeType = c.type;
        options.rangeFrom = c.from;
        options.rangeTo = c.to;
        const Selection selection(options);
        std::vector<bool> selected;
        for (std::size_t position = 0; position < 5; ++position)
            selected.push_back(
                selection.selects(position, static_cast<std::uint32_t>(10 * (position + 1)), 5));
        EXPECT_EQ(selected, c.selected) << int(c.type) << " " << c.from << " " << c.to;
        EXPECT_EQ(selection.selectionNeedsCount(), c.type == RangeLast);
    }
}

TEST(Selection, NoHandFromThePositionOnWhereTheFirstHandsEnd) {
    ConversionOptions options;
    options.rangeType = RangeFirst;
    options.rangeFrom = 3;
    const Selection selection(options);
    EXPECT_FALSE(selection.noneFrom(2));
    EXPECT_TRUE(selection.noneFrom(3));
    EXPECT_TRUE(selection.mayWrite(2, 99));
    EXPECT_FALSE(selection.mayWrite(3, 1));
    ConversionOptions between;
    between.rangeType = RangeBetween;
    between.rangeFrom = 3;
    between.rangeTo = 5;
    EXPECT_TRUE(Selection(between).mayWrite(1000, 4));
    EXPECT_FALSE(Selection(between).mayWrite(0, 6));
}

TEST(Selection, HandsPerFileForEachSplitMode) {
    const struct {
        std::uint8_t mode;
        std::uint32_t value, selected, perFile;
    } cases[] = {
        {SplitByFileCount, 3, 10, 3},  // four files: 3, 3, 3 and 1
        {SplitByFileCount, 4, 10, 3},  // 2.5 rounds half up
        {SplitByFileCount, 3, 1, 0},   // one file
        {SplitByFileCount, 0, 10, 0},  // no count: one file
        {SplitByHandsPerFile, 2, 5, 2}, {SplitByHandsPerFile, 0, 5, 0}, {SingleFile, 4, 10, 0}, {0, 4, 10, 0},
    };
    for (const auto& c : cases) {
        ConversionOptions options;
        options.splitMode = c.mode;
        options.splitValue = c.value;
        const Selection selection(options);
        EXPECT_EQ(selection.handsPerFile(c.selected), c.perFile) << int(c.mode) << " " << c.value;
        EXPECT_EQ(selection.filesNeedCount(), c.mode == SplitByFileCount && c.value > 0);
        EXPECT_EQ(selection.singleFile(), c.mode == SingleFile);
    }
}

}  // namespace
}  // namespace noxi
