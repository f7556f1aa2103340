#include "hand/HandRecord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "hand/Money.h"

namespace noxi {
namespace {

HandRecord completeHand() {
    HandRecord hand;
    hand.sequence = "kk";
    hand.numPlayers = 2;
    hand.actions.emplace_back(0, Check, 0);
    hand.pots[3.0] = Pot{3.0, {0, 1}, 2};
    hand.tableName = "Apex";
    hand.seatNames[0] = "alice";
    hand.seatNames[1] = "bob";
    hand.stacks[0] = 10;
    hand.stacks[1] = 0.01;
    return hand;
}

// Two seated players (a name, even an empty one, and chips) and every other part.
TEST(HandRecord, CompleteNeedsEveryPart) {
    HandRecord named = completeHand();
    named.seatNames[0] = "";
    EXPECT_TRUE(named.isComplete());
    EXPECT_FALSE(named.isSeated(10));
    const std::function<void(HandRecord&)> spoilers[] = {
        [](HandRecord& h) { h.sequence.reset(); },     [](HandRecord& h) { h.numPlayers = 0; },
        [](HandRecord& h) { h.actions.clear(); },      [](HandRecord& h) { h.pots.clear(); },
        [](HandRecord& h) { h.tableName.reset(); },    [](HandRecord& h) { h.stacks[1] = 0; },
        [](HandRecord& h) { h.seatNames[0].reset(); },
    };
    for (const auto& spoil : spoilers) {
        HandRecord hand = completeHand();
        spoil(hand);
        EXPECT_FALSE(hand.isComplete());
    }
}

// Reused records are checked against fresh ones by the decoder test and the intake fuzz replay; the rake
// alone stays.
TEST(HandRecord, ResetClearsAllButTheRake) {
    HandRecord hand = completeHand();
    hand.rake = 1.5;
    hand.button = 3;
    hand.heroSeat = 1;
    hand.setError("boom");
    hand.reset();
    EXPECT_EQ(hand.rake, 1.5);
    EXPECT_EQ(hand.button, 9);
    EXPECT_EQ(hand.heroSeat, -1);
    EXPECT_STREQ(hand.errorText(), "");
    EXPECT_FALSE(hand.isComplete());
}

TEST(HandRecord, SetErrorReplacesAndFitsTheBuffer) {
    HandRecord hand;
    hand.setError("Chunk %i: Bad chunk.", 7);
    EXPECT_STREQ(hand.errorText(), "Chunk 7: Bad chunk.");
    hand.setError(nullptr);
    EXPECT_STREQ(hand.errorText(), "Chunk 7: Bad chunk.");
    const std::string longText(2000, 'x');
    hand.setError("%s", longText.c_str());
    EXPECT_EQ(std::string(hand.errorText()), longText.substr(0, HandRecord::ErrorSize - 1));
}

// The chunk parser's tests check the usual amounts; these are the edges of the binary representation.
TEST(Money, RoundsHalfACentUpByTruncation) {
    const std::pair<double, double> cases[] = {
        {1.005, 1.0}, {-0.125, -0.12}, {1e15, 1e15}, {123456789012.345, 123456789012.35}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(roundToCents(in), out) << in;
    EXPECT_FALSE(roundToCents(std::nan("")).has_value());
    EXPECT_FALSE(roundToCents(1e17).has_value());
}

}  // namespace
}  // namespace noxi
