// The conversion driver as a caller of ConvertHands sees it: results, counters, error log, files, progress.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "support/TestSupport.h"

namespace noxi::test {
namespace {

// A small good hand: heads-up, the big blind wins when the button folds.
std::string hand(long long id) {
    return "ID=" + std::to_string(id) +
           ";GAME=Texas Hold'em;TABLE=T;TIME=1168889400000;BTN=0;NP=2;SB=1;BB=2;PN0=a;PB0=10;PN1=b;PB1=10;"
           "BOARD=??????????;SEQ=sBf;";
}

std::string lines(std::initializer_list<std::string> records) {
    std::string text;
    for (const std::string& record : records)
        text += record + "\r\n";
    return text;
}

std::string handsNumbered(int from, int to) {
    std::string text;
    for (int id = from; id <= to; ++id)
        text += hand(id) + "\r\n";
    return text;
}

// The hand numbers in a history file, in the order written.
std::vector<long long> gameIds(const std::string& history) {
    std::vector<long long> ids;
    const std::string marker = "#Game No : ";
    for (std::size_t at = history.find(marker); at != std::string::npos; at = history.find(marker, at + 1)) {
        ids.push_back(std::stoll(history.substr(at + marker.size())));
    }
    return ids;
}

bool endsWithTableClosed(const std::string& history) {
    return history.ends_with("Table Closed\r\n");
}

// Records every callback; answers false at the chosen call (counting from 1), true otherwise.
struct Recorder {
    struct Call {
        int stage;
        std::string text;
        int percent;
    };
    std::vector<Call> calls;
    int stopAt = 0;
    bool answerToError = true;

