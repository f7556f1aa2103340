// The conversion driver as a caller of ConvertHands sees it: results, counters, error log, files, progress.
// Damaged logs and failing outputs have files of their own (HostileLogTest, FailingOutputTest).
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "frame/LogFixtures.h"

namespace noxi::test {
namespace {

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
    std::string history(const std::string& name = "out1.txt") { return readFile(temp.file(name)); }
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
    EXPECT_FALSE(fs::exists(temp.file("out.txt")));
}

TEST_F(Driver, NullPathsAreAConverterFailure) {
    LibraryState& state = libraryState();
    const DriverSettings settings{.pauses = false};
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
    const std::string in = log(goodHands(1, 4), "my.log");
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

TEST_F(Driver, BadRecordsAreLoggedByTheirOrdinalAndSkipped) {
    // Blank lines between records do not count; line 7 of the records fails in the chunk parser.
    const std::string text = goodHand(1) + "\r\n\r\n\n" + goodHand(2) + "\r\n" + "GAME=Omaha;\r\n" +
                             goodHand(3) + "\r\n" + "ID=9;TABLE=T;\r\n" + "   " + goodHand(4) + "\n" +
                             "ID=x;\r\n" + goodHand(5);
    ASSERT_EQ(convert(log(text), temp.file("out.txt")), 1);
    EXPECT_EQ(std::string(GetErrorLog()),
              "ERROR on Line 3, Chunk 1: All hands must be Texas Hold'em.\n"
              "ERROR on Line 5: Hand is incomplete.\n"
              "ERROR on Line 7, Chunk 1: ID must be a number.\n");
    EXPECT_EQ(GetNumBadHands(), 3u);
    EXPECT_EQ(GetTotalHands(), 5u);
    EXPECT_EQ(GetNumFiles(), 1u);
    EXPECT_EQ(writtenIds(history()), idRange(1, 5));
}

TEST_F(Driver, HandsAreWrittenInAscendingUnsignedOrderFirstCopyWins) {
    const std::string in =
        log(lines({goodHand(7), goodHand(-1), goodHand(3), handWith(7, {{"TABLE", "TABLE=Second"}}),
                   goodHand(2147483647), goodHand(0)}));
    Recorder recorder;
    ASSERT_EQ(convert(in, temp.file("out.txt"), &Recorder::callback, &recorder), 1);
    EXPECT_EQ(writtenIds(history()), (std::vector<long long>{0, 3, 7, 2147483647, -1}));
    EXPECT_EQ(history().find("Table Second"), std::string::npos);
    EXPECT_EQ(GetTotalHands(), 5u);
    EXPECT_EQ(GetNumBadHands(), 0u);
    EXPECT_STREQ(GetErrorLog(), "");
    EXPECT_EQ(recorder.ofStage(StageSaving).back().percent, 100);  // counted over the hands selected
}

TEST_F(Driver, RangesSelectTheirHands) {
    const std::string in =
        log(lines({goodHand(50), goodHand(10), goodHand(40), goodHand(20), goodHand(30), goodHand(-5)}));
    const struct {
        unsigned char type;
        unsigned long from, to;
        std::vector<long long> written;
    } cases[] = {{RangeAll, 3, 4, {10, 20, 30, 40, 50, -5}},
                 {RangeFirst, 2, 0, {10, 20}},
                 {RangeFirst, 0, 0, {}},
                 {RangeLast, 2, 0, {50, -5}},
                 {RangeLast, 99, 0, {10, 20, 30, 40, 50, -5}},
                 {RangeLast, 6, 0, {10, 20, 30, 40, 50, -5}},
                 {RangeBetween, 20, 40, {20, 30, 40}},
                 {RangeBetween, 45, 4294967295UL, {50, -5}},  // unsigned: -5 is the largest
                 {RangeBetween, 40, 20, {}},
                 {9, 0, 0, {}}};  // an unknown type
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.type) << " " << c.from << " " << c.to);
        SetRangeType(c.type);
        SetRangeValues(c.from, c.to);
        ASSERT_EQ(convert(in, temp.file("out.txt")), 1);
        const std::string text = history();
        EXPECT_EQ(writtenIds(text), c.written);
        EXPECT_EQ(GetTotalHands(), c.written.size());
        EXPECT_EQ(GetNumFiles(), 1u);  // the file exists even when no hand is selected, with one line
        EXPECT_TRUE(c.written.empty() ? text == "Table Closed\r\n" : text.ends_with("\r\nTable Closed\r\n"))
            << text;
    }
}

