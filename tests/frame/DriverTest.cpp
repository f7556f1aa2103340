// The conversion driver as a caller of ConvertHands sees it: results, counters, error log, files, progress.
// Damaged logs and failing outputs have files of their own (HostileLogTest, FailingOutputTest).
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "frame/LogFixtures.h"

namespace noxi::test {
namespace {

// Records every callback as "stage percent text"; answers false at the chosen call (counting from 1).
struct Recorder {
    std::vector<std::string> calls;
    int stopAt = 0;

    static bool callback(int stage, char* text, int percent, void* user) {
        auto* self = static_cast<Recorder*>(user);
        self->calls.push_back(std::to_string(stage) + " " + std::to_string(percent) + " " + text);
        return static_cast<int>(self->calls.size()) != self->stopAt;
    }
};

class Driver : public ::testing::Test {
protected:
    void SetUp() override { resetOptions(); }
    std::string log(const std::string& text, const std::string& name = "GAMES_V3.LOG") {
        writeFile(temp.path() / name, text);
        return temp.file(name);
    }
    std::string history() { return readFile(temp.file("out1.txt")); }
    TempDir temp;
};

TEST_F(Driver, MissingFolderOrEmptyInputFails) {
    // Without a callback the message goes to the error log; with one, to the callback alone.
    fs::create_directories(temp.path() / "folder.log");
    for (const std::string& missing : {temp.file("nothing.log"), temp.file("folder.log")}) {
        Recorder recorder;
        EXPECT_EQ(convert(missing, temp.file("out.txt"), &Recorder::callback, &recorder), -1);
        EXPECT_EQ(std::count(recorder.calls.begin(), recorder.calls.end(),
                             "0 0 File \"" + missing + "\" could not be found."),
                  1);
        EXPECT_STREQ(GetErrorLog(), "");
        EXPECT_EQ(convert(missing, temp.file("out.txt")), -1);
        EXPECT_EQ(std::string(GetErrorLog()), "ERROR: File \"" + missing + "\" could not be found.\n");
    }
    const std::string empty = log("", "empty.log");
    EXPECT_EQ(convert(empty, temp.file("out.txt")), -1);
    EXPECT_EQ(std::string(GetErrorLog()),
              "ERROR: File \"" + empty + "\" doesn't contain any hand histories.\n");
}

// A log saved by an editor as UTF-16 is refused as a whole, not taken in as one bad record per byte.
TEST_F(Driver, AUtf16LogIsRefused) {
    for (const std::string mark : {"\xFF\xFE", "\xFE\xFF"}) {
        std::string wide;
        for (const char c : goodHands(1, 3))
            wide += mark[0] == '\xFF' ? std::string{c, '\0'} : std::string{'\0', c};
        const std::string in = log(mark + wide);
        const std::string message =
            "File \"" + in + "\" is not a Velmora hand log (it is saved as UTF-16 text).";
        Recorder recorder;
        EXPECT_EQ(convert(in, temp.file("out.txt"), &Recorder::callback, &recorder), -1);
        EXPECT_EQ(recorder.calls.back(), "0 0 " + message);
        EXPECT_EQ(convert(in, temp.file("out.txt")), -1);
        EXPECT_EQ(std::string(GetErrorLog()), "ERROR: " + message + "\n");
        EXPECT_EQ(GetNumBadHands(), 0u);
        EXPECT_FALSE(fs::exists(temp.path() / "out1.txt"));
    }
    // A byte that only starts like a mark is a log like any other (its first record loses its number).
    EXPECT_EQ(convert(log("\xFF" + goodHands(1, 2)), temp.file("out.txt")), 1);
    EXPECT_EQ(writtenIds(readFile(temp.file("out1.txt"))), (std::vector<long long>{0, 2}));
}

TEST_F(Driver, NullPathsAreAConverterFailure) {
    LibraryState& state = libraryState();
    Recorder recorder;
    EXPECT_EQ(convertHands(nullptr, "out.txt", &Recorder::callback, &recorder, state.options, state.results,
                           {.pauses = false}),
              RunResult::Failed);
    EXPECT_STREQ(GetErrorLog(), "ERROR: Converter failure!\n");
    EXPECT_TRUE(std::none_of(recorder.calls.begin(), recorder.calls.end(),
                             [](const std::string& call) { return call.starts_with("0 "); }));
    EXPECT_EQ(
        convertHands("in.log", nullptr, nullptr, nullptr, state.options, state.results, {.pauses = false}),
        RunResult::Failed);
    EXPECT_STREQ(GetErrorLog(), "ERROR: Converter failure!\n");
}

TEST_F(Driver, ReportsEveryStageInOrder) {
    Recorder recorder;
    ASSERT_EQ(convert(log(goodHands(1, 4), "my.log"), temp.file("out.txt"), &Recorder::callback, &recorder),
              1);
    std::vector<std::string> expected = {"1 0 Converting my.log", "2 0 Loading file my.log...",
                                         "2 100 Loading file my.log..."};
    for (int percent = 0; percent <= 100; percent += 25)  // before the first record, then after each
        expected.push_back("3 " + std::to_string(percent) + " Processing hand histories...");
    for (int percent = 0; percent <= 100; percent += 25)
        expected.push_back("4 " + std::to_string(percent) + " Saving hand histories to disk...");
    EXPECT_EQ(recorder.calls, expected);
}

TEST_F(Driver, HandsAreWrittenInAscendingUnsignedOrderFirstCopyWins) {
    const std::string once =
        lines({goodHand(7), goodHand(-1), goodHand(3), handWith(7, {{"TABLE", "TABLE=Second"}}),
               goodHand(2147483647), goodHand(0)});
    ASSERT_EQ(convert(log(once + once), temp.file("out.txt")), 1);  // concatenated logs add nothing
    EXPECT_EQ(writtenIds(history()), (std::vector<long long>{0, 3, 7, 2147483647, -1}));
    EXPECT_EQ(history().find("Table Second"), std::string::npos);
    EXPECT_EQ(GetTotalHands(), 5u);
    EXPECT_EQ(GetNumBadHands(), 0u);
    EXPECT_STREQ(GetErrorLog(), "");
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
                 {RangeLast, 2, 0, {50, -5}},  // unsigned: -5 is the largest
                 {RangeBetween, 20, 40, {20, 30, 40}},
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
        EXPECT_TRUE(c.written.empty() ? text == "Table Closed\r\n" : text.ends_with("\r\nTable Closed\r\n"));
    }
}

TEST_F(Driver, SplitsShareTheHandsBetweenNumberedFiles) {
    const struct {
        unsigned char mode;
        unsigned long value;
        int hands;
        std::vector<int> perFile;  // hands in hh1.txt, hh2.txt, ...
    } cases[] = {{SplitByFileCount, 3, 10, {3, 3, 3, 1}},
                 {SplitByFileCount, 0, 4, {4}},
                 {SplitByHandsPerFile, 0, 5, {5}},
                 {0, 2, 3, {3}}};  // the last an unknown mode
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
            // The first hand of every file has no "starts." line.
            EXPECT_TRUE(text.starts_with("\r\n#Game No : ") && text.ends_with("Table Closed\r\n")) << k;
        }
    }
}

// Stops asked by the callback at every kind of report; the counters and files show what was done.
TEST_F(Driver, StopsWhereTheCallbackAsks) {
    const std::string in = log(goodHands(1, 3));
    // The call answered false (title, loaded, first record taken in, saving before and after the first
    // hand) and the hands written; out1.txt exists only when some were.
    const struct Stop {
        int at;
        unsigned long written;
    } stops[] = {{1, 0}, {3, 0}, {5, 0}, {8, 0}, {9, 1}};
    for (const Stop& stop : stops) {
        SCOPED_TRACE(stop.at);
        std::error_code ignored;
        fs::remove(temp.file("out1.txt"), ignored);
        Recorder recorder;
        recorder.stopAt = stop.at;
        EXPECT_EQ(convert(in, temp.file("out.txt"), &Recorder::callback, &recorder), 0);
        EXPECT_EQ(static_cast<int>(recorder.calls.size()), stop.at);
        EXPECT_EQ(GetTotalHands(), stop.written);
        EXPECT_EQ(fs::exists(temp.file("out1.txt")), stop.written > 0);
        EXPECT_EQ(writtenIds(readFile(temp.file("out1.txt"))).size(), stop.written);
    }
}

}  // namespace
}  // namespace noxi::test
