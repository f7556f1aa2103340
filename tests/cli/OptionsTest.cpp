// vlconvert's options as a user types them: the desktop program's checks and messages, usage errors, the
// values that pass, help and version.
#include <gtest/gtest.h>

#include "cli/ProgramRunner.h"

namespace vlconvert::test {
namespace {

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

// The option is named, then the usage is shown, and nothing is started.
TEST_F(Options, UsageErrors) {
    const struct {
        std::vector<std::string> options;  // given before INPUT and OUTPUT
        std::vector<std::string> parts;    // what the first line of the message holds
    } cases[] = {
        // The desktop program's own checks and messages.
        {{"--first", "0"}, {"vlconvert: --first: \"The first <blank> hands\" must be greater than 0."}},
        {{"--first", "-4"}, {"\"The first <blank> hands\" must be greater than 0."}},
        {{"--last", "0"}, {"vlconvert: --last: \"The last <blank> hands\" must be greater than 0."}},
        {{"--files", "1"},
         {"vlconvert: --files: \"Split the hands between <blank> files\" must be greater than 1."}},
        {{"--files", "0"}, {"\"Split the hands between <blank> files\""}},
        {{"--hands-per-file", "0"},
         {"vlconvert: --hands-per-file: \"Save <blank> hands per file\" must be greater than 0."}},
        // Values that are no numbers, or too large for the library.
        {{"--first", "ten"}, {"--first", "'ten'"}},
        {{"--first", "10x"}, {"--first", "'10x'"}},
        {{"--first", ""}, {"--first"}},
        {{"--last", "4294967296"}, {"--last", "4294967296"}},
        {{"--hands-per-file", "99999999999999999999999"}, {"--hands-per-file"}},
        {{"--between", "1", "x"}, {"--between", "'x'"}},
        {{"--between", "0", "4294967296"}, {"--between", "4294967296"}},
        {{"--between", "5"}, {"--between"}},
        // Conflicting and repeated choices.
        {{"--first", "1", "--last", "1"}, {"--first", "--last"}},
        {{"--between", "1", "2", "--last", "1"}, {"--between", "--last"}},
        {{"--files", "2", "--hands-per-file", "2"}, {"--files", "--hands-per-file"}},
        {{"--first", "1", "--first", "2"}, {"--first"}},
        // Unknown options and malformed ones.
        {{"--fast"}, {"'--fast'"}},
        {{"-x"}, {"'-x'"}},
        {{"--error-log", ""}, {"--error-log"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options[0] + (c.options.size() > 1 ? " " + c.options[1] : ""));
        const ProgramResult result = convert(c.options);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, "");
        const std::vector<std::string> lines = linesOf(result.err);
        ASSERT_GE(lines.size(), 2u) << result.err;
        EXPECT_TRUE(lines[0].starts_with("vlconvert: ")) << lines[0];
        for (const std::string& part : c.parts)
            EXPECT_NE(lines[0].find(part), std::string::npos) << lines[0] << "\nlacks: " << part;
        EXPECT_EQ(lines[1], UsageLine);
        EXPECT_FALSE(fs::exists(out));
    }
}

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

// Values at the edges of what the desktop program lets through, on a log of the hands 1, 2 and 3.
TEST_F(Options, AcceptedValuesRunTheConversion) {
    const struct {
        std::vector<std::string> options;
        std::string summary;
    } cases[] = {
        {{"--first", "1"}, "1 hand was converted successfully.\n"},
        {{"--first", "4294967295"}, "3 hands were converted successfully.\n"},
        {{"--first=+2"}, "2 hands were converted successfully.\n"},
        {{"--last", "7"}, "3 hands were converted successfully.\n"},
        // Not checked by the desktop program: any numbers in any order pass, and a reversed range selects
        // nothing.
        {{"--between", "3", "2"}, "0 hands were converted successfully.\n"},
        {{"--between", "2", "4294967295"}, "2 hands were converted successfully.\n"},
        {{"--files", "2"}, "2 files created.\n3 hands were converted successfully.\n"},
        {{"--hands-per-file", "4294967295"}, "1 file created.\n3 hands were converted successfully.\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options[0] + (c.options.size() > 1 ? " " + c.options[1] : ""));
        const ProgramResult result = convert(c.options);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out, c.summary);
    }
}

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
