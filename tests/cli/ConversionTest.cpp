// Whole conversions through vlconvert: options reach the library, the summaries, the error log, exit
// statuses, and no run writes over its own input.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/ProgramRunner.h"

namespace vlconvert::test {
namespace {

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
    const fs::path golden = fs::path(NOXI_TEST_DATA) / "golden";
    setenv("TZ", noxi::test::HistoryZone, 1);
    const struct {
        std::vector<std::string> options;
        const char* expected;
    } cases[] = {
        {{"--real-money", "--six-max"}, "showcase.real.expected.txt"},
        {{"--show-losing-hands", "--all-hole-cards", "--fix-small-blind"}, "showcase.play.expected.txt"},
        {{"--real-money", "--six-max", "--tracker-safe"}, "showcase.tracker.expected.txt"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        std::vector<std::string> args = c.options;
        args.push_back((golden / "showcase.log").string());
        args.push_back(temp.file("out.txt"));
        const ProgramResult result = runProgram(args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, "8 hands were converted successfully.\n");
        EXPECT_EQ(result.err, "");  // no progress bar when standard error is not a terminal
        EXPECT_EQ(readFile(temp.file("out.txt")), readFile(golden / c.expected));
    }
}

// One line of JSON that tells everything the text summary tells, and what went wrong. A failure also
// gives the library's message after the program's name, and status 1; the text summary says nothing.
TEST_F(Conversion, JsonSummary) {
    const std::string input = log(goodHands(1, 1) + BadLines + goodHands(2, 3));
    ProgramResult result = runProgram({"--json", "--hands-per-file", "2", input, temp.file("hh.txt")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    ASSERT_EQ(linesOf(result.out).size(), 1u) << result.out;
    EXPECT_EQ(nlohmann::json::parse(result.out),
              (nlohmann::json{{"result", "finished"},
                              {"input", input},
                              {"files", {temp.file("hh1.txt"), temp.file("hh2.txt")}},
                              {"handsConverted", 3},
                              {"handsSkipped", 2},
                              {"errorLog", temp.file("errorLog.txt")},
                              {"error", nullptr}}));

    const std::string output = temp.file("none/hh.txt");
    const std::string clean = log(goodHands(1, 1), "clean.log");
    result = runProgram({"--json", clean, output});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "vlconvert: Couldn't create hand history file \"" + output + "\".\n");
    EXPECT_EQ(nlohmann::json::parse(result.out),
              (nlohmann::json{{"result", "failed"},
                              {"input", clean},
                              {"files", nlohmann::json::array()},
                              {"handsConverted", 0},
                              {"handsSkipped", 0},
                              {"errorLog", nullptr},
                              {"error", "Couldn't create hand history file \"" + output + "\"."}}));
    EXPECT_EQ(runProgram({clean, output}).out, "");

    // A later file of a split that cannot be created is neither listed nor counted as created.
    fs::create_directory(temp.path() / "split2.txt");
    const std::string two = log(goodHands(1, 2), "two.log");
    result = runProgram({"--hands-per-file", "1", two, temp.file("split.txt")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "1 file created.\n1 hand was converted successfully.\n");
    result = runProgram({"--json", "--hands-per-file", "1", two, temp.file("split.txt")});
    EXPECT_EQ(nlohmann::json::parse(result.out)["files"], nlohmann::json::array({temp.file("split1.txt")}));
}

// By default beside the output; replaced only by a run that skipped hands; elsewhere when asked. --strict
// fails a run only when hands were skipped.
TEST_F(Conversion, ErrorLog) {
    fs::create_directory(temp.path() / "out");
    writeFile(temp.path() / "out" / "errorLog.txt", "from an earlier run\n");
    log(goodHands(1, 1));
    ProgramResult result = runProgram({"--strict", "GAMES_V3.LOG", "out/hh.txt"}, temp.path().string());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "1 hand was converted successfully.\n");
    EXPECT_EQ(readFile(temp.path() / "out" / "errorLog.txt"), "from an earlier run\n");

    log(goodHands(1, 1) + BadLines);
    result = runProgram({"--strict", "GAMES_V3.LOG", "out/hh.txt"}, temp.path().string());
    EXPECT_EQ(result.exitCode, 3) << result.err;
    EXPECT_EQ(readFile(temp.path() / "out" / "errorLog.txt"), BadLog);
    EXPECT_EQ(result.out,
              "1 hand was converted successfully.\n2 hands were skipped due to errors.\n"
              "Errors were logged to out/errorLog.txt.\n");

    // An earlier, longer file is replaced whole.
    writeFile(temp.path() / "skipped.txt", BadLog + BadLog);
    result = runProgram(
        {"--error-log", temp.file("skipped.txt"), log(goodHands(1, 3) + "garbage\r\n"), temp.file("hh.txt")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(readFile(temp.path() / "skipped.txt"), "ERROR on Line 4, Chunk 1: Not a hand history.\n");
    EXPECT_FALSE(fs::exists(temp.file("errorLog.txt")));
    EXPECT_EQ(result.out,
              "3 hands were converted successfully.\n1 hand was skipped due to errors.\n"
              "Errors were logged to " +
                  temp.file("skipped.txt") + ".\n");
}

TEST_F(Conversion, ErrorLogThatCannotBeWrittenFailsTheRun) {
    const std::string errorLog = temp.file("no/such/folder/errorLog.txt");
    const ProgramResult result =
        runProgram({"--error-log", errorLog, log(goodHands(1, 1) + BadLines), temp.file("hh.txt")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.starts_with("vlconvert: could not write the error log '" + errorLog + "': "))
        << result.err;
    EXPECT_EQ(result.out, "1 hand was converted successfully.\n2 hands were skipped due to errors.\n");
    EXPECT_NE(readFile(temp.file("hh.txt")).find("#Game No : 1 \r\n"), std::string::npos);
}

// A run never writes over its own log, nor its error log over a history or the log: a usage error, and
// nothing is written.
TEST(Overwrite, IsRefusedBeforeAnythingIsWritten) {
    const struct {
        std::vector<std::string> args;  // in the temporary folder, which holds GAMES_V3.LOG, hh2.txt, ...
        std::string message;
    } cases[] = {
        {{"GAMES_V3.LOG", "./link.txt"}, "OUTPUT './link.txt' would replace INPUT 'GAMES_V3.LOG'"},
        {{"--hands-per-file", "1", "hh2.txt", "hh.txt"}, "OUTPUT 'hh.txt' would replace INPUT 'hh2.txt'"},
        {{"errorLog.txt", "hh.txt"},
         "the error log 'errorLog.txt' would replace INPUT; name another with --error-log"},
        {{"--error-log", "hh.txt", "GAMES_V3.LOG", "hh.txt"},
         "--error-log: the error log 'hh.txt' would replace an output file"},
        {{"--files", "3", "--error-log", "hh1.txt", "GAMES_V3.LOG", "hh.txt"},
         "--error-log: the error log 'hh1.txt' would replace an output file"},
        // Split files are named after the last backslash too.
        {{"--files", "2", "--error-log", "x\\hh1.txt", "GAMES_V3.LOG", "x\\hh.txt"},
         "--error-log: the error log 'x\\hh1.txt' would replace an output file"}};
    const std::string text = goodHands(1, 4);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        TempDir temp;
        for (const char* name : {"GAMES_V3.LOG", "hh2.txt", "errorLog.txt"})
            writeFile(temp.path() / name, text);
        fs::create_symlink("GAMES_V3.LOG", temp.path() / "link.txt");
        const ProgramResult result = runProgram(c.args, temp.path().string());
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err, "vlconvert: " + c.message + UsageHint);
        for (const char* name : {"GAMES_V3.LOG", "hh2.txt", "errorLog.txt"})
            EXPECT_EQ(readFile(temp.path() / name), text) << name;
        EXPECT_FALSE(fs::exists(temp.path() / "hh1.txt"));
    }
}

// hh02.txt and hh2.txt.bak are never written by a split of hh.txt.
TEST_F(Conversion, SplitNamesThatOnlyLookAlikeAreNoConflict) {
    for (const char* name : {"hh02.txt", "hh2.txt.bak"}) {
        const ProgramResult result =
            runProgram({"--files", "2", log(goodHands(1, 2), name), temp.file("hh.txt")});
        EXPECT_EQ(result.exitCode, 0) << name << ": " << result.err;
    }
}

}  // namespace
}  // namespace vlconvert::test
