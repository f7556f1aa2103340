// vlconvert's options as a user types them: usage errors and their messages, values that pass, help.
#include <gtest/gtest.h>

#include "cli/ProgramRunner.h"

namespace vlconvert::test {
namespace {

class Options : public ::testing::Test {
protected:
    // Hands 1, 2 and 3, and two numbered negatively.
    void SetUp() override { writeFile(log, goodHands(1, 3) + goodHands(-7, -7) + goodHands(-3, -3)); }
    ProgramResult convert(std::vector<std::string> options) {
        options.push_back(log);
        options.push_back(out);
        return runProgram(options);
    }
    TempDir temp;
    const std::string log = temp.file("GAMES_V3.LOG");
    const std::string out = temp.file("hh.txt");
};

// The option or argument is named, then the usage is shown, and nothing is started. A message that ends
// in ": " is the argument parser's own wording, checked by what it names.
TEST_F(Options, UsageErrors) {
    const struct {
        std::vector<std::string> args;  // INPUT and OUTPUT are added when the first is an option
        std::string message;
    } cases[] = {
        // The desktop program's own checks and messages.
        {{"--first", "0"}, "--first: \"The first <blank> hands\" must be greater than 0."},
        {{"--last", "0"}, "--last: \"The last <blank> hands\" must be greater than 0."},
        {{"--files", "1"}, "--files: \"Split the hands between <blank> files\" must be greater than 1."},
        {{"--hands-per-file", "0"},
         "--hands-per-file: \"Save <blank> hands per file\" must be greater than 0."},
        // Values that are no numbers, or too large for the library.
        {{"--first", "10x"}, "--first: invalid number '10x'"},
        {{"--last", "4294967296"}, "--last: '4294967296' is too large (at most 4294967295)"},
        {{"--hands-per-file", "99999999999999999999999"},
         "--hands-per-file: '99999999999999999999999' is too large (at most 4294967295)"},
        {{"--between", "1", "x"}, "--between: invalid number 'x'"},
        {{"--between", "0", "4294967296"}, "--between: hand number '4294967296' is out of range"},
        // Conflicting and repeated choices, unknown options, an empty path.
        // Every pair of ranges and of split modes, in either order.
        {{"--first", "1", "--last", "1"}, "--first and --last cannot be used together"},
        {{"--last", "1", "--first", "1"}, "--first and --last cannot be used together"},
        {{"--first", "1", "--between", "1", "2"}, "--first and --between cannot be used together"},
        {{"--between", "1", "2", "--first", "1"}, "--first and --between cannot be used together"},
        {{"--last", "1", "--between", "1", "2"}, "--last and --between cannot be used together"},
        {{"--between", "1", "2", "--last", "1"}, "--last and --between cannot be used together"},
        {{"--files", "2", "--hands-per-file", "2"}, "--files and --hands-per-file cannot be used together"},
        {{"--hands-per-file", "2", "--files", "2"}, "--files and --hands-per-file cannot be used together"},
        {{"--first", "1", "--first", "2"}, "--first: given more than once"},
        {{"--json=false"}, "--json: takes no value"},
        {{"--fast"}, "unrecognized option '--fast'"},
        {{"--error-log", ""}, "--error-log: empty file name"},
        // A value missing at the end, and a wrong number of paths.
        {{log, out, "--between", "1"}, "--between: needs two hand numbers, A and B"},
        {{log, out, "--error-log"}, "--error-log: missing FILE"},
        {{log, out, "extra.txt"}, "unexpected argument 'extra.txt'"},
        {{}, "missing OUTPUT"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> args = c.args;
        if (!args.empty() && args[0].starts_with("--")) args.insert(args.end(), {log, out});
        const ProgramResult result = runProgram(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, "");
        if (c.message.ends_with(": ")) {
            EXPECT_TRUE(result.err.starts_with("vlconvert: " + c.message)) << result.err;
            EXPECT_TRUE(result.err.ends_with(UsageHint)) << result.err;
        } else {
            EXPECT_EQ(result.err, "vlconvert: " + c.message + UsageHint);
        }
        EXPECT_FALSE(fs::exists(out));
    }
}

// Values at the edges of what the desktop program lets through. Hand numbers are compared as unsigned
// 32-bit numbers: a negative number names the hands the log numbers negatively, which sort after all others.
TEST_F(Options, AcceptedValuesRunTheConversion) {
    const struct {
        std::vector<std::string> options;
        std::string summary;
    } cases[] = {
        {{"--first", "1"}, "1 hand was converted successfully.\n"},
        {{"--first=+2"}, "2 hands were converted successfully.\n"},
        // Not checked by the desktop program: a reversed range passes and selects nothing.
        {{"--between", "3", "2"}, "0 hands were converted successfully.\n"},
        {{"--between", "2", "4294967295"}, "4 hands were converted successfully.\n"},
        {{"--between", "-7", "-4"}, "1 hand was converted successfully.\n"},
        {{"--files", "2"}, "2 files created.\n5 hands were converted successfully.\n"},
        {{"--hands-per-file", "4294967295"}, "1 file created.\n5 hands were converted successfully.\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options[0] + (c.options.size() > 1 ? " " + c.options[1] : ""));
        const ProgramResult result = convert(c.options);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out, c.summary);
    }
}

TEST(Help, StartsWithTheUsageAndFitsEightyColumns) {
    const ProgramResult result = runProgram({"--help"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(result.out.starts_with(std::string(UsageLine) + "\n")) << result.out;
    for (const std::string& line : linesOf(result.out))
        EXPECT_LE(line.size(), 80u) << line;
    EXPECT_EQ(runProgram({"-h"}).out, result.out);

    const ProgramResult version = runProgram({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "vlconvert " VLCONVERT_VERSION "\n");
}

}  // namespace
}  // namespace vlconvert::test
