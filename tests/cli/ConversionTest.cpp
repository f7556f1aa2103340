// Whole conversions through vlconvert: the options reach the library, the summary and the JSON report what
// was done, the error log is written where it belongs, failures give status 1, and no run writes over its
// own input.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/ProgramRunner.h"

namespace vlconvert::test {
namespace {

const fs::path Golden = fs::path(NOXI_TEST_DATA) / "golden";

// Two records no hand can be made of, with their error-log lines when they are the log's lines 2 and 3.
const std::string BadLines = "garbage\r\nID=9;GAME=Omaha;\r\n";
const std::string BadLog =
    "ERROR on Line 2, Chunk 1: Not a hand history.\n"
    "ERROR on Line 3, Chunk 2: All hands must be Texas Hold'em.\n";

class Conversion : public ::testing::Test {
protected:
    std::string log(const std::string& text, const std::string& name = "GAMES_V3.LOG") {
        writeFile(temp.path() / name, text);
        return temp.file(name);
    }
    TempDir temp;
};

// Each writer option reaches the library: the histories equal the ones the library writes with them.
TEST_F(Conversion, GoldenHistories) {
    const struct {
        std::vector<std::string> options;
        const char* expected;
    } cases[] = {
        {{"--real-money", "--six-max"}, "showcase.real.expected.txt"},
        {{"--show-losing-hands", "--all-hole-cards", "--fix-small-blind"}, "showcase.play.expected.txt"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        ProgramRun run;
        run.args = c.options;
        run.args.push_back((Golden / "showcase.log").string());
        run.args.push_back(temp.file("out.txt"));
        run.environment["TZ"] = noxi::test::HistoryZone;
        const ProgramResult result = runProgram(run);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, "8 hands were converted successfully.\n");
        EXPECT_EQ(result.err, "");  // no progress bar when standard error is not a terminal
        EXPECT_EQ(readFile(temp.file("out.txt")), readFile(Golden / c.expected));
    }
}

// The summary in the desktop program's words; "{errorLog}" stands for the error log's path.
TEST_F(Conversion, Summaries) {
    const struct {
        std::string log;
        std::vector<std::string> options;
        std::string summary;
    } cases[] = {
        {goodHands(1, 1), {}, "1 hand was converted successfully.\n"},
        {goodHands(1, 1), {"--files", "2"}, "1 file created.\n1 hand was converted successfully.\n"},
        {goodHands(1, 5),
         {"--hands-per-file", "2"},
         "3 files created.\n5 hands were converted successfully.\n"},
        {goodHands(1, 3) + "garbage\r\n",
         {},
         "3 hands were converted successfully.\n1 hand was skipped due to errors.\n"
         "Errors were logged to {errorLog}.\n"},
        {"x\r\n" + BadLines,
         {},
         "0 hands were converted successfully.\n3 hands were skipped due to errors.\n"
         "Errors were logged to {errorLog}.\n"},
        {BadLines,
         {"--files", "3"},
         "0 files created.\n0 hands were converted successfully.\n2 hands were skipped due to errors.\n"
         "Errors were logged to {errorLog}.\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.summary);
        std::vector<std::string> args = c.options;
        args.push_back(log(c.log));
        args.push_back(temp.file("hh.txt"));
        const ProgramResult result = runProgram(args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        std::string expected = c.summary;
        if (const std::size_t at = expected.find("{errorLog}"); at != std::string::npos)
            expected.replace(at, 10, temp.file("errorLog.txt"));
        EXPECT_EQ(result.out, expected);
    }
}

// One line of JSON that tells everything the text summary tells, and what went wrong.
TEST_F(Conversion, JsonSummary) {
    const auto summary = [](const ProgramResult& result) {
        EXPECT_EQ(linesOf(result.out).size(), 1u) << result.out;
        return nlohmann::json::parse(result.out);
    };
    const std::string input = log(goodHands(1, 1) + BadLines + goodHands(2, 3));
    ProgramResult result = runProgram({"--json", "--hands-per-file", "2", input, temp.file("hh.txt")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(summary(result), (nlohmann::json{{"result", "finished"},
                                               {"input", input},
                                               {"files", {temp.file("hh1.txt"), temp.file("hh2.txt")}},
                                               {"handsConverted", 3},
                                               {"handsSkipped", 2},
                                               {"errorLog", temp.file("errorLog.txt")},
                                               {"error", nullptr}}));

    // A clean run has no error log.
    const std::string clean = log(goodHands(1, 1), "clean.log");
    EXPECT_EQ(summary(runProgram({"--json", clean, temp.file("one.txt")})),
              (nlohmann::json{{"result", "finished"},
                              {"input", clean},
                              {"files", nlohmann::json::array({temp.file("one.txt")})},
                              {"handsConverted", 1},
                              {"handsSkipped", 0},
                              {"errorLog", nullptr},
                              {"error", nullptr}}));

    const std::string missing = temp.file("missing.log");
    result = runProgram({"--json", missing, temp.file("hh.txt")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(summary(result), (nlohmann::json{{"result", "failed"},
                                               {"input", missing},
                                               {"files", nlohmann::json::array()},
                                               {"handsConverted", 0},
                                               {"handsSkipped", 0},
                                               {"errorLog", nullptr},
                                               {"error", "File \"" + missing + "\" could not be found."}}));
}

TEST_F(Conversion, ErrorLogGoesBesideTheOutputByDefault) {
    fs::create_directory(temp.path() / "out");
    ProgramRun run;
    run.args = {"GAMES_V3.LOG", "out/hh.txt"};
    run.workingFolder = temp.path().string();
    log(goodHands(1, 1) + BadLines);
    const ProgramResult result = runProgram(run);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(readFile(temp.path() / "out" / "errorLog.txt"), BadLog);
    EXPECT_NE(result.out.find("Errors were logged to out/errorLog.txt.\n"), std::string::npos) << result.out;
}

TEST_F(Conversion, ErrorLogWhereAsked) {
    writeFile(temp.path() / "skipped.txt", "an earlier run's log, longer than this run's\n");
    const ProgramResult result = runProgram(
        {"--error-log", temp.file("skipped.txt"), log(goodHands(1, 1) + BadLines), temp.file("hh.txt")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(readFile(temp.path() / "skipped.txt"), BadLog);
    EXPECT_FALSE(fs::exists(temp.file("errorLog.txt")));
    EXPECT_NE(result.out.find("Errors were logged to " + temp.file("skipped.txt") + ".\n"),
              std::string::npos);
}

TEST_F(Conversion, EarlierErrorLogStaysWhenNothingWasSkipped) {
    writeFile(temp.path() / "errorLog.txt", "from an earlier run\n");
    const ProgramResult result = runProgram({log(goodHands(1, 1)), temp.file("hh.txt")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "1 hand was converted successfully.\n");
    EXPECT_EQ(readFile(temp.path() / "errorLog.txt"), "from an earlier run\n");
}

TEST_F(Conversion, ErrorLogThatCannotBeWrittenFailsTheRun) {
    const std::string errorLog = temp.file("no/such/folder/errorLog.txt");
    const ProgramResult result =
        runProgram({"--error-log", errorLog, log(goodHands(1, 1) + BadLines), temp.file("hh.txt")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("could not write the error log '" + errorLog + "'"), std::string::npos)
        << result.err;
    EXPECT_EQ(result.out, "1 hand was converted successfully.\n2 hands were skipped due to errors.\n");
    EXPECT_EQ(handsIn(readFile(temp.file("hh.txt"))), 1u);
}

TEST_F(Conversion, StrictFailsOnlyWhenHandsWereSkipped) {
    EXPECT_EQ(runProgram({"--strict", log(goodHands(1, 1) + BadLines), temp.file("a.txt")}).exitCode, 3);
    EXPECT_EQ(
        runProgram({"--strict", "--json", log(goodHands(1, 1) + BadLines), temp.file("b.txt")}).exitCode, 3);
    EXPECT_EQ(runProgram({"--strict", log(goodHands(1, 1)), temp.file("c.txt")}).exitCode, 0);
}

// The library's message, and status 1.
TEST_F(Conversion, FailuresPrintTheLibrarysMessage) {
    log(goodHands(1, 1), "good.log");
    log("", "empty.log");
    log("a file, not a folder", "plain");
    fs::create_directory(temp.path() / "folder.log");
    const struct {
        std::string input;  // under the temporary folder
        std::string output;
        std::string message;  // "%s" stands for the input, or the output when the message starts "Couldn't"
    } cases[] = {{"missing.log", "hh.txt", "File \"%s\" could not be found."},
                 {"empty.log", "hh.txt", "File \"%s\" doesn't contain any hand histories."},
                 {"good.log", "none/hh.txt", "Couldn't create hand history file \"%s\"."},
                 {"good.log", "plain/hh.txt", "Couldn't create hand history file \"%s\"."},
                 {"good.log", "folder.log", "Couldn't create hand history file \"%s\"."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input + " " + c.output);
        const std::string input = temp.file(c.input);
        const std::string output = temp.file(c.output);
        const ProgramResult result = runProgram({input, output});
        EXPECT_EQ(result.exitCode, 1);
        std::string message = c.message;
        message.replace(message.find("%s"), 2, message.starts_with("Couldn't") ? output : input);
        EXPECT_EQ(result.err, "vlconvert: " + message + "\n");
        EXPECT_EQ(result.out, "");
    }
}

// A run never writes over its own log, nor its error log over a history: a usage error, and the log
// stays as it was.
TEST(Overwrite, IsRefusedBeforeAnythingIsWritten) {
    const struct {
        std::vector<std::string> args;  // names under the temporary folder; the log is GAMES_V3.LOG
        std::string part;               // what the message names
    } cases[] = {{{"GAMES_V3.LOG", "GAMES_V3.LOG"}, "OUTPUT"},
                 {{"GAMES_V3.LOG", "./link.txt"}, "OUTPUT"},
                 {{"--hands-per-file", "1", "hh2.txt", "hh.txt"}, "OUTPUT"},
                 {{"--error-log", "GAMES_V3.LOG", "GAMES_V3.LOG", "hh.txt"}, "--error-log"},
                 {{"errorLog.txt", "hh.txt"}, "--error-log"},
                 {{"--error-log", "hh.txt", "GAMES_V3.LOG", "hh.txt"}, "--error-log"},
                 {{"--files", "3", "--error-log", "hh1.txt", "GAMES_V3.LOG", "hh.txt"}, "--error-log"}};
    const std::string text = goodHands(1, 4);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back() + " " + c.part);
        TempDir temp;
        for (const char* name : {"GAMES_V3.LOG", "hh2.txt", "errorLog.txt"})
            writeFile(temp.path() / name, text);
        fs::create_symlink("GAMES_V3.LOG", temp.path() / "link.txt");
        ProgramRun run;
        run.args = c.args;
        run.workingFolder = temp.path().string();
        const ProgramResult result = runProgram(run);
        EXPECT_EQ(result.exitCode, 2);
        const std::vector<std::string> lines = linesOf(result.err);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_NE(lines[0].find(c.part), std::string::npos) << lines[0];
        EXPECT_EQ(lines[1], UsageLine);
        for (const char* name : {"GAMES_V3.LOG", "hh2.txt", "errorLog.txt"})
            EXPECT_EQ(readFile(temp.path() / name), text) << name;
        EXPECT_FALSE(fs::exists(temp.path() / "hh1.txt"));
    }
}

TEST_F(Conversion, SplitNamesThatOnlyLookAlikeAreNoConflict) {
    // hh02.txt and hh2.txt.bak are never written by a split of hh.txt.
    const ProgramResult first =
        runProgram({"--files", "2", log(goodHands(1, 2), "hh02.txt"), temp.file("hh.txt")});
    EXPECT_EQ(first.exitCode, 0) << first.err;
    const ProgramResult second =
        runProgram({"--files", "2", log(goodHands(1, 2), "hh2.txt.bak"), temp.file("hh.txt")});
    EXPECT_EQ(second.exitCode, 0) << second.err;
}

}  // namespace
}  // namespace vlconvert::test