    static bool callback(int stage, char* text, int percent, void* user) {
        auto* self = static_cast<Recorder*>(user);
        self->calls.push_back({stage, text, percent});
        if (stage == StageError) return self->answerToError;
        return static_cast<int>(self->calls.size()) != self->stopAt;
    }
    std::vector<Call> ofStage(int stage) const {
        std::vector<Call> found;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                     [stage](const Call& c) { return c.stage == stage; });
        return found;
    }
};

class Driver : public ::testing::Test {
protected:
    void SetUp() override { resetOptions(); }
    std::string log(const std::string& text, const std::string& name = "GAMES_V3.LOG") {
        writeFile(temp.path() / name, text);
        return temp.file(name);
    }
    TempDir temp;
};

TEST_F(Driver, MissingOrEmptyInputFails) {
    Recorder recorder;
    const std::string missing = temp.file("nothing.log");
    EXPECT_EQ(convert(missing, temp.file("out.txt"), &Recorder::callback, &recorder), -1);
    ASSERT_FALSE(recorder.ofStage(StageError).empty());
    EXPECT_EQ(recorder.ofStage(StageError)[0].text, "File \"" + missing + "\" could not be found.");
    EXPECT_STREQ(GetErrorLog(), "");

    EXPECT_EQ(convert(missing, temp.file("out.txt")), -1);
    EXPECT_EQ(std::string(GetErrorLog()), "ERROR: File \"" + missing + "\" could not be found.\n");

    const std::string empty = log("", "empty.log");
    EXPECT_EQ(convert(empty, temp.file("out.txt")), -1);
    EXPECT_EQ(std::string(GetErrorLog()),
              "ERROR: File \"" + empty + "\" doesn't contain any hand histories.\n");

    Recorder stopper;
    stopper.answerToError = false;
    EXPECT_EQ(convert(empty, temp.file("out.txt"), &Recorder::callback, &stopper), 0);
    EXPECT_EQ(stopper.ofStage(StageError).at(0).text,
              "File \"" + empty + "\" doesn't contain any hand histories.");

    // A folder is not a log.
    EXPECT_EQ(convert(temp.path().string(), temp.file("out.txt")), -1);
    EXPECT_EQ(std::string(GetErrorLog()),
              "ERROR: File \"" + temp.path().string() + "\" could not be found.\n");
    EXPECT_FALSE(fs::exists(temp.file("out.txt")));
}

TEST_F(Driver, NullPathsAreAConverterFailure) {
    LibraryState& state = libraryState();
    DriverSettings settings;
    settings.pauses = false;
    Recorder recorder;
    EXPECT_EQ(convertHands(nullptr, "out.txt", &Recorder::callback, &recorder, state.options, state.results,
                           settings),
              -1);
    EXPECT_STREQ(GetErrorLog(), "ERROR: Converter failure!\n");
    EXPECT_TRUE(recorder.ofStage(StageError).empty());
    EXPECT_EQ(convertHands("in.log", nullptr, nullptr, nullptr, state.options, state.results, settings), -1);
    EXPECT_STREQ(GetErrorLog(), "ERROR: Converter failure!\n");
}

TEST_F(Driver, ReportsEveryStageInOrder) {
    const std::string in = log(handsNumbered(1, 4), "my.log");
    Recorder recorder;
    ASSERT_EQ(convert(in, temp.file("out.txt"), &Recorder::callback, &recorder), 1);
    ASSERT_GE(recorder.calls.size(), 4u);
    EXPECT_EQ(recorder.calls[0].stage, StageTitle);
    EXPECT_EQ(recorder.calls[0].text, "Converting my.log");
    EXPECT_EQ(recorder.calls[1].text, "Loading file my.log...");
    EXPECT_EQ(recorder.calls[1].percent, 0);
    EXPECT_EQ(recorder.calls[2].stage, StageLoading);
    EXPECT_EQ(recorder.calls[2].percent, 100);

    const auto processing = recorder.ofStage(StageProcessing);
    ASSERT_EQ(processing.size(), 5u);  // once before the first record, then after each of the four
    EXPECT_EQ(processing[0].percent, 0);
    EXPECT_EQ(processing[4].percent, 100);
    EXPECT_TRUE(std::is_sorted(processing.begin(), processing.end(),
                               [](const auto& a, const auto& b) { return a.percent < b.percent; }));
    for (const auto& call : processing)
        EXPECT_EQ(call.text, "Processing hand histories...");

    const auto saving = recorder.ofStage(StageSaving);
    ASSERT_EQ(saving.size(), 5u);
    EXPECT_EQ(saving[0].text, "Saving hand histories to disk...");
    std::vector<int> percents;
    for (const auto& call : saving)
        percents.push_back(call.percent);
    EXPECT_EQ(percents, (std::vector<int>{0, 25, 50, 75, 100}));
    EXPECT_TRUE(recorder.ofStage(StageError).empty());
}

TEST_F(Driver, ShowsOnlyTheFileNameOfTheInput) {
    const std::string in = log(handsNumbered(1, 1), "x.log");
    Recorder recorder;
    const std::string windowsStyle = "C:\\Users\\me\\logs\\x.log";
    convert(windowsStyle, temp.file("out.txt"), &Recorder::callback, &recorder);
    EXPECT_EQ(recorder.calls.at(0).text, "Converting x.log");
    recorder.calls.clear();
    convert(in, temp.file("out.txt"), &Recorder::callback, &recorder);
    EXPECT_EQ(recorder.calls.at(1).text, "Loading file x.log...");
}

TEST_F(Driver, BadRecordsAreLoggedByTheirOrdinalAndSkipped) {
    // Blank lines between records do not count; line 7 of the records fails in the chunk parser.
    std::string text = hand(1) + "\r\n\r\n\n" + hand(2) + "\r\n" + "GAME=Omaha;\r\n" + hand(3) + "\r\n" +
                       "ID=9;TABLE=T;\r\n" + "   " + hand(4) + "\n" + "ID=x;\r\n" + hand(5);
    const std::string in = log(text);
    ASSERT_EQ(convert(in, temp.file("out.txt")), 1);
    EXPECT_EQ(std::string(GetErrorLog()),
              "ERROR on Line 3, Chunk 1: All hands must be Texas Hold'em.\n"
              "ERROR on Line 5: Hand is incomplete.\n"
              "ERROR on Line 7, Chunk 1: ID must be a number.\n");
    EXPECT_EQ(GetNumBadHands(), 3u);
    EXPECT_EQ(GetTotalHands(), 5u);
    EXPECT_EQ(GetNumFiles(), 1u);
    EXPECT_EQ(gameIds(readFile(temp.file("out1.txt"))), (std::vector<long long>{1, 2, 3, 4, 5}));
}

TEST_F(Driver, ALogOfOnlyBadRecordsWritesNoFile) {
    const std::string in = log(lines({"nonsense", "TOURNAMENT_ID=4;", "ID=5;SEQ=sB;"}));
    ASSERT_EQ(convert(in, temp.file("out.txt")), 1);
    EXPECT_EQ(GetNumFiles(), 0u);
    EXPECT_EQ(GetTotalHands(), 0u);
    EXPECT_EQ(GetNumBadHands(), 3u);
    EXPECT_EQ(std::string(GetErrorLog()),
              "ERROR on Line 1, Chunk 1: Not a hand history.\n"
              "ERROR on Line 2: Tournament hands are not supported.\n"
              "ERROR on Line 3: Hand is incomplete.\n");
    EXPECT_TRUE(fs::is_empty(temp.path()) || !fs::exists(temp.file("out1.txt")));
}

TEST_F(Driver, HandsAreWrittenInAscendingUnsignedOrderFirstCopyWins) {
    std::string duplicate = hand(7);
    duplicate.replace(duplicate.find("TABLE=T"), 7, "TABLE=Second");
    const std::string in = log(lines({hand(7), hand(-1), hand(3), duplicate, hand(2147483647), hand(0)}));
    Recorder recorder;
    ASSERT_EQ(convert(in, temp.file("out.txt"), &Recorder::callback, &recorder), 1);
    const std::string history = readFile(temp.file("out1.txt"));
    EXPECT_EQ(gameIds(history), (std::vector<long long>{0, 3, 7, 2147483647, -1}));
    EXPECT_EQ(history.find("Table Second"), std::string::npos);
    EXPECT_EQ(GetTotalHands(), 5u);
    EXPECT_EQ(GetNumBadHands(), 0u);
    EXPECT_STREQ(GetErrorLog(), "");
    EXPECT_EQ(recorder.ofStage(StageSaving).back().percent, 100);  // counted over the hands selected
}

struct RangeCase {
    const char* name;
    unsigned char type;
    unsigned long from, to;
    std::vector<long long> written;
    friend void PrintTo(const RangeCase& c, std::ostream* out) { *out << c.name; }
};

class Ranges : public Driver, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(Ranges, SelectTheirHands) {
    const RangeCase& c = GetParam();
    const std::string in = log(lines({hand(50), hand(10), hand(40), hand(20), hand(30), hand(-5)}));
    SetRangeType(c.type);
    SetRangeValues(c.from, c.to);
    ASSERT_EQ(convert(in, temp.file("out.txt")), 1);
    const std::string history = readFile(temp.file("out1.txt"));
    EXPECT_EQ(gameIds(history), c.written);
    EXPECT_EQ(GetTotalHands(), c.written.size());
    EXPECT_EQ(GetNumFiles(), 1u);  // the file exists even when no hand is selected
    EXPECT_TRUE(endsWithTableClosed(history));
}

INSTANTIATE_TEST_SUITE_P(
    Types, Ranges,
    ::testing::Values(RangeCase{"All", RangeAll, 3, 4, {10, 20, 30, 40, 50, -5}},
                      RangeCase{"FirstTwo", RangeFirst, 2, 0, {10, 20}},
                      RangeCase{"FirstNone", RangeFirst, 0, 0, {}},
                      RangeCase{"LastTwo", RangeLast, 2, 0, {50, -5}},
                      RangeCase{"LastMoreThanThere", RangeLast, 99, 0, {10, 20, 30, 40, 50, -5}},
                      RangeCase{"LastAll", RangeLast, 6, 0, {10, 20, 30, 40, 50, -5}},
                      RangeCase{"Between", RangeBetween, 20, 40, {20, 30, 40}},
                      RangeCase{"BetweenUnsigned", RangeBetween, 45, 4294967295UL, {50, -5}},
                      RangeCase{"BetweenReversed", RangeBetween, 40, 20, {}},
                      RangeCase{"UnknownType", 9, 0, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Driver, OnlyTheTableClosedLineWhenNothingIsSelected) {
    const std::string in = log(handsNumbered(1, 3));
    SetRangeType(RangeFirst);
    SetRangeValues(0, 0);
    ASSERT_EQ(convert(in, temp.file("out.txt")), 1);
    EXPECT_EQ(readFile(temp.file("out1.txt")), "Table Closed\r\n");
}

struct SplitCase {
    const char* name;
    unsigned char mode;
    unsigned long value;
    int hands;
    std::vector<int> perFile;  // hands in out1.txt, out2.txt, ...
    friend void PrintTo(const SplitCase& c, std::ostream* out) { *out << c.name; }
};

class Splits : public Driver, public ::testing::WithParamInterface<SplitCase> {};

TEST_P(Splits, ShareTheHandsBetweenNumberedFiles) {
    const SplitCase& c = GetParam();
    const std::string in = log(handsNumbered(1, c.hands));
    SetFileSplit(c.mode, c.value);
    ASSERT_EQ(convert(in, temp.file("hh.txt")), 1);
    EXPECT_EQ(GetNumFiles(), c.perFile.size());
    long long next = 1;
    for (std::size_t k = 0; k < c.perFile.size(); ++k) {
        const std::string history = readFile(temp.file("hh" + std::to_string(k + 1) + ".txt"));
        const auto ids = gameIds(history);
        ASSERT_EQ(static_cast<int>(ids.size()), c.perFile[k]) << "file " << k + 1;
        for (long long id : ids)
            EXPECT_EQ(id, next++);
        EXPECT_TRUE(endsWithTableClosed(history));
        // The first hand of every file has no "starts." line.
        EXPECT_TRUE(history.starts_with("\r\n#Game No : ")) << "file " << k + 1;
    }
    EXPECT_FALSE(fs::exists(temp.file("hh" + std::to_string(c.perFile.size() + 1) + ".txt")));
    EXPECT_FALSE(fs::exists(temp.file("hh.txt")));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, Splits,
    ::testing::Values(SplitCase{"TenInThreeFiles", SplitByFileCount, 3, 10, {3, 3, 3, 1}},
                      SplitCase{"TenInFourFiles", SplitByFileCount, 4, 10, {3, 3, 3, 1}},
                      SplitCase{"OneInThreeFiles", SplitByFileCount, 3, 1, {1}},
                      SplitCase{"FileCountZero", SplitByFileCount, 0, 4, {4}},
                      SplitCase{"TwoPerFile", SplitByHandsPerFile, 2, 5, {2, 2, 1}},
                      SplitCase{"ZeroPerFile", SplitByHandsPerFile, 0, 5, {5}},
                      SplitCase{"UnknownMode", 0, 2, 3, {3}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Driver, SingleFileIsWrittenAtExactlyTheOutputPath) {
    const std::string in = log(handsNumbered(1, 3));
    SetFileSplit(SingleFile, 2);
    ASSERT_EQ(convert(in, temp.file("exact.name")), 1);
    const std::string history = readFile(temp.file("exact.name"));
    EXPECT_EQ(gameIds(history).size(), 3u);
    EXPECT_NE(history.find("\r\nGame #2 starts.\r\n\r\n#Game No : 2 \r\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(temp.file("exact1.txt")));
}

TEST(SplitFileName, NumberGoesBeforeTheExtensionOfTheFileName) {
    EXPECT_EQ(splitFileName("C:\\hh\\out.txt", 1), "C:\\hh\\out1.txt");
    EXPECT_EQ(splitFileName("C:\\hh\\out.txt", 12), "C:\\hh\\out12.txt");
    EXPECT_EQ(splitFileName("C:\\a.b\\out", 1), "C:\\a.b\\out1.txt");
    EXPECT_EQ(splitFileName("/home/me/v1.2/hands", 3), "/home/me/v1.2/hands3.txt");
    EXPECT_EQ(splitFileName("/home/me/hands.tar.txt", 2), "/home/me/hands.tar2.txt");
    EXPECT_EQ(splitFileName("out", 1), "out1.txt");
    EXPECT_EQ(splitFileName(".hidden", 1), "1.txt");
    EXPECT_EQ(fileNamePart("C:\\x\\y.log"), "y.log");
    EXPECT_EQ(fileNamePart("a/b\\c"), "c");
    EXPECT_EQ(fileNamePart("plain"), "plain");
}

TEST_F(Driver, OutputThatCannotBeCreated) {
    const std::string in = log(handsNumbered(1, 2));
    const std::string out = temp.file("no-such-folder/out.txt");
    EXPECT_EQ(convert(in, out), -1);
    EXPECT_EQ(std::string(GetErrorLog()), "ERROR: Couldn't create hand history file \"" + out + "\".\n");
    EXPECT_EQ(GetNumFiles(), 1u);  // the file it tried counts
    EXPECT_EQ(GetTotalHands(), 0u);

    Recorder recorder;
    EXPECT_EQ(convert(in, out, &Recorder::callback, &recorder), -1);
    EXPECT_EQ(recorder.ofStage(StageError).at(0).text, "Couldn't create hand history file \"" + out + "\".");
    EXPECT_STREQ(GetErrorLog(), "");
}

// Stops asked by the callback at every kind of report; the counters and files show what was done.
TEST_F(Driver, StopsWhereTheCallbackAsks) {
    const std::string in = log(handsNumbered(1, 3));
    struct Stop {
        int at;                 // callback number answered false
        bool fileWritten;       // out1.txt exists afterwards
        unsigned long written;  // hands written
    } stops[] = {
        {1, false, 0},  // title
        {2, false, 0},  // loading, before
        {3, false, 0},  // loading, after
        {4, false, 0},  // processing, before the first record
        {5, false, 0},  // processing, after the first record
        {8, false, 0},  // saving, before the first hand
        {9, true, 1},   // saving, after the first hand
    };
    for (const Stop& stop : stops) {
        std::error_code ignored;
        fs::remove(temp.file("out1.txt"), ignored);
        Recorder recorder;
        recorder.stopAt = stop.at;
        EXPECT_EQ(convert(in, temp.file("out.txt"), &Recorder::callback, &recorder), 0) << stop.at;
        EXPECT_EQ(static_cast<int>(recorder.calls.size()), stop.at);
        EXPECT_EQ(fs::exists(temp.file("out1.txt")), stop.fileWritten) << stop.at;
        EXPECT_EQ(GetTotalHands(), stop.written) << stop.at;
        if (stop.fileWritten) {
            const std::string history = readFile(temp.file("out1.txt"));
            EXPECT_EQ(gameIds(history).size(), stop.written);
            EXPECT_TRUE(endsWithTableClosed(history));
        }
    }
}

TEST_F(Driver, AStopAtTheOpeningReportsKeepsThePreviousErrorLog) {
    const std::string in = log(lines({"junk", hand(1)}));
    ASSERT_EQ(convert(in, temp.file("out.txt")), 1);
    const std::string previous = GetErrorLog();
    ASSERT_FALSE(previous.empty());
    Recorder recorder;
    recorder.stopAt = 2;
    EXPECT_EQ(convert(in, temp.file("out.txt"), &Recorder::callback, &recorder), 0);
    EXPECT_EQ(std::string(GetErrorLog()), previous);
    EXPECT_EQ(GetNumBadHands(), 0u);  // the counters start again at every call
}

TEST_F(Driver, ANulByteCostsOneRecordAndTheWalkGoesOn) {
    std::string text = hand(1) + "\r\n" + std::string(1, '\0') + hand(2) + "\r\n" + hand(3) +
                       std::string(1, '\0') + "\r\n" + hand(4) + "\r\n";
    const std::string in = log(text);
    ASSERT_EQ(convert(in, temp.file("out.txt")), 1);
    EXPECT_EQ(gameIds(readFile(temp.file("out1.txt"))), (std::vector<long long>{1, 2, 3, 4}));
    EXPECT_EQ(std::string(GetErrorLog()),
              "ERROR on Line 2: No hands found.\n"
              "ERROR on Line 5: No hands found.\n");
    EXPECT_EQ(GetNumBadHands(), 2u);
}

TEST_F(Driver, OptionsHoldAcrossRuns) {
    const std::string in = log(handsNumbered(1, 4));
    SetRangeType(RangeLast);
    SetRangeValues(1, 0);
    SetFileSplit(SingleFile, 0);
    ASSERT_EQ(convert(in, temp.file("a.txt")), 1);
    ASSERT_EQ(convert(in, temp.file("b.txt")), 1);
    EXPECT_EQ(gameIds(readFile(temp.file("b.txt"))), (std::vector<long long>{4}));
}

#ifndef _WIN32
// A disk that fills up: the failure is reported and only hands that reached the file are counted.
TEST_F(Driver, AWriteFailureIsReportedNotClaimed) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    const std::string in = log(handsNumbered(1, 3));
    SetFileSplit(SingleFile, 0);
    EXPECT_EQ(convert(in, "/dev/full"), -1);
    EXPECT_EQ(std::string(GetErrorLog()), "ERROR: Couldn't write hand history file \"/dev/full\".\n");
    EXPECT_EQ(GetTotalHands(), 0u);
    EXPECT_EQ(GetNumFiles(), 1u);

    Recorder recorder;
    recorder.answerToError = false;
    EXPECT_EQ(convert(in, "/dev/full", &Recorder::callback, &recorder), 0);
    EXPECT_EQ(recorder.ofStage(StageError).at(0).text, "Couldn't write hand history file \"/dev/full\".");
}
#endif

}  // namespace
}  // namespace noxi::test
