// Writing ahead (hands written while the log is first read) and saving a split's later files on a second
// thread must give exactly what the usual two steps give: the same files, counters, error log and progress
// reports, for every range, split and stop, and they must leave nothing behind in the output folder.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "frame/LogFixtures.h"

namespace noxi::test {
namespace {

std::string hand(long long id, const char* table = "T") {
    return "ID=" + std::to_string(id) + ";GAME=Texas Hold'em;TABLE=" + table +
           ";TIME=1168889400000;BTN=0;NP=2;SB=1;BB=2;PN0=a;PB0=10;PC0=AhKd;PN1=b;PB1=10;PC1=2c2d;"
           "BOARD=??????????;SEQ=sBc/k/k/k;";
}

struct Outcome {
    int result = 0;
    std::uint32_t total = 0, bad = 0, files = 0;
    std::string errorLog;
    std::vector<std::string> reports;           // stage, percent and text of every callback
    std::map<std::string, std::string> folder;  // every file left in the output folder
    bool operator==(const Outcome&) const = default;
};

struct Caller {
    std::vector<std::string>* reports;
    int stopAt;
    static bool callback(int stage, char* text, int percent, void* user) {
        auto* self = static_cast<Caller*>(user);
        self->reports->push_back(std::to_string(stage) + " " + std::to_string(percent) + " " + text);
        return static_cast<int>(self->reports->size()) != self->stopAt;
    }
};

// The ways of converting: the usual two steps on one thread (each hand taken in again from its place); the
// same with the betting decoded on a second thread a batch at a time (of one, two or three records) and a
// split's later files saved on it; and hands written while the log is first read.
enum class Way { Usual, Batch1, Batch2, Batch3, WrittenAhead };

// One conversion of `log` into a fresh folder holding an earlier output, in one of the ways.
Outcome convertOnce(const std::string& log, Way way, int stopAt, std::size_t readBlockSize = 64,
                    WriteAhead::Limits window = {}) {
    TempDir in;
    TempDir out;
    writeFile(in.path() / "GAMES_V3.LOG", log);
    writeFile(out.path() / "hh.txt", "old history");
    writeFile(out.path() / "hh1.txt", "old history");
    Outcome run;
    Caller caller{&run.reports, stopAt};
    run.result = convert(in.file("GAMES_V3.LOG"), out.file("hh.txt"),
                         stopAt >= 0 ? &Caller::callback : nullptr, &caller,
                         {.writeBlockSize = 300,
                          .writeAhead = way == Way::WrittenAhead,
                          .saveAhead = way != Way::Usual,
                          .decodeOnThread = way != Way::Usual,
                          .decodeBatch = way == Way::Batch1   ? 1u
                                         : way == Way::Batch2 ? 2u
                                                              : 3u,
                          .readBlockSize = readBlockSize,
                          .window = window});
    run.total = GetTotalHands();
    run.bad = GetNumBadHands();
    run.files = GetNumFiles();
    run.errorLog = GetErrorLog();
    for (const auto& entry : fs::directory_iterator(out.path()))
        run.folder[entry.path().filename().string()] = readFile(entry.path());
    return run;
}

const std::vector<std::string> InOrder = {hand(3), "junk",  hand(5),  hand(5, "Again"),
                                          hand(8), "ID=9;", hand(13), hand(21)};
// Neighbours swapped, as a player at several tables writes them, and a number repeated: within the window.
const std::vector<std::string> OutOfOrder = {hand(3), hand(8), hand(5), hand(13), hand(8, "Again"), hand(9)};
// A hand later than a window of one hand can wait for.
const std::vector<std::string> Late = {hand(3), hand(8), hand(13), hand(5), hand(21)};

struct Options {
    unsigned char rangeType;
    unsigned long from, to;
    unsigned char split;
    unsigned long value;
};

TEST(WriteAhead, SameResultsAsTheUsualWayForEveryRangeSplitAndStop) {
    resetOptions();
    SetRealMoney(true);
    const Options options[] = {
        {RangeAll, 0, 0, SingleFile, 0},           {RangeAll, 0, 0, 0, 0},
        {RangeFirst, 2, 0, SingleFile, 0},         {RangeFirst, 0, 0, SingleFile, 0},
        {RangeBetween, 5, 13, SingleFile, 0},      {RangeLast, 2, 0, SingleFile, 0},
        {RangeAll, 0, 0, SplitByHandsPerFile, 2},  {RangeAll, 0, 0, SplitByFileCount, 0},
        {RangeAll, 0, 0, SplitByFileCount, 2},     {RangeBetween, 4, 13, SplitByFileCount, 3},
        {RangeFirst, 3, 0, SplitByHandsPerFile, 2}};
    // The usual window, and a window of one hand that the late hand and the swapped ones overrun.
    const WriteAhead::Limits windows[] = {{}, {.bytes = 1, .hands = 1}};
    for (const auto& log : {lines(InOrder), lines(OutOfOrder), lines(Late)}) {
        for (const Options& o : options) {
            SetRangeType(o.rangeType);
            SetRangeValues(o.from, o.to);
            SetFileSplit(o.split, o.value);
            // No callback, a callback that never stops, and a stop at every report it makes.
            const Outcome full = convertOnce(log, Way::Usual, 0);
            for (int stopAt = -1; stopAt <= static_cast<int>(full.reports.size()); ++stopAt) {
                const Outcome usual = convertOnce(log, Way::Usual, stopAt);
                for (Way way : {Way::Batch1, Way::Batch2, Way::Batch3}) {
                    EXPECT_EQ(convertOnce(log, way, stopAt), usual)
                        << "range " << int(o.rangeType) << " split " << int(o.split) << " stop at " << stopAt
                        << " on threads, batch " << int(way);
                }
                for (const WriteAhead::Limits& window : windows) {
                    EXPECT_EQ(convertOnce(log, Way::WrittenAhead, stopAt, 64, window), usual)
                        << "range " << int(o.rangeType) << " split " << int(o.split) << " stop at " << stopAt
                        << " window " << window.hands;
                }
            }
        }
    }
}

// Whether hands are written ahead shows in the output folder while the log is read: a scratch file beside
// the output. Hands a little out of order are; a hand later than the window ends it, and the scratch file
// goes at once.
TEST(WriteAhead, HandsOutOfOrderWithinTheWindowAreWrittenAhead) {
    resetOptions();
    SetFileSplit(SingleFile, 0);
    struct Watcher {
        fs::path folder;
        std::vector<std::size_t> files;  // entries in the output folder at each processing report
        static bool callback(int stage, char*, int percent, void* user) {
            auto* self = static_cast<Watcher*>(user);
            if (stage == StageProcessing && percent > 0) {
                self->files.push_back(static_cast<std::size_t>(
                    std::distance(fs::directory_iterator(self->folder), fs::directory_iterator{})));
            }
            return true;
        }
    };
    const auto watch = [](const std::vector<std::string>& records, WriteAhead::Limits window) {
        TempDir temp;
        writeFile(temp.path() / "GAMES_V3.LOG", lines(records));
        Watcher watcher{temp.path(), {}};
        EXPECT_EQ(convert(temp.file("GAMES_V3.LOG"), temp.file("hh.txt"), &Watcher::callback, &watcher,
                          {.window = window}),
                  1);
        return watcher.files;  // the log, and the scratch file while hands are written ahead
    };
    EXPECT_EQ(watch(OutOfOrder, {}), std::vector<std::size_t>(OutOfOrder.size(), 2));
    EXPECT_EQ(watch(Late, {.bytes = 1, .hands = 1}), (std::vector<std::size_t>{2, 2, 2, 1, 1}));
}

// A good hand on a line of many thousand bytes: unknown chunks before its own.
std::string longHand(long long id) {
    std::string chunks;
    for (int k = 0; k < 1500; ++k)
        chunks += "Y=" + std::to_string(k) + ";";
    return chunks + goodHand(id);
}

// The log is read in windows; wherever a window ends (in a run of line ends, blanks or NULs, inside a line
// longer than the widest window) the records come out as from one window that holds the whole log, written
// ahead or not.
TEST(WriteAhead, ReadingInWindowsTakesInTheSameRecords) {
    resetOptions();
    const std::string nul(1, '\0');
    const std::string logs[] = {
        goodHands(1, 4, "\n") + "\r\n  \r\r\n\n" + goodHands(5, 6, "\r") + "   " + goodHand(7),
        nul + goodHand(1) + "\n" + nul + "\n\n" + std::string(3, '\0') + goodHand(2) + "\r\n" + nul,
        goodHand(1) + "\n" + std::string(300, 'x') + "\n" + goodHand(2) + std::string(200, ';') + "\n",
        "\n\n  " + goodHands(1, 3) + std::string(100, '\n') + "ID=4;" + "\r\n" + goodHand(5) + "\n",
        goodHands(1, 3) + goodHand(2) + "\n" + goodHand(4),
        // A line far wider than the window, taken in chunk by chunk.
        goodHand(1) + "\n" + handWith(2, {{"X", std::string(4000, 'x').replace(0, 2, "X=")}}) +
            std::string(3000, ';') + "\r\n" + longHand(3) + "\n" + goodHand(4)};
    for (const std::string& log : logs) {
        const Outcome whole = convertOnce(log, Way::Usual, 0, std::size_t{1} << 20);
        for (std::size_t block : {1, 2, 3, 7, 50, 199, 4096}) {
            for (Way way : {Way::Usual, Way::Batch2, Way::WrittenAhead})
                EXPECT_EQ(convertOnce(log, way, 0, block), whole) << "window " << block;
        }
    }
}

// A log cut short while its windows are read is a failure, and the earlier output stays as it was.
TEST(WriteAhead, ALogCutShortWhileItIsReadFailsAndKeepsTheEarlierOutput) {
    resetOptions();
    SetFileSplit(SingleFile, 0);
    TempDir temp;
    writeFile(temp.path() / "GAMES_V3.LOG", goodHands(1, 200));
    writeFile(temp.path() / "hh.txt", "old history");
    struct Cutter {
        fs::path log;
        static bool callback(int stage, char*, int, void* user) {
            if (stage == StageProcessing) fs::resize_file(static_cast<Cutter*>(user)->log, 100);
            return true;
        }
    } cutter{temp.path() / "GAMES_V3.LOG"};
    // Written ahead, and read a batch ahead of the records handed out (the betting decoded on a thread).
    for (bool writeAhead : {true, false}) {
        writeFile(temp.path() / "GAMES_V3.LOG", goodHands(1, 200));
        EXPECT_EQ(convert(temp.file("GAMES_V3.LOG"), temp.file("hh.txt"), &Cutter::callback, &cutter,
                          {.writeAhead = writeAhead, .readBlockSize = 1000}),
                  -1);
        EXPECT_EQ(readFile(temp.path() / "hh.txt"), "old history");
        EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator{}), 2);
    }
}

