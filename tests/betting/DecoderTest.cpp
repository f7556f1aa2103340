#include "betting/Decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "BettingFixtures.h"

namespace noxi {
namespace {

using testing::actionsOf;
using testing::fill;
using testing::potsOf;
using testing::Table;
using Bets = std::optional<std::vector<double>>;

// Four seats of 100 at 0..3, button 0: seat 1 posts the small blind, seat 2 the big blind, seat 3 acts first.
Table fourSeats(Bets bets = std::nullopt) {
    return Table{{{0, 100}, {1, 100}, {2, 100}, {3, 100}}, 0, 0, 1, 2, std::move(bets)};
}
// Three seats of 100 at 0..2, button 0, unless a stack is given for a seat.
Table threeSeats(std::vector<std::pair<int, double>> shortStacks = {}, Bets bets = std::nullopt) {
    Table table{{{0, 100}, {1, 100}, {2, 100}}, 0, 0, 1, 2, std::move(bets)};
    for (const auto& [seat, stack] : shortStacks)
        table.seats[static_cast<std::size_t>(seat)].second = stack;
    return table;
}

struct Case {
    const char* name;
    Table table;
    std::string sequence;
    bool fixSmallBlind;
    std::string actions;                              // as actionsOf writes them
    std::string pots;                                 // as potsOf writes them
    std::vector<int> stillIn;                         // seats whose folded flag is false
    std::vector<std::pair<int, double>> stacks = {};  // printed starting stacks the decoder changed
    friend void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }
};

class DecodedHand : public ::testing::TestWithParam<Case> {};

TEST_P(DecodedHand, RecordsActionsPotsAndFolds) {
    const Case& c = GetParam();
    HandRecord hand;
    fill(hand, c.table, c.sequence);
    ASSERT_TRUE(decodeSequence(hand, c.fixSmallBlind)) << hand.errorText();
    EXPECT_STREQ(hand.errorText(), "");
    EXPECT_EQ(actionsOf(hand), c.actions);
    EXPECT_EQ(potsOf(hand), c.pots);
    std::vector<int> stillIn;
    for (int seat = 0; seat < SeatCount; ++seat) {
        if (!hand.folded[static_cast<std::size_t>(seat)]) stillIn.push_back(seat);
    }
    EXPECT_EQ(stillIn, c.stillIn);
    for (const auto& [seat, stack] : c.stacks)
        EXPECT_EQ(hand.stacks[static_cast<std::size_t>(seat)], stack);
    EXPECT_TRUE(!hand.hasBets || hand.betsUsed == hand.bets.size());
}

INSTANTIATE_TEST_SUITE_P(
    Limit, DecodedHand,
    ::testing::Values(
        Case("WorkedHand", Table{{{0, 100}, {2, 100}, {5, 100}, {7, 100}}, 0}, "sBcrfcc/kbcf/kk/kk", false,
             "s2=1 B5=2 c7=2 r0=4 f2 c5=2 c7=2 flop0 k5 b7=2 c0=2 f5 turn7 k7 k0 river7 k7 k0 show7",
             "17: 0 7", {0, 7}),
        // The button posts the small blind and acts first preflop; the big blind acts first afterwards. The
        // unit doubles on the turn and river.
        Case("HeadsUpWithUnitsPerStreet", Table{{{3, 100}, {6, 100}}, 3, 2}, "sBc/bc/bc/bc", false,
             "s3=1 B6=2 c3=1 flop6 b6=2 c3=2 turn6 b6=4 c3=4 river6 b6=4 c3=4 show6", "24: 3 6", {3, 6}),
        Case("EmptySeatsPassedOver", Table{{{1, 100}, {4, 100}, {8, 100}}, 8}, "sBcrcf", false,
             "s1=1 B4=2 c8=2 r1=3 c4=2 f8 show1", "10: 1 4", {1, 4}),
        Case("LettersWithNobodyElseLeftToAct", threeSeats(), "sBffkk", false, "s1=1 B2=2 f0 f1 k2 k2 show2",
             "3: 2", {2}),
        // Nobody bet on the flop: the showdown starts from the first seat after the button, folded or not.
        Case("ShowdownSeatWhenNobodyBetLast", threeSeats(), "sBcck/fkk", false,
             "s1=1 B2=2 c0=2 c1=1 k2 flop2 f1 k2 k0 show1", "6: 0 2", {0, 2}),
        Case("EmptySequenceStillClosesTheHand", Table{{{0, 100}, {1, 100}}, 0}, "", false, "show1", "0: 0 1",
             {0, 1})),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    NoLimit, DecodedHand,
    ::testing::Values(
        // A BETS value of a raise is the step above the level; the record shows the chips added.
        Case("RaiseFromNothing", threeSeats({}, Bets{{6}}), "sBrcc", false, "s1=1 B2=2 r0=8 c1=7 c2=6 show0",
             "24: 0 1 2", {0, 1, 2}),
        Case("RaiseByTheBigBlind", threeSeats({}, Bets{{6}}), "sBccrcc", false,
             "s1=1 B2=2 c0=2 c1=1 r2=6 c0=6 c1=6 show2", "24: 0 1 2", {0, 1, 2}),
        Case("BetIsTheWholeValue", threeSeats({}, Bets{{5}}), "sBcck/bcc", false,
             "s1=1 B2=2 c0=2 c1=1 k2 flop2 b1=5 c2=5 c0=5 show1", "21: 0 1 2", {0, 1, 2}),
        // Seat 1 is all-in for 10 preflop; seats 0 and 2 play on for a side pot of 120.
        Case("SidePotOverAnEarlierAllIn", Table{{{0, 200}, {1, 10}, {2, 200}}, 0, 3, 1, 2, Bets{{48, 20}}},
             "sBrcc/bc/kk/kk", false,
             "s1=1 B2=2 r0=50 A1=9 c2=48 flop0 b2=20 c0=20 turn2 k2 k0 river2 k2 k0 show2",
             "150: 0 2, 30: 0 1 2", {0, 1, 2}),
        // The level the all-in reaches, although it is no full raise.
        Case("ShortAllInRaise", threeSeats({{0, 5}}, Bets{{10}}), "sBrcc", false,
             "s1=1 B2=2 A0=5 c1=4 c2=3 show0", "15: 0 1 2", {0, 1, 2})),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    AllIn, DecodedHand,
    ::testing::Values(Case("CallOfTheLastChips", threeSeats({{0, 2}}), "sBcck", false,
                           "s1=1 B2=2 A0=2 c1=1 k2 show2", "6: 0 1 2", {0, 1, 2}),
                      Case("OneChipMoreIsACall", threeSeats({{0, 3}}), "sBcck", false,
                           "s1=1 B2=2 c0=2 c1=1 k2 show2", "6: 0 1 2", {0, 1, 2}),
                      // The short call leaves the level at 2 for the small blind.
                      Case("ShortCall", threeSeats({{0, 1.5}}), "sBcck", false,
                           "s1=1 B2=2 A0=1.5 c1=1 k2 show2", "5.5: 1 2, 4.5: 0 1 2", {0, 1, 2}),
                      // A short big blind stays a blind post; the level is still the big blind.
                      Case("ShortBigBlind", threeSeats({{2, 1.5}}), "sBcc", false,
                           "s1=1 B2=1.5 c0=2 c1=1 show2", "5.5: 0 1, 4.5: 0 1 2", {0, 1, 2}),
                      // The all-in small blind is passed over when the big blind checks.
                      Case("ShortSmallBlind", threeSeats({{1, 0.5}}), "sBck", false,
                           "s1=0.5 B2=2 c0=2 k2 show2", "4.5: 0 2, 1.5: 0 1 2", {0, 1, 2}),
                      Case("BetAllInSetsTheLevel", threeSeats({{2, 3}}), "sBcck/kbcc", false,
                           "s1=1 B2=2 c0=2 c1=1 k2 flop2 k1 A2=1 c0=1 c1=1 show2", "9: 0 1 2", {0, 1, 2})),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    DeadPosts, DecodedHand,
    ::testing::Values(
        // Seat 3 has 1 dead and 2 live in, so it adds 3 to call the raise to 6.
        Case("DeadAndLivePost", fourSeats(Bets{{4}}), "sBD3P3krffc", false,
             "s1=1 B2=2 D3=3 k3 r0=6 f1 f2 c3=3 show0", "15: 0 3", {0, 3}),
        Case("DeadPostTakenBackOnACall", fourSeats(), "sBD3ccck", false, "s1=1 B2=2 c3=2 c0=2 c1=1 k2 show2",
             "8: 0 1 2 3", {0, 1, 2, 3}, {{3, 100}}),
        // The dead chip stays in the pot and leaves the printed stack.
        Case("DeadPostLostOnAFold", fourSeats(), "sBD3fcck", false, "s1=1 B2=2 f3 c0=2 c1=1 k2 show2",
             "7: 0 1 2", {0, 1, 2}, {{3, 99}}),
        // Letters after everyone folded fall to the last seat again; its dead chip leaves the stack once.
        Case("DeadPostLostOnceOnRepeatedFolds", fourSeats(), "sBD3kfffff", false,
             "s1=1 B2=2 k3 f0 f1 f2 f3 f3 show2", "", {}, {{3, 99}}),
        Case("LivePostAloneHasNoRecord", fourSeats(), "sBP3ccck", false, "s1=1 B2=2 c3 c0=2 c1=1 k2 show2",
             "8: 0 1 2 3", {0, 1, 2, 3}),
        // The records follow all blind posts, lower seats first; the dead chips form a level of their own.
        Case("TwoDeadAndLivePostsInSeatOrder",
             Table{{{0, 100}, {1, 100}, {2, 100}, {3, 100}, {4, 100}, {5, 100}}, 0}, "sBD5P5D3P3kckcck",
             false, "s1=1 B2=2 D3=3 D5=3 k3 c4=2 k5 c0=2 c1=1 k2 show2", "14: 0 1 2 3 4 5, 12: 0 1 2 3 4 5",
             {0, 1, 2, 3, 4, 5})),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    FixSmallBlind, DecodedHand,
    ::testing::Values(
        // The invented small blind only shows in the printed stack; its chip enters no pot.
        Case("OnInventsTheButtonsPost", threeSeats(), "Bff", true, "s0=1 B1=2 f2 f0 show1", "2: 1", {1},
             {{0, 101}}),
        Case("Off", threeSeats(), "Bff", false, "B1=2 f2 f0 show1", "2: 1", {1}, {{0, 100}}),
        // An empty button: the nearest seated seat before it posts, and then calls the full level.
        Case("OnWithAnEmptyButton", Table{{{0, 100}, {1, 100}, {2, 100}}, 5}, "Bcc", true,
             "s2=1 B0=2 c1=2 c2=2 show0", "6: 0 1 2", {0, 1, 2}, {{2, 101}}),
        Case("OnWithASmallBlindInTheLog", threeSeats(), "sBcck", true, "s1=1 B2=2 c0=2 c1=1 k2 show2",
             "6: 0 1 2", {0, 1, 2}, {{0, 100}, {1, 100}}),
        // Every B posts a further big blind; the fix applies once.
        Case("OnOnceForTwoBigBlinds", threeSeats(), "BBc", true, "s0=1 B1=2 B2=2 c0=2 show2", "6: 0 1 2",
             {0, 1, 2}, {{0, 101}})),
    [](const auto& info) { return std::string(info.param.name); });

struct BadSequence {
    std::string sequence;
    bool noLimit;
    const char* message;
    friend void PrintTo(const BadSequence& b, std::ostream* out) {
        *out << ::testing::PrintToString(b.sequence);
    }
};

class SequenceRejected : public ::testing::TestWithParam<BadSequence> {};

TEST_P(SequenceRejected, WithExactlyItsMessageAndNoShowdown) {
    const BadSequence& bad = GetParam();
    HandRecord hand;
    fill(hand, fourSeats(bad.noLimit ? Bets{{4}} : std::nullopt), bad.sequence);
    EXPECT_FALSE(decodeSequence(hand, true));
    EXPECT_STREQ(hand.errorText(), bad.message);
    for (const Action& action : hand.actions)
        EXPECT_NE(action.type, Showdown);
    EXPECT_LE(hand.betsUsed, hand.bets.size());
}

constexpr const char* Unknown = "ERROR: Unknown letter in SEQ.";
constexpr const char* BadDead = "ERROR: Bad dead post.";
constexpr const char* BadOop = "ERROR: Bad OOP post.";
constexpr const char* NotEnoughBets = "ERROR: Not enough bets in SEQ.";

INSTANTIATE_TEST_SUITE_P(
    Messages, SequenceRejected,
    ::testing::Values(BadSequence{"sBcx", false, Unknown}, BadSequence{"S", false, Unknown},
                      BadSequence{"sB c", false, Unknown}, BadSequence{"0", false, Unknown},
                      BadSequence{".", false, Unknown}, BadSequence{"t", false, Unknown},
                      BadSequence{"\x80", false, Unknown}, BadSequence{"\xff", false, Unknown},
                      BadSequence{"sB////", false, "ERROR: Too many rounds in SEQ."},
                      BadSequence{"D", false, BadDead}, BadSequence{"sBcD", false, BadDead},
                      BadSequence{"Dx", false, BadDead}, BadSequence{"D/", false, BadDead},
                      BadSequence{std::string("D\0"
                                              "3",
                                              3),
                                  false, BadDead},
                      BadSequence{"D4", false, BadDead},  // seat 4 is empty
                      BadSequence{"P", false, BadOop}, BadSequence{"Pa", false, BadOop},
                      BadSequence{"P9", false, BadOop},  // seat 9 is empty
                      BadSequence{"sBrr", true, NotEnoughBets},
                      BadSequence{"sBcck/bb", true, NotEnoughBets}));

TEST(DecodeSequence, KeepsWhatWasDecodedBeforeAnError) {
    HandRecord hand;
    fill(hand, fourSeats(), "sBcfx");
    EXPECT_FALSE(decodeSequence(hand, false));
    EXPECT_EQ(actionsOf(hand), "s1=1 B2=2 c3=2 f0");
    EXPECT_TRUE(hand.pots.empty());
    EXPECT_TRUE(hand.folded[0]);
}

// Padding and whatever follows a zero byte do not change the hand.
TEST(DecodeSequence, UnderscoresAndTextAfterAZeroByteChangeNothing) {
    HandRecord plain;
    fill(plain, fourSeats(), "sBccrfcc/kbcc");
    ASSERT_TRUE(decodeSequence(plain, false));
    for (const std::string& variant :
         {std::string("sBccrfcc/kbcc_\0xyz", 18), std::string("___sB_ccrf__cc/_kbcc_")}) {
        HandRecord hand;
        fill(hand, fourSeats(), variant);
        ASSERT_TRUE(decodeSequence(hand, false)) << hand.errorText();
        EXPECT_EQ(actionsOf(hand), actionsOf(plain));
        EXPECT_EQ(potsOf(hand), potsOf(plain));
    }
}

// A record is reused from hand to hand; nothing of one decode leaks into the next.
TEST(DecodeSequence, SameResultOnAReusedRecord) {
    HandRecord fresh;
    fill(fresh, threeSeats({}, Bets{{6, 8}}), "sBrrc/kk");
    ASSERT_TRUE(decodeSequence(fresh, false));

    HandRecord reused;
    fill(reused, fourSeats(Bets{{4}}), "sBD3P3krffc");
    ASSERT_TRUE(decodeSequence(reused, true));
    fill(reused, threeSeats({}, Bets{{6, 8}}), "sBrrc/kk");
    ASSERT_TRUE(decodeSequence(reused, false));
    EXPECT_EQ(actionsOf(reused), actionsOf(fresh));
    EXPECT_EQ(potsOf(reused), potsOf(fresh));
    EXPECT_EQ(reused.folded, fresh.folded);
}

// The pot of an all-in that everyone called and the final pot of the same players must have the very same
// total, cents and all, or a phantom side pot of a rounding error appears.
TEST(DecodeSequence, AnAllInCalledDownIsOnePot) {
    HandRecord hand;
    fill(hand, Table{{{0, 10}, {1, 0.25}, {2, 10}}, 0, 3, 0.1, 0.2, Bets{{0.05}}}, "sBcck/bcc/kk/kk");
    ASSERT_TRUE(decodeSequence(hand, false)) << hand.errorText();
    // Seat 1 has 0.25 - 0.1 - 0.1 left for the flop, a little under 0.05, and is all-in.
    ASSERT_GE(hand.actions.size(), 7u);
    EXPECT_EQ(hand.actions[6].type, AllIn);
    EXPECT_EQ(hand.actions[6].seat, 1);
    ASSERT_EQ(hand.pots.size(), 1u);
    EXPECT_EQ(hand.pots.begin()->second.eligibleCount, 3);
}

}  // namespace
}  // namespace noxi
