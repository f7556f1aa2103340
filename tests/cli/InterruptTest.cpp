// Ctrl-C during a long conversion, and the progress bar, which is drawn only on a terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "cli/ProgramRunner.h"

namespace vlconvert::test {
namespace {

// Big enough that writing the histories takes a good while after the output file appears. The sanitized
// program is many times slower, so fewer hands do.
#ifdef NOXI_SANITIZED_BUILD
constexpr int BigLogHands = 30'000;
#else
constexpr int BigLogHands = 300'000;
#endif

TEST(Interrupt, CtrlCWhileSavingClosesTheFileAndReportsWhatWasDone) {
    prepareInterrupts();
    TempDir temp;
    const std::string log = temp.file("GAMES_V3.LOG");
    const std::string out = temp.file("hh.txt");
    writeFile(log, goodHands(1, BigLogHands));

    // A range of the last hands needs their count, so every hand is written in the saving step, which
    // creates the output file; hands written ahead would make saving a rename, too quick to interrupt.
    Program program({"--last", std::to_string(BigLogHands), log, out});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(5);
    while (!fs::exists(out) && !program.ended() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_FALSE(program.ended()) << "the conversion ended before it could be interrupted";
    ASSERT_TRUE(fs::exists(out));
    program.interrupt();
    const ProgramResult result = program.finish();

    EXPECT_EQ(result.exitCode, 130);
    EXPECT_EQ(result.err, "vlconvert: interrupted\n");
    const std::string history = readFile(out);
    EXPECT_TRUE(history.ends_with("\r\nTable Closed\r\n") || history == "Table Closed\r\n");
    std::size_t written = 0;
    for (std::size_t at = history.find("#Game No : "); at != std::string::npos;
         at = history.find("#Game No : ", at + 1))
        ++written;
    EXPECT_LT(written, static_cast<std::size_t>(BigLogHands));
    EXPECT_EQ(result.out, written == 1 ? "1 hand was converted successfully.\n"
                                       : std::to_string(written) + " hands were converted successfully.\n");
}

// Started with Ctrl-C ignored, as a script's background job is, the program goes on ignoring it: Ctrl-C
// comes again and again while it runs, and it still converts every hand.
TEST(Interrupt, IgnoredWhenTheProgramStartsIgnoringIt) {
    prepareInterrupts();
    TempDir temp;
    const std::string log = temp.file("GAMES_V3.LOG");
    writeFile(log, goodHands(1, BigLogHands / 10));
    const auto program = [&] {
        const InterruptsIgnored ignored;  // the program inherits it
        return std::make_unique<Program>(std::vector<std::string>{log, temp.file("hh.txt")});
    }();
    while (!program->ended()) {
        program->interrupt();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const ProgramResult result = program->finish();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, std::to_string(BigLogHands / 10) + " hands were converted successfully.\n");
}

#ifndef _WIN32
// The bar is redrawn in place ("\r"), shows each stage's text, fits the terminal's 100 columns, is redrawn
// about 20 times a second at most, and is wiped at the end. A control character of the log's name is shown
// as '?', so that it cannot break the line. --quiet shows none.
TEST(Progress, BarOnATerminal) {
    TempDir temp;
    const std::string log = temp.file("GAMES\nV3.LOG");
    writeFile(log, goodHands(1, BigLogHands / 10));
    const auto start = std::chrono::steady_clock::now();
    const ProgramResult result = runProgram({log, temp.file("hh.txt")}, "", true);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, std::to_string(BigLogHands / 10) + " hands were converted successfully.\n");

    const std::string& screen = result.err;
    for (const char* text : {"Converting GAMES?V3.LOG", "Loading file GAMES?V3.LOG...",
                             "Processing hand histories...", "Saving hand histories to disk..."}) {
        EXPECT_NE(screen.find(text), std::string::npos) << text;
    }
    EXPECT_EQ(screen.find('\n'), std::string::npos);
    // The last drawing is wiped with blanks and the cursor put back at the start of the line.
    EXPECT_TRUE(screen.ends_with('\r')) << screen;
    std::vector<std::string> drawings;
    std::istringstream stream(screen.substr(screen.find('\r') + 1));
    for (std::string drawing; std::getline(stream, drawing, '\r');)
        drawings.push_back(drawing);
    ASSERT_GE(drawings.size(), 2u) << screen;
    for (const std::string& line : drawings)
        EXPECT_LT(line.size(), 100u) << line;
    EXPECT_NE(drawings[drawings.size() - 2].find("%"), std::string::npos);
    EXPECT_EQ(drawings.back().find_first_not_of(' '), std::string::npos);
    // Five stage starts are drawn at once; every other drawing waits 50 ms since the one before.
    EXPECT_LE(static_cast<double>(drawings.size() - 1), 5 + seconds * 20 + 1) << seconds << " s";

    EXPECT_EQ(runProgram({"--quiet", log, temp.file("hh.txt")}, "", true).err, "");
}

#endif

}  // namespace
}  // namespace vlconvert::test
