// Following a growing log: complete lines only, each number once, damaged lines in the error log, the
// closing line only at the end, resuming without a hand twice or missing, a log cut short or replaced, the
// folder of tables and the numbered files.
#include "frame/Follow.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "frame/LogFixtures.h"

#ifdef _WIN32
#include <windows.h>
#endif
#include "platform/Platform.h"

namespace noxi::test {
namespace {

constexpr std::string_view Closed = "Table Closed\r\n";

// Lines of the error log, which ends them as the platform's text files do, as a conversion's error log is
// written by the programs.
std::string errorLines(std::string_view text) {
    std::string lines;
    for (const char c : text)
        lines += c == '\n' ? std::string(platform::TextLineEnd) : std::string(1, c);
    return lines;
}

class Follow : public ::testing::Test {
protected:
    Follow() {
        settings.log = temp.file("GAMES_V3.LOG");
        settings.output = temp.file("hands.txt");
        settings.errorLog = temp.file("errorLog.txt");
        settings.options.splitMode = SingleFile;
    }

    void append(const std::string& text) {
        std::ofstream out(settings.log, std::ios::binary | std::ios::app);
        out << text;
    }
    // One step of a follower that is kept between calls, as vlconvert keeps it.
    FollowProgress step() {
        if (!follower) {
            follower = std::make_unique<LogFollower>(settings);
            EXPECT_TRUE(follower->start()) << follower->error();
        }
        EXPECT_TRUE(follower->step(progress)) << follower->error();
        return progress;
    }
    void finish() {
        ASSERT_TRUE(follower->finish()) << follower->error();
        follower.reset();
    }
    // What a conversion of the log as it is now writes into one file.
    std::string batch() {
        resetOptions();
        SetFileSplit(SingleFile, 0);
        EXPECT_EQ(convert(settings.log, temp.file("batch.txt")), 1);
        return readFile(temp.file("batch.txt"));
    }
    std::string output() const { return readFile(settings.output); }

