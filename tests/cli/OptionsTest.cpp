// vlconvert's options as a user types them: the desktop program's checks and messages, usage errors, the
// values that pass, help and version.
#include <gtest/gtest.h>

#include "cli/ProgramRunner.h"
#include "support/TestSupport.h"

namespace vlconvert::test {
namespace {

namespace fs = std::filesystem;
using noxi::test::readFile;
using noxi::test::TempDir;
using noxi::test::writeFile;

class Options : public ::testing::Test {
protected:
    void SetUp() override { writeFile(log, goodHands(1, 3)); }
    ProgramResult convert(std::vector<std::string> options) {
        options.push_back(log);
        options.push_back(out);
        return runProgram(options);
    }
    TempDir temp;
    const std::string log = temp.file("GAMES_V3.LOG");
    const std::string out = temp.file("hh.txt");
};

struct UsageErrorCase {
    const char* name;
    std::vector<std::string> options;  // given before INPUT and OUTPUT
    std::vector<std::string> parts;    // what the first line of the message holds
    friend void PrintTo(const UsageErrorCase& c, std::ostream* out) { *out << c.name; }
};

class UsageError : public Options, public ::testing::WithParamInterface<UsageErrorCase> {};

TEST_P(UsageError, NamesTheOptionThenShowsTheUsageAndStartsNothing) {
    const ProgramResult result = convert(GetParam().options);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, "");
    const std::vector<std::string> lines = linesOf(result.err);
    ASSERT_GE(lines.size(), 2u) << result.err;
    EXPECT_TRUE(lines[0].starts_with("vlconvert: ")) << lines[0];
    for (const std::string& part : GetParam().parts)
        EXPECT_NE(lines[0].find(part), std::string::npos) << lines[0] << "\nlacks: " << part;
    EXPECT_EQ(lines[1], UsageLine);
    EXPECT_FALSE(fs::exists(out));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UsageError,
    ::testing::Values(
        // The desktop program's own checks and messages.
        UsageErrorCase("FirstZero", {"--first", "0"},
                       {"vlconvert: --first: \"The first <blank> hands\" must be greater than 0."}),
        UsageErrorCase("FirstNegative", {"--first", "-4"},
                       {"\"The first <blank> hands\" must be greater than 0."}),
        UsageErrorCase("LastZero", {"--last", "0"},
                       {"vlconvert: --last: \"The last <blank> hands\" must be greater than 0."}),
        UsageErrorCase(
            "FilesOne", {"--files", "1"},
            {"vlconvert: --files: \"Split the hands between <blank> files\" must be greater than 1."}),
        UsageErrorCase("FilesZero", {"--files", "0"}, {"\"Split the hands between <blank> files\""}),
        UsageErrorCase(
            "HandsPerFileZero", {"--hands-per-file", "0"},
            {"vlconvert: --hands-per-file: \"Save <blank> hands per file\" must be greater than 0."}),
        // Values that are no numbers, or too large for the library.
        UsageErrorCase("FirstWord", {"--first", "ten"}, {"--first", "'ten'"}),
        UsageErrorCase("FirstTrailingLetters", {"--first", "10x"}, {"--first", "'10x'"}),
        UsageErrorCase("FirstEmpty", {"--first", ""}, {"--first"}),
        UsageErrorCase("LastBeyond32Bits", {"--last", "4294967296"}, {"--last", "4294967296"}),
        UsageErrorCase("HandsPerFileHuge", {"--hands-per-file", "99999999999999999999999"},
                       {"--hands-per-file"}),
        UsageErrorCase("BetweenWord", {"--between", "1", "x"}, {"--between", "'x'"}),
        UsageErrorCase("BetweenBeyond32Bits", {"--between", "0", "4294967296"}, {"--between", "4294967296"}),
        UsageErrorCase("BetweenOneNumber", {"--between", "5"}, {"--between"}),
        // Conflicting and repeated choices.
        UsageErrorCase("FirstAndLast", {"--first", "1", "--last", "1"}, {"--first", "--last"}),
        UsageErrorCase("LastAndBetween", {"--between", "1", "2", "--last", "1"}, {"--between", "--last"}),
        UsageErrorCase("FilesAndHandsPerFile", {"--files", "2", "--hands-per-file", "2"},
                       {"--files", "--hands-per-file"}),
        UsageErrorCase("FirstTwice", {"--first", "1", "--first", "2"}, {"--first"}),
        // Unknown options and malformed ones.
        UsageErrorCase("Unknown", {"--fast"}, {"'--fast'"}), UsageErrorCase("UnknownShort", {"-x"}, {"'-x'"}),
        UsageErrorCase("EmptyErrorLog", {"--error-log", ""}, {"--error-log"})),
    [](const ::testing::TestParamInfo<UsageErrorCase>& info) { return std::string(info.param.name); });

TEST_F(Options, WrongNumberOfPathsIsAUsageError) {
    const ProgramResult none = runProgram(std::vector<std::string>{});
    EXPECT_EQ(none.exitCode, 2);
    ASSERT_EQ(linesOf(none.err).size(), 3u);
    EXPECT_EQ(linesOf(none.err)[0], "vlconvert: missing OUTPUT");
    EXPECT_EQ(linesOf(none.err)[1], UsageLine);

    const ProgramResult three = runProgram({log, out, "extra.txt"});
    EXPECT_EQ(three.exitCode, 2);
    EXPECT_EQ(linesOf(three.err)[0], "vlconvert: unexpected argument 'extra.txt'");
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(Options, MissingValueAtTheEndIsAUsageError) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{log, out, "--first"}, std::vector<std::string>{log, out, "--between", "1"},
          std::vector<std::string>{log, out, "--error-log"}}) {
        const ProgramResult result = runProgram(args);
        EXPECT_EQ(result.exitCode, 2);
        const std::vector<std::string> lines = linesOf(result.err);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_NE(lines[0].find(args[2]), std::string::npos) << lines[0];
        EXPECT_EQ(lines[1], UsageLine);
    }
    EXPECT_FALSE(fs::exists(out));
}

