#include "hand/HandRecord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "hand/Money.h"

namespace noxi {
namespace {

HandRecord twoPlayers() {
    HandRecord hand;
    hand.seatNames[0] = "alice";
    hand.seatNames[1] = "bob";
    hand.stacks[0] = 10;
    hand.stacks[1] = 0.01;
    return hand;
}

TEST(HandRecord, SeatedSeatsAndTheHeroAmongThem) {
    HandRecord hand = twoPlayers();
    hand.seatNames[3] = "carol";  // a name without chips
    EXPECT_TRUE(hand.isSeated(1));
    EXPECT_FALSE(hand.isSeated(3));
    EXPECT_FALSE(hand.isSeated(10));
    EXPECT_FALSE(hand.isSeated(-1));
    EXPECT_EQ(hand.heroSeat(), -1);
    const std::pair<const char*, int> heroes[] = {{"bob", 1}, {"Bob", -1}, {"carol", -1}, {"", -1}};
    for (const auto& [name, seat] : heroes) {
        hand.heroName = name;
        EXPECT_EQ(hand.heroSeat(), seat) << name;
    }
}

// Reused records are checked against fresh ones by the decoder test and the intake fuzz replay; the rake
// alone stays.
TEST(HandRecord, ResetClearsAllButTheRake) {
    HandRecord hand = twoPlayers();
    hand.rake = 1.5;
    hand.button = 3;
    hand.heroName = "bob";
    hand.setError("boom");
    hand.reset();
    EXPECT_EQ(hand.rake, 1.5);
    EXPECT_EQ(hand.button, 9);
    EXPECT_EQ(hand.heroSeat(), -1);
    EXPECT_STREQ(hand.errorText(), "");
    EXPECT_FALSE(hand.isSeated(0));
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