// An earlier output with a second name is written where it is, so that every name of it shows the new
// histories (a scratch file taking its name would leave the other name with the old ones).
TEST(WriteAhead, AnExistingOutputWithASecondNameIsWrittenWhereItIs) {
    resetOptions();
    SetFileSplit(SingleFile, 0);
    TempDir temp;
    writeFile(temp.path() / "GAMES_V3.LOG", lines(InOrder));
    writeFile(temp.path() / "hands.txt", "old");
    fs::create_hard_link(temp.path() / "hands.txt", temp.path() / "second name.txt");
    ASSERT_EQ(convert(temp.file("GAMES_V3.LOG"), temp.file("hands.txt")), 1);
    const std::string written = readFile(temp.path() / "hands.txt");
    EXPECT_TRUE(written.ends_with("Table Closed\r\n"));
    EXPECT_EQ(readFile(temp.path() / "second name.txt"), written);
}

#ifndef _WIN32
// An earlier output reached through a link is written through it and keeps its permissions.
TEST(WriteAhead, AnExistingOutputKeepsItsLinkAndPermissions) {
    resetOptions();
    SetFileSplit(SingleFile, 0);
    TempDir temp;
    writeFile(temp.path() / "GAMES_V3.LOG", lines(InOrder));
    const fs::path real = temp.path() / "hands.txt";
    writeFile(real, "old");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(real, temp.path() / "link.txt");
    ASSERT_EQ(convert(temp.file("GAMES_V3.LOG"), temp.file("link.txt")), 1);
    EXPECT_TRUE(fs::is_symlink(temp.path() / "link.txt"));
    EXPECT_TRUE(readFile(real).ends_with("Table Closed\r\n"));
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}
#endif

}  // namespace
}  // namespace noxi::test
