// The decoder against the log generator's own simulation, which shares no code with the library: for every
// good hand, the records (seat, type, amount) and the pot totals must be what the generator played. The CTest
// fixture makes the log and its truth file (NOXI_CROSSCHECK_LOG, NOXI_CROSSCHECK_TRUTH).
#include <gtest/gtest.h>

#include <charconv>
#include <cstdlib>
#include <sstream>
#include <unordered_map>

#include "frame/Intake.h"
#include "support/TestSupport.h"

namespace noxi::test {
namespace {

void appendFixed2(std::string& out, double value) {
    char text[64];
    out.append(text, std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr);
}

// The decoded hand in the generator's truth format.
std::string truthOf(const TakenHand& hand) {
    std::string out = std::to_string(hand.gameId());
    for (const Action& action : hand.decoded.actions) {
        out += ' ' + std::to_string(action.seat) + ':' + std::to_string(action.type) + ':';
        appendFixed2(out, action.amount);
    }
    out += " |";
    for (const auto& [total, pot] : hand.decoded.pots) {
        out += ' ';
        appendFixed2(out, total);
    }
    return out;
}

TEST(CrossCheck, DecoderAgreesWithTheGeneratorsSimulation) {
    const char* logPath = std::getenv("NOXI_CROSSCHECK_LOG");
    const char* truthPath = std::getenv("NOXI_CROSSCHECK_TRUTH");
    if (logPath == nullptr || truthPath == nullptr)
        GTEST_SKIP() << "run through CTest, which generates the log";

    std::unordered_map<std::string, std::string> truth;  // hand id -> truth line
    std::istringstream truthLines(readFile(truthPath));
    for (std::string line; std::getline(truthLines, line);)
        truth.emplace(line.substr(0, line.find(' ')), line);
    ASSERT_GT(truth.size(), 1000u);

    std::istringstream logLines(readFile(logPath));
    TakenHand hand;
    const ConversionOptions options;
    std::size_t checked = 0;
    int mismatches = 0;
    for (std::string line; std::getline(logLines, line);) {
        if (parseLine(hand, line.c_str(), options, false) <= 0) continue;
        auto expected = truth.find(std::to_string(hand.gameId()));
        // Hands the generator cannot vouch for, and later hands repeating an id, are not in the truth.
        if (expected == truth.end() || expected->second.empty()) continue;
        ++checked;
        if (truthOf(hand) != expected->second && ++mismatches <= 5) {
            ADD_FAILURE() << "hand " << hand.gameId() << "\n  decoded:   " << truthOf(hand)
                          << "\n  generated: " << expected->second << "\n  line: " << line;
        }
        expected->second.clear();  // the first hand of an id is the one the converter keeps
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(checked, truth.size()) << "every hand of the truth file was decoded";
}

}  // namespace
}  // namespace noxi::test
