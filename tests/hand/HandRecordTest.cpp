#include "hand/HandRecord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <string>

#include "hand/Money.h"

namespace noxi {
namespace {

SeatFlags allFlagged() {
    SeatFlags flags;
    flags.fill(true);
    return flags;
}

TEST(SeatWalk, NextAndPreviousPassOverFlaggedSeats) {
    SeatFlags flags = allFlagged();
    flags[2] = false;
    EXPECT_EQ(HandRecord::nextSeat(9, flags), 2);
    EXPECT_EQ(HandRecord::prevSeat(9, flags), 2);
    EXPECT_EQ(HandRecord::nextSeat(2, flags), 2);  // back at the start

    flags[7] = false;
    EXPECT_EQ(HandRecord::nextSeat(2, flags), 7);
    EXPECT_EQ(HandRecord::nextSeat(7, flags), 2);  // wraps from 9 to 0
    EXPECT_EQ(HandRecord::prevSeat(2, flags), 7);  // wraps from 0 to 9
    EXPECT_EQ(HandRecord::prevSeat(5, flags), 2);

    const SeatFlags none{};
    EXPECT_EQ(HandRecord::nextSeat(9, none), 0);
    EXPECT_EQ(HandRecord::prevSeat(0, none), 9);
}

TEST(SeatWalk, EveryOtherSeatFlaggedGivesTheStart) {
    EXPECT_EQ(HandRecord::nextSeat(9, allFlagged()), 9);
    EXPECT_EQ(HandRecord::prevSeat(4, allFlagged()), 4);
}

TEST(SeatWalk, StartOutsideTheTableEndsAfterOneLap) {
    EXPECT_EQ(HandRecord::nextSeat(-1, allFlagged()), -1);
    EXPECT_EQ(HandRecord::nextSeat(42, allFlagged()), 42);
    SeatFlags flags = allFlagged();
    flags[3] = false;
    EXPECT_EQ(HandRecord::nextSeat(-5, flags), 3);
    EXPECT_EQ(HandRecord::prevSeat(77, flags), 3);
}

TEST(HandRecord, NewRecordIsInTheResetState) {
    HandRecord hand;
    EXPECT_EQ(hand.button, 9);
    EXPECT_EQ(hand.heroSeat, -1);
    EXPECT_EQ(hand.gameId(), 0);
    EXPECT_STREQ(hand.errorText(), "");
    EXPECT_EQ(hand.rake, 0);
    for (int seat = 0; seat < SeatCount; ++seat) {
        EXPECT_TRUE(hand.folded[seat]);
        EXPECT_FALSE(hand.seatNames[seat].has_value());
        EXPECT_FALSE(hand.holeCards[seat][0].isKnown());
        EXPECT_EQ(hand.evaluators[seat].count(), 0);
    }
    for (const Card& card : hand.board)
        EXPECT_EQ(card, Card{});
    EXPECT_FALSE(hand.isComplete());
}

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

TEST(HandRecord, CompleteNeedsEveryPart) {
    EXPECT_TRUE(completeHand().isComplete());
    const std::function<void(HandRecord&)> spoilers[] = {
        [](HandRecord& h) { h.sequence.reset(); }, [](HandRecord& h) { h.numPlayers = 0; },
        [](HandRecord& h) { h.numPlayers = -3; },  [](HandRecord& h) { h.actions.clear(); },
        [](HandRecord& h) { h.pots.clear(); },     [](HandRecord& h) { h.tableName.reset(); },
        [](HandRecord& h) { h.stacks[1] = 0; },    [](HandRecord& h) { h.seatNames[0].reset(); },
    };
    for (const auto& spoil : spoilers) {
        HandRecord hand = completeHand();
        spoil(hand);
        EXPECT_FALSE(hand.isComplete());
    }
}

TEST(HandRecord, SeatedNeedsANameAndChips) {
    HandRecord hand;
    hand.seatNames[4] = "";
    hand.stacks[4] = 0;
    EXPECT_FALSE(hand.isSeated(4));
    hand.stacks[4] = 0.01;
    EXPECT_TRUE(hand.isSeated(4));  // an empty name is still a name
    hand.stacks[5] = 10;
    EXPECT_FALSE(hand.isSeated(5));
    EXPECT_FALSE(hand.isSeated(-1));
    EXPECT_FALSE(hand.isSeated(10));
}

TEST(HandRecord, ResetClearsEverythingButTheRake) {
    HandRecord hand = completeHand();
    hand.rake = 1.5;
    hand.button = 3;
    hand.heroSeat = 1;
    hand.heroName = "bob";
    hand.hasBets = true;
    hand.bets = {2, 4};
    hand.betsUsed = 1;
    hand.board[0].parse("Ah");
    hand.holeCards[1][1].parse("Kd");
    hand.evaluators[1].addCard(hand.holeCards[1][1]);
    hand.folded[0] = false;
    hand.setError("boom");
    hand.reset();
    EXPECT_EQ(hand.rake, 1.5);
    EXPECT_EQ(hand.button, 9);
    EXPECT_EQ(hand.heroSeat, -1);
    EXPECT_FALSE(hand.heroName || hand.tableName || hand.sequence || hand.hasBets);
    EXPECT_TRUE(hand.bets.empty() && hand.actions.empty() && hand.pots.empty());
    EXPECT_EQ(hand.betsLeft(), 0u);
    EXPECT_EQ(hand.board[0], Card{});
    EXPECT_EQ(hand.holeCards[1][1], Card{});
    EXPECT_EQ(hand.evaluators[1].count(), 0);
    EXPECT_TRUE(hand.folded[0]);
    EXPECT_STREQ(hand.errorText(), "");
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

TEST(Money, RoundsHalfACentUpByTruncation) {
    struct {
        double in, out;
    } cases[] = {{0.125, 0.13},
                 {0.124, 0.12},
                 {12.5, 12.5},
                 {1.005, 1.0},
                 {0, 0},
                 {-0.125, -0.12},
                 {-0.126, -0.12},
                 {-1, -0.99},
                 {21474836.47, 21474836.47},
                 {1e15, 1e15},
                 {123456789012.345, 123456789012.35}};
    for (const auto& c : cases) {
        const auto rounded = roundToCents(c.in);
        ASSERT_TRUE(rounded.has_value()) << c.in;
        EXPECT_DOUBLE_EQ(*rounded, c.out) << c.in;
    }
}

TEST(Money, RejectsWhatHasNoCentsIn64Bits) {
    const double bad[] = {std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(),
                          std::nan(""),
                          1e17,
                          -1e17,
                          1e300};
    for (double value : bad)
        EXPECT_FALSE(roundToCents(value).has_value()) << value;
    EXPECT_TRUE(roundToCents(9.2e16).has_value());
}

}  // namespace
}  // namespace noxi

namespace noxi {
namespace {

// The pot map must behave as the map ordered by std::greater it stands for: largest total first, a key
// added twice kept once with its first pot, lower_bound at the first total not above the key.
TEST(PotMap, BehavesAsAMapLargestFirst) {
    const double keys[] = {30, 150, 30, 0.12, 90.5, 150, 0, 1e9, 90.49, -5};
    PotMap pots;
    std::map<double, Pot, std::greater<double>> reference;
    int added = 0;
    for (double key : keys) {
        const Pot pot{key, {added}, 1};
        const auto [at, inserted] = pots.emplace(key, pot);
        EXPECT_EQ(inserted, reference.emplace(key, pot).second) << key;
        EXPECT_EQ(at->first, key);
        added += inserted ? 1 : 0;
    }
    ASSERT_EQ(pots.size(), reference.size());
    auto expected = reference.begin();
    for (const auto& [total, pot] : pots) {
        EXPECT_EQ(total, expected->first);
        EXPECT_EQ(pot.eligible[0], expected->second.eligible[0]);  // the first pot under a key stays
        ++expected;
    }
    for (double key : {2e9, 150.0, 100.0, 90.5, 0.0, -1.0, -10.0}) {
        const auto at = pots.lower_bound(key);
        const auto want = reference.lower_bound(key);
        ASSERT_EQ(at == pots.end(), want == reference.end()) << key;
        if (want != reference.end()) {
            EXPECT_EQ(at->first, want->first) << key;
        }
    }
    pots[7] = Pot{7, {}, 0};
    EXPECT_EQ(pots.lower_bound(7)->second.total, 7);
    pots.clear();
    EXPECT_TRUE(pots.empty());
}

}  // namespace
}  // namespace noxi