TEST_F(Driver, SplitsShareTheHandsBetweenNumberedFiles) {
    const struct {
        unsigned char mode;
        unsigned long value;
        int hands;
        std::vector<int> perFile;  // hands in hh1.txt, hh2.txt, ...
    } cases[] = {{SplitByFileCount, 3, 10, {3, 3, 3, 1}},
                 {SplitByFileCount, 4, 10, {3, 3, 3, 1}},
                 {SplitByFileCount, 3, 1, {1}},
                 {SplitByFileCount, 0, 4, {4}},
                 {SplitByHandsPerFile, 2, 5, {2, 2, 1}},
                 {SplitByHandsPerFile, 0, 5, {5}},
                 {0, 2, 3, {3}}};  // an unknown mode
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.mode) << " " << c.value << " " << c.hands);
        TempDir folder;
        SetFileSplit(c.mode, c.value);
        writeFile(folder.path() / "GAMES_V3.LOG", goodHands(1, c.hands));
        ASSERT_EQ(convert(folder.file("GAMES_V3.LOG"), folder.file("hh.txt")), 1);
        EXPECT_EQ(GetNumFiles(), c.perFile.size());
        long long next = 1;
        for (std::size_t k = 1; k <= c.perFile.size(); ++k) {
            const std::string text = readFile(folder.file("hh" + std::to_string(k) + ".txt"));
            EXPECT_EQ(writtenIds(text), idRange(next, next + c.perFile[k - 1] - 1)) << "file " << k;
            next += c.perFile[k - 1];
            EXPECT_TRUE(text.ends_with("Table Closed\r\n"));
            // The first hand of every file has no "starts." line.
            EXPECT_TRUE(text.starts_with("\r\n#Game No : ")) << "file " << k;
        }
        EXPECT_FALSE(fs::exists(folder.file("hh" + std::to_string(c.perFile.size() + 1) + ".txt")));
        EXPECT_FALSE(fs::exists(folder.file("hh.txt")));
    }
}

TEST_F(Driver, SingleFileIsWrittenAtExactlyTheOutputPath) {
    SetFileSplit(SingleFile, 2);
    ASSERT_EQ(convert(log(goodHands(1, 3)), temp.file("exact.name")), 1);
    const std::string text = history("exact.name");
    EXPECT_EQ(writtenIds(text), idRange(1, 3));
    EXPECT_NE(text.find("\r\nGame #2 starts.\r\n\r\n#Game No : 2 \r\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(temp.file("exact1.txt")));
}

TEST(SplitFileName, NumberGoesBeforeTheExtensionOfTheFileName) {
    const std::pair<const char*, const char*> names[] = {
        {"C:\\hh\\out.txt", "C:\\hh\\out1.txt"},
        {"C:\\a.b\\out", "C:\\a.b\\out1.txt"},
        {"/home/me/v1.2/hands", "/home/me/v1.2/hands1.txt"},
        {"/home/me/hands.tar.txt", "/home/me/hands.tar1.txt"},
        {"out", "out1.txt"},
        {".hidden", "1.txt"}};
    for (const auto& [path, first] : names)
        EXPECT_EQ(splitFileName(path, 1), first) << path;
    EXPECT_EQ(splitFileName("C:\\hh\\out.txt", 12), "C:\\hh\\out12.txt");
    EXPECT_EQ(fileNamePart("C:\\x\\y.log"), "y.log");
    EXPECT_EQ(fileNamePart("a/b\\c"), "c");
    EXPECT_EQ(fileNamePart("plain"), "plain");
}

// Stops asked by the callback at every kind of report; the counters and files show what was done.
TEST_F(Driver, StopsWhereTheCallbackAsks) {
    const std::string in = log(goodHands(1, 3));
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
            EXPECT_EQ(writtenIds(history()).size(), stop.written);
            EXPECT_TRUE(history().ends_with("Table Closed\r\n"));
        }
    }
}

TEST_F(Driver, AStopAtTheOpeningReportsKeepsThePreviousErrorLog) {
    const std::string in = log(lines({"junk", goodHand(1)}));
    ASSERT_EQ(convert(in, temp.file("out.txt")), 1);
    const std::string previous = GetErrorLog();
    ASSERT_FALSE(previous.empty());
    Recorder recorder;
    recorder.stopAt = 2;
    EXPECT_EQ(convert(in, temp.file("out.txt"), &Recorder::callback, &recorder), 0);
    EXPECT_EQ(std::string(GetErrorLog()), previous);
    EXPECT_EQ(GetNumBadHands(), 0u);  // the counters start again at every call
}

TEST_F(Driver, OptionsHoldAcrossRuns) {
    const std::string in = log(goodHands(1, 4));
    SetRangeType(RangeLast);
    SetRangeValues(1, 0);
    SetFileSplit(SingleFile, 0);
    ASSERT_EQ(convert(in, temp.file("a.txt")), 1);
    ASSERT_EQ(convert(in, temp.file("b.txt")), 1);
    EXPECT_EQ(writtenIds(history("b.txt")), std::vector<long long>{4});
}

}  // namespace
}  // namespace noxi::test