    TempDir temp;
    TimeZone zone{HistoryZone};
    FollowSettings settings;
    std::unique_ptr<LogFollower> follower;
    FollowProgress progress;  // the session's, kept from step to step as vlconvert keeps it
};

TEST_F(Follow, WritesWhatTheLogHoldsThenEachLineAppended) {
    append(goodHands(1, 3));
    EXPECT_EQ(step().written, 3u);
    append(goodHands(4, 5));
    step();
    EXPECT_EQ(progress.written, 2u);
    EXPECT_EQ(progress.sessionWritten, 5u);
    EXPECT_EQ(progress.lastHand, 5u);
    EXPECT_EQ(progress.lastHandTime, "14:30:00");
    // No closing line while following: a tracker reads the file as it grows.
    EXPECT_FALSE(output().ends_with(Closed));
    finish();
    EXPECT_EQ(output(), batch());
}

TEST_F(Follow, OnlyCompleteLinesAreTaken) {
    const std::string hand = goodHand(2);
    append(goodHand(1) + "\r\n" + hand.substr(0, 40));
    EXPECT_EQ(step().written, 1u);
    append(hand.substr(40));
    EXPECT_EQ(step().written, 0u);  // the line end has not come yet
    append("\r");
    EXPECT_EQ(step().written, 1u);
    append("\n" + goodHand(3) + "\n");  // the LF of the CR LF comes with the next line
    step();
    EXPECT_EQ(progress.written, 1u);
    EXPECT_EQ(progress.skipped, 0u);
    finish();
    EXPECT_EQ(output(), batch());
}

TEST_F(Follow, ARepeatedNumberIsSkippedAndADamagedLineLogged) {
    append(goodHands(1, 2) + "ID=x;\r\n" + goodHand(2) + "\r\n" + goodHand(3) + "\r\n");
    step();
    EXPECT_EQ(progress.written, 3u);
    EXPECT_EQ(progress.skipped, 1u);
    append("junk\r\n");
    step();
    finish();
    EXPECT_EQ(readFile(settings.errorLog), errorLines("ERROR on Line 3, Chunk 1: ID must be a number.\n"
                                                      "ERROR on Line 6, Chunk 1: Not a hand history.\n"));
    EXPECT_EQ(output(), batch());
}

TEST_F(Follow, ResumesWhereItStoppedWithoutTheClosingLine) {
    append(goodHands(1, 2) + "bad\r\n");
    step();
    finish();
    EXPECT_TRUE(output().ends_with(Closed));
    append(goodHands(3, 4) + "worse\r\n");
    EXPECT_EQ(step().written, 2u);
    EXPECT_FALSE(output().ends_with(Closed));
    finish();
    EXPECT_EQ(output(), batch());
    EXPECT_EQ(readFile(settings.errorLog), errorLines("ERROR on Line 3, Chunk 1: Not a hand history.\n"
                                                      "ERROR on Line 6, Chunk 1: Not a hand history.\n"));
}

// A crash after hands reached the files but before the state told of them: what the files hold beyond the
// state is taken off and converted again, so no hand is there twice and none is missing.
TEST_F(Follow, ACrashBeforeTheStateWasSavedLosesNothingAndDoublesNothing) {
    append(goodHands(1, 2));
    step();
    follower.reset();  // as a crash: no closing line, no last save
    const std::string saved = output();
    {
        std::ofstream out(settings.output, std::ios::binary | std::ios::app);
        out << "Game #3 starts.\r\n\r\n#Game No : 3 \r\nhalf a hand";
    }
    {
        std::ofstream out(settings.errorLog, std::ios::binary | std::ios::app);
        out << "ERROR on Line 3: a line of a lost batch\n";
    }
    append("bad\r\n" + goodHands(3, 4));
    step();
    finish();
    EXPECT_EQ(output(), batch());
    EXPECT_EQ(readFile(settings.errorLog), errorLines("ERROR on Line 3, Chunk 1: Not a hand history.\n"));
}

// A conversion into the file being followed into replaces it: following does not cut the new file back to
// the size it knew, it refuses to go on.
TEST_F(Follow, AnOutputReplacedMeanwhileIsNotTakenUp) {
    append(goodHands(1, 2));
    step();
    finish();
    append(goodHands(3, 5));
    resetOptions();
    SetFileSplit(SingleFile, 0);
    ASSERT_EQ(convert(settings.log, settings.output), 1);
    const std::string converted = output();
    LogFollower again(settings);
    EXPECT_FALSE(again.start());
    EXPECT_NE(again.error().find("was replaced since following stopped"), std::string::npos) << again.error();
    EXPECT_EQ(output(), converted);
}

#ifdef _WIN32
// A file another program holds without sharing it (a tracker importing it) is written when it is free again;
// nothing is lost. (Only Windows lets a program hold a file so.)
TEST_F(Follow, AFileHeldByAnotherProgramIsWrittenLater) {
    append(goodHands(1, 2));
    step();
    HANDLE held = CreateFileA(settings.output.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    append(goodHands(3, 4));
    step();
    EXPECT_EQ(progress.written, 2u);
    EXPECT_EQ(writtenIds(output()), idRange(1, 2));
    CloseHandle(held);
    step();  // no new line: the hands that waited are written
    EXPECT_EQ(writtenIds(output()), idRange(1, 4));
    finish();
    EXPECT_EQ(output(), batch());
}
#endif

TEST_F(Follow, ALogCutShortIsReadFromItsStartAndNoHandIsWrittenAgain) {
    append(goodHands(1, 3));
    step();
    writeFile(settings.log, goodHand(2) + "\r\nbad\r\n" + goodHand(7) + "\r\n");
    step();
    EXPECT_TRUE(progress.restarted);
    EXPECT_EQ(progress.written, 1u);
    finish();
    EXPECT_EQ(writtenIds(output()), (std::vector<long long>{1, 2, 3, 7}));
    EXPECT_EQ(readFile(settings.errorLog), errorLines("ERROR on Line 2, Chunk 1: Not a hand history.\n"));
}

TEST_F(Follow, ALogWrittenAnewPastThePlaceReachedIsReadFromItsStart) {
    append(goodHands(1, 2));
    step();
    // The same length and more, other hands: only the bytes before the place reached tell.
    writeFile(settings.log, goodHands(11, 12) + goodHands(13, 14));
    EXPECT_TRUE(step().restarted);
    finish();
    EXPECT_EQ(writtenIds(output()), (std::vector<long long>{1, 2, 11, 12, 13, 14}));
}

TEST_F(Follow, ALogReplacedByAnotherOfItsNameIsReadFromItsStart) {
    append(goodHands(1, 2));
    step();
    writeFile(temp.path() / "new.log", goodHands(2, 5));
    fs::rename(temp.path() / "new.log", settings.log);
    step();
    EXPECT_TRUE(progress.restarted);
    EXPECT_EQ(progress.written, 3u);
    finish();
    EXPECT_EQ(writtenIds(output()), idRange(1, 5));
}

TEST_F(Follow, AStopAsksBetweenHandsAndTheNextStepGoesOn) {
    append(goodHands(1, 4));
    step();
    append(goodHands(5, 8));
    int asked = 0;
    ASSERT_TRUE(follower->step(progress, [&] { return ++asked == 2; }));
    EXPECT_EQ(progress.written, 2u);
    follower.reset();  // ended at once, as after Ctrl-C without the closing lines
    step();
    finish();
    EXPECT_EQ(output(), batch());
}

TEST_F(Follow, TheFolderHasAFilePerTableAndDay) {
    settings.folder = temp.file("live");
    fs::create_directories(settings.folder);
    const auto at = [](long long id, const char* table, const char* time) {
        return handWith(id,
                        {{"TABLE", std::string("TABLE=") + table}, {"TIME", std::string("TIME=") + time}}) +
               "\r\n";
    };
    // 2007-01-15 14:30 and 2007-01-16 14:30 in New York.
    append(at(1, "Anna", "1168889400000") + at(2, "Bo/b:2", "1168889400000") +
           at(3, "Anna", "1168889460000"));
    step();
    const fs::path anna15 = fs::path(settings.folder) / "Anna 2007-01-15.txt";
    const fs::path bob15 = fs::path(settings.folder) / "Bo_b_2 2007-01-15.txt";
    EXPECT_EQ(writtenIds(readFile(anna15)), (std::vector<long long>{1, 3}));
    EXPECT_TRUE(readFile(anna15).starts_with("\r\n#Game No : 1"));
    // A new day of a table completes its former day's file.
    append(at(4, "Anna", "1168975800000"));
    step();
    EXPECT_TRUE(readFile(anna15).ends_with(Closed));
    EXPECT_FALSE(readFile(bob15).ends_with(Closed));
    finish();
    EXPECT_TRUE(readFile(bob15).ends_with(Closed));
    const fs::path anna16 = fs::path(settings.folder) / "Anna 2007-01-16.txt";
    EXPECT_EQ(writtenIds(readFile(anna16)), (std::vector<long long>{4}));
    // Resumed, the table's file goes on without its closing line in the middle.
    append(at(5, "Anna", "1168975860000"));
    step();
    finish();
    const std::string anna = readFile(anna16);
    EXPECT_EQ(writtenIds(anna), (std::vector<long long>{4, 5}));
    EXPECT_EQ(anna.find(Closed), anna.size() - Closed.size());
}

TEST_F(Follow, NumberedFilesHoldSoManyHandsEach) {
    settings.options.splitMode = SplitByHandsPerFile;
    settings.options.splitValue = 2;
    append(goodHands(1, 3));
    step();
    EXPECT_TRUE(readFile(temp.file("hands1.txt")).ends_with(Closed));
    EXPECT_FALSE(readFile(temp.file("hands2.txt")).ends_with(Closed));
    finish();
    append(goodHands(4, 5));
    step();
    finish();
    EXPECT_EQ(writtenIds(readFile(temp.file("hands1.txt"))), idRange(1, 2));
    EXPECT_EQ(writtenIds(readFile(temp.file("hands2.txt"))), idRange(3, 4));
    EXPECT_EQ(writtenIds(readFile(temp.file("hands3.txt"))), idRange(5, 5));
    EXPECT_TRUE(readFile(temp.file("hands3.txt")).starts_with("\r\n#Game No : 5"));
}

}  // namespace
}  // namespace noxi::test
