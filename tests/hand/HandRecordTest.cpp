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

// Walks from a start seat over the flagged seats; a start outside the table ends after one lap.
TEST(SeatWalk, NextAndPreviousPassOverFlaggedSeats) {
    const struct {
        int start;
        std::vector<int> open;  // unflagged seats
        int next, prev;
    } cases[] = {{9, {2}, 2, 2},    {2, {2}, 2, 2},  {2, {2, 7}, 7, 7}, {7, {2, 7}, 2, 2},
                 {5, {2, 7}, 7, 2}, {9, {}, 9, 9},   {4, {}, 4, 4},     {-1, {}, -1, -1},
                 {42, {}, 42, 42},  {-5, {3}, 3, 3}, {77, {3}, 3, 3}};
    for (const auto& c : cases) {
        SeatFlags flags;
        flags.fill(true);
        for (int seat : c.open)
            flags[static_cast<std::size_t>(seat)] = false;
        EXPECT_EQ(HandRecord::nextSeat(c.start, flags), c.next) << c.start;
        EXPECT_EQ(HandRecord::prevSeat(c.start, flags), c.prev) << c.start;
    }
    EXPECT_EQ(HandRecord::nextSeat(9, SeatFlags{}), 0);
    EXPECT_EQ(HandRecord::prevSeat(0, SeatFlags{}), 9);
}

// The state of a new record, which reset brings back (all but the rake).
void expectResetState(const HandRecord& hand) {
    EXPECT_EQ(hand.button, 9);
    EXPECT_EQ(hand.heroSeat, -1);
    EXPECT_EQ(hand.gameId(), 0);
    EXPECT_FALSE(hand.heroName || hand.tableName || hand.sequence || hand.hasBets);
    EXPECT_TRUE(hand.bets.empty() && hand.actions.empty() && hand.pots.empty());
    EXPECT_EQ(hand.betsLeft(), 0u);
    EXPECT_STREQ(hand.errorText(), "");
    for (int seat = 0; seat < SeatCount; ++seat) {
        EXPECT_TRUE(hand.folded[seat]);
        EXPECT_FALSE(hand.seatNames[seat].has_value());
        EXPECT_EQ(hand.holeCards[seat][0], Card{});
        EXPECT_EQ(hand.holeCards[seat][1], Card{});
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

TEST(HandRecord, NewAndResetRecordsAreClearedButForTheRake) {
    expectResetState(HandRecord{});
    EXPECT_EQ(HandRecord{}.rake, 0);
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
    expectResetState(hand);
    EXPECT_EQ(hand.rake, 1.5);
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
    const double inf = std::numeric_limits<double>::infinity();
    const double bad[] = {inf, -inf, std::nan(""), 1e17, -1e17, 1e300};
    for (double value : bad)
        EXPECT_FALSE(roundToCents(value).has_value()) << value;
    EXPECT_TRUE(roundToCents(9.2e16).has_value());
}

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
