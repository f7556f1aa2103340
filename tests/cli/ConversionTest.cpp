// Whole conversions through vlconvert: options reach the library, the summaries, the error log, exit
// statuses, and no run writes over its own input.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#ifdef __linux__
#include <linux/fs.h>
#endif

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
    setEnvironment("TZ", noxi::test::HistoryZone);
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

    // A file that cannot be made during the run fails it: the library's message, and no summary of success.
    fs::create_directory(temp.path() / "split2.txt");
    const std::string two = log(goodHands(1, 2), "two.log");
    const std::string failure = "Couldn't create hand history file \"" + temp.file("split.txt") + "\".";
    result = runProgram({"--hands-per-file", "1", two, temp.file("split.txt")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "vlconvert: " + failure + "\n");
    EXPECT_EQ(result.out, "");
    // The files made are listed; the one that could not be made is neither listed nor counted.
    result = runProgram({"--json", "--hands-per-file", "1", two, temp.file("split.txt")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(nlohmann::json::parse(result.out),
              (nlohmann::json{{"result", "failed"},
                              {"input", two},
                              {"files", nlohmann::json::array({temp.file("split1.txt")})},
                              {"handsConverted", 1},
                              {"handsSkipped", 0},
                              {"errorLog", nullptr},
                              {"error", failure}}));
}

// An output or error log that cannot be written is refused before any work, with one message naming the
// folder, and status 1. Before any work: the log named here does not even exist.
TEST_F(Conversion, OutputsThatCannotBeWrittenAreRefusedUpFront) {
    fs::create_directory(temp.path() / "folder");
    fs::create_directory(temp.path() / "folder" / "errorLog.txt");
    writeFile(temp.path() / "file", "");
    const std::string missing = temp.file("missing.log");
    const struct {
        std::vector<std::string> args;  // INPUT and OUTPUT come after
        std::string output;
        std::string message;
    } cases[] = {
        {{}, "none/hh.txt", "the folder '" + temp.file("none") + "' for OUTPUT does not exist"},
        {{"--files", "2"}, "none/hh.txt", "the folder '" + temp.file("none") + "' for OUTPUT does not exist"},
        {{}, "file/hh.txt", "the folder '" + temp.file("file") + "' for OUTPUT is a file, not a folder"},
        {{}, "folder", "OUTPUT '" + temp.file("folder") + "' is a folder"},
        {{"--error-log", temp.file("none/e.txt")},
         "hh.txt",
         "the folder '" + temp.file("none") + "' for --error-log does not exist"},
        {{"--error-log", temp.file("folder")},
         "hh.txt",
         "--error-log '" + temp.file("folder") + "' is a folder"},
        {{},
         "folder/hh.txt",
         "the error log '" + temp.file("folder/errorLog.txt") +
             "' is a folder; name another with --error-log"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {missing, temp.file(c.output)});
        ProgramResult result = runProgram(args);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, "vlconvert: " + c.message + "\n");
        EXPECT_EQ(result.out, "");
        args.insert(args.begin(), "--json");
        result = runProgram(args);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(nlohmann::json::parse(result.out)["error"], c.message);
    }
    EXPECT_EQ(fs::directory_iterator(temp.path() / "folder/errorLog.txt"), fs::directory_iterator());
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
    EXPECT_EQ(readFile(temp.path() / "out" / "errorLog.txt"), textFile(BadLog));
    EXPECT_EQ(result.out,
              "1 hand was converted successfully.\n2 hands were skipped due to errors.\n"
              "Errors were logged to out/errorLog.txt.\n");

    // An earlier, longer file is replaced whole.
    writeFile(temp.path() / "skipped.txt", BadLog + BadLog);
    result = runProgram(
        {"--error-log", temp.file("skipped.txt"), log(goodHands(1, 3) + "garbage\r\n"), temp.file("hh.txt")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(readFile(temp.path() / "skipped.txt"),
              textFile("ERROR on Line 4, Chunk 1: Not a hand history.\n"));
    EXPECT_FALSE(fs::exists(temp.file("errorLog.txt")));
    EXPECT_EQ(result.out,
              "3 hands were converted successfully.\n1 hand was skipped due to errors.\n"
              "Errors were logged to " +
                  temp.file("skipped.txt") + ".\n");
}

#ifndef _WIN32
// Takes away the right to make files in a folder for its lifetime: the write permission, or, for root, whom
// permissions do not stop, the immutable flag where the file system has one. False when neither works.
class LockedFolder {
public:
    explicit LockedFolder(const fs::path& folder) : folder_(folder) {
        if (geteuid() != 0) {
            locked_ = chmod(folder.c_str(), 0555) == 0;
            return;
        }
#ifdef __linux__
        const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        int flags = 0;
        if (fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            locked_ = immutable_ = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        if (fd >= 0) close(fd);
#endif
    }
    ~LockedFolder() {
        if (!locked_) return;
        if (!immutable_) {
            chmod(folder_.c_str(), 0755);
            return;
        }
#ifdef __linux__
        const int fd = open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        int flags = 0;
        if (fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        if (fd >= 0) close(fd);
#endif
    }
    LockedFolder(const LockedFolder&) = delete;
    LockedFolder& operator=(const LockedFolder&) = delete;
    explicit operator bool() const {
        return locked_;
    }

private:
    fs::path folder_;
    bool locked_ = false;
    bool immutable_ = false;
};

// An error log that fails while it is written (a full disk) fails a run that converted every hand; the
// histories are there, and so is their summary.
TEST_F(Conversion, ErrorLogThatCannotBeWrittenFailsTheRun) {
    const ProgramResult result =
        runProgram({"--error-log", "/dev/full", log(goodHands(1, 1) + BadLines), temp.file("hh.txt")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "vlconvert: could not write the error log '/dev/full': No space left on device\n");
    EXPECT_EQ(result.out, "1 hand was converted successfully.\n2 hands were skipped due to errors.\n");
    EXPECT_NE(readFile(temp.file("hh.txt")).find("#Game No : 1 \r\n"), std::string::npos);
}

// A folder in which no file can be made, though it exists. Made so by taking away its write permission, or,
// for root, whom permissions do not stop, by marking it immutable where the file system can.
TEST_F(Conversion, FolderThatCannotBeWrittenIsRefusedUpFront) {
    const fs::path folder = temp.path() / "locked";
    fs::create_directory(folder);
    LockedFolder locked(folder);
    if (!locked) GTEST_SKIP() << "no way to lock a folder here";
    const ProgramResult result = runProgram({log(goodHands(1, 1)), (folder / "hh.txt").string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.starts_with("vlconvert: no file can be made in the folder '" + folder.string() +
                                       "' for OUTPUT: "))
        << result.err;
    EXPECT_EQ(result.out, "");
}
#endif

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
            // Another name of the log; x is the folder of the last case's paths on Windows.
#ifdef _WIN32
        fs::create_hard_link(temp.path() / "GAMES_V3.LOG", temp.path() / "link.txt");
#else
        fs::create_symlink("GAMES_V3.LOG", temp.path() / "link.txt");
#endif
        fs::create_directory(temp.path() / "x");
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