struct AcceptedCase {
    const char* name;
    std::vector<std::string> options;
    std::string summary;
    friend void PrintTo(const AcceptedCase& c, std::ostream* out) { *out << c.name; }
};

class Accepted : public Options, public ::testing::WithParamInterface<AcceptedCase> {};

// Values at the edges of what the desktop program lets through, on a log of the hands 1, 2 and 3.
TEST_P(Accepted, RunsTheConversion) {
    const ProgramResult result = convert(GetParam().options);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, GetParam().summary);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Accepted,
    ::testing::Values(
        AcceptedCase("FirstOne", {"--first", "1"}, "1 hand was converted successfully.\n"),
        AcceptedCase("FirstLargest", {"--first", "4294967295"}, "3 hands were converted successfully.\n"),
        AcceptedCase("FirstWithPlusSign", {"--first=+2"}, "2 hands were converted successfully.\n"),
        AcceptedCase("LastMoreThanThereAre", {"--last", "7"}, "3 hands were converted successfully.\n"),
        // Not checked by the desktop program: any numbers in any order pass, and a reversed range selects
        // nothing.
        AcceptedCase("BetweenReversed", {"--between", "3", "2"}, "0 hands were converted successfully.\n"),
        AcceptedCase("BetweenLargest", {"--between", "2", "4294967295"},
                     "2 hands were converted successfully.\n"),
        AcceptedCase("FilesTwo", {"--files", "2"},
                     "2 files created.\n3 hands were converted successfully.\n"),
        AcceptedCase("HandsPerFileLargest", {"--hands-per-file", "4294967295"},
                     "1 file created.\n3 hands were converted successfully.\n")),
    [](const ::testing::TestParamInfo<AcceptedCase>& info) { return std::string(info.param.name); });

// Hand numbers are compared as unsigned 32-bit numbers: a negative number names the hands the log numbers
// negatively, which sort after all others.
TEST_F(Options, NegativeHandNumbersSelectNegativelyNumberedHands) {
    writeFile(log, goodHands(1, 2) + goodHands(-7, -7) + goodHands(-3, -3));
    const ProgramResult result = convert({"--between", "-7", "-4"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "1 hand was converted successfully.\n");
    EXPECT_NE(readFile(out).find("#Game No : -7"), std::string::npos);
}

TEST(Help, DocumentsEveryOptionWithExamples) {
    const ProgramResult result = runProgram({"--help"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    ASSERT_TRUE(result.out.starts_with(std::string(UsageLine) + "\n")) << result.out;
    for (const std::string& line : linesOf(result.out))
        EXPECT_LE(line.size(), 80u) << line;

    const std::size_t examples = result.out.find("\nExamples:\n");
    ASSERT_NE(examples, std::string::npos);
    const std::string list = result.out.substr(0, examples);
    const std::string shown = result.out.substr(examples);
    for (const char* option :
         {"--first N", "--last N", "--between A B", "--files N", "--hands-per-file N", "--fix-small-blind",
          "--six-max", "--real-money", "--all-hole-cards", "--show-losing-hands", "--error-log FILE",
          "--json", "--strict", "-q, --quiet"}) {
        EXPECT_NE(list.find(option), std::string::npos) << option << " is not listed";
        const std::string name = std::string(option).substr(std::string(option).find("--"));
        EXPECT_NE(shown.find(name.substr(0, name.find(' '))), std::string::npos)
            << option << " has no example";
    }
    for (const char* option : {"-h, --help", "--version"})
        EXPECT_NE(list.find(option), std::string::npos) << option;
    EXPECT_NE(result.out.find("Exit status:"), std::string::npos);

    EXPECT_EQ(runProgram({"-h"}).out, result.out);
}

TEST(Version, PrintsTheProjectVersion) {
    const ProgramResult result = runProgram({"--version"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "vlconvert " VLCONVERT_VERSION "\n");
    EXPECT_EQ(result.err, "");
}

}  // namespace
}  // namespace vlconvert::test
