#include "betting/Decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "BettingFixtures.h"

namespace noxi {
namespace {

using testing::fill;
using testing::potsOf;
using testing::PotView;
using testing::Step;
using testing::stepsOf;
using testing::Table;

// Four seats of 100 at 0..3, button 0: seat 1 posts the small blind, seat 2 the big blind, seat 3 acts first.
Table fourSeats(std::optional<std::vector<double>> bets = std::nullopt) {
    return Table{{{0, 100}, {1, 100}, {2, 100}, {3, 100}}, 0, 0, 1, 2, std::move(bets)};
}
// Three seats of 100 at 0..2, button 0, unless a stack is given for a seat.
Table threeSeats(std::vector<std::pair<int, double>> shortStacks = {},
                 std::optional<std::vector<double>> bets = std::nullopt) {
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
    std::vector<Step> steps;
    std::vector<PotView> pots;                        // largest total first
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
    EXPECT_EQ(stepsOf(hand), c.steps);
    EXPECT_EQ(potsOf(hand), c.pots);
    std::vector<int> stillIn;
    for (int seat = 0; seat < SeatCount; ++seat) {
        if (!hand.folded[static_cast<std::size_t>(seat)]) stillIn.push_back(seat);
    }
    EXPECT_EQ(stillIn, c.stillIn);
    for (const auto& [seat, stack] : c.stacks)
        EXPECT_EQ(hand.stacks[static_cast<std::size_t>(seat)], stack);
    if (hand.hasBets) {
        EXPECT_EQ(hand.betsUsed, hand.bets.size());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limit, DecodedHand,
    ::testing::Values(
        Case{"WorkedHand",
             Table{{{0, 100}, {2, 100}, {5, 100}, {7, 100}}, 0},
             "sBcrfcc/kbcf/kk/kk",
             false,
             {{PostSmallBlind, 2, 1},
              {PostBigBlind, 5, 2},
              {Call, 7, 2},
              {Raise, 0, 4},
              {Fold, 2},
              {Call, 5, 2},
              {Call, 7, 2},
              {DealFlop, 0},
              {Check, 5},
              {Bet, 7, 2},
              {Call, 0, 2},
              {Fold, 5},
              {DealTurn, 7},
              {Check, 7},
              {Check, 0},
              {DealRiver, 7},
              {Check, 7},
              {Check, 0},
              {Showdown, 7}},
             {{17, {0, 7}}},
             {0, 7}},
        // The button posts the small blind and acts first preflop; the big blind acts first afterwards. The
        // unit doubles on the turn and river.
        Case{"HeadsUpWithUnitsPerStreet",
             Table{{{3, 100}, {6, 100}}, 3, 2},
             "sBc/bc/bc/bc",
             false,
             {{PostSmallBlind, 3, 1},
              {PostBigBlind, 6, 2},
              {Call, 3, 1},
              {DealFlop, 6},
              {Bet, 6, 2},
              {Call, 3, 2},
              {DealTurn, 6},
              {Bet, 6, 4},
              {Call, 3, 4},
              {DealRiver, 6},
              {Bet, 6, 4},
              {Call, 3, 4},
              {Showdown, 6}},
             {{24, {3, 6}}},
             {3, 6}},
        Case{"EmptySeatsPassedOver",
             Table{{{1, 100}, {4, 100}, {8, 100}}, 8},
             "sBcrcf",
             false,
             {{PostSmallBlind, 1, 1},
              {PostBigBlind, 4, 2},
              {Call, 8, 2},
              {Raise, 1, 3},
              {Call, 4, 2},
              {Fold, 8},
              {Showdown, 1}},
             {{10, {1, 4}}},
             {1, 4}},
        Case{"LettersWithNobodyElseLeftToAct",
             threeSeats(),
             "sBffkk",
             false,
             {{PostSmallBlind, 1, 1},
              {PostBigBlind, 2, 2},
              {Fold, 0},
              {Fold, 1},
              {Check, 2},
              {Check, 2},
              {Showdown, 2}},
             {{3, {2}}},
             {2}},
        // Nobody bet on the flop: the showdown starts from the first seat after the button, folded or not.
        Case{"ShowdownSeatWhenNobodyBetLast",
             threeSeats(),
             "sBcck/fkk",
             false,
             {{PostSmallBlind, 1, 1},
              {PostBigBlind, 2, 2},
              {Call, 0, 2},
              {Call, 1, 1},
              {Check, 2},
              {DealFlop, 2},
              {Fold, 1},
              {Check, 2},
              {Check, 0},
              {Showdown, 1}},
             {{6, {0, 2}}},
             {0, 2}},
        Case{"EmptySequenceStillClosesTheHand",
             Table{{{0, 100}, {1, 100}}, 0},
             "",
             false,
             {{Showdown, 1}},
             {{0, {0, 1}}},
             {0, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    NoLimit, DecodedHand,
    ::testing::Values(
        // A BETS value of a raise is the step above the level; the record shows the chips added.
        Case{"RaiseFromNothing",
             threeSeats({}, std::vector<double>{6}),
             "sBrcc",
             false,
             {{PostSmallBlind, 1, 1},
              {PostBigBlind, 2, 2},
              {Raise, 0, 8},
              {Call, 1, 7},
              {Call, 2, 6},
              {Showdown, 0}},
             {{24, {0, 1, 2}}},
             {0, 1, 2}},
        Case{"RaiseByTheBigBlind",
             threeSeats({}, std::vector<double>{6}),
             "sBccrcc",
             false,
             {{PostSmallBlind, 1, 1},
              {PostBigBlind, 2, 2},
              {Call, 0, 2},
              {Call, 1, 1},
              {Raise, 2, 6},
              {Call, 0, 6},
              {Call, 1, 6},
              {Showdown, 2}},
             {{24, {0, 1, 2}}},
             {0, 1, 2}},
        Case{"BetIsTheWholeValue",
             threeSeats({}, std::vector<double>{5}),
             "sBcck/bcc",
             false,
             {{PostSmallBlind, 1, 1},
              {PostBigBlind, 2, 2},
              {Call, 0, 2},
              {Call, 1, 1},
              {Check, 2},
              {DealFlop, 2},
              {Bet, 1, 5},
              {Call, 2, 5},
              {Call, 0, 5},
              {Showdown, 1}},
             {{21, {0, 1, 2}}},
             {0, 1, 2}},
        // Seat 1 is all-in for 10 preflop; seats 0 and 2 play on for a side pot of 120.
        Case{"SidePotOverAnEarlierAllIn",
             Table{{{0, 200}, {1, 10}, {2, 200}}, 0, 3, 1, 2, std::vector<double>{48, 20}},
             "sBrcc/bc/kk/kk",
             false,
             {{PostSmallBlind, 1, 1},
              {PostBigBlind, 2, 2},
              {Raise, 0, 50},
              {AllIn, 1, 9},
              {Call, 2, 48},
              {DealFlop, 0},
              {Bet, 2, 20},
              {Call, 0, 20},
              {DealTurn, 2},
              {Check, 2},
              {Check, 0},
              {DealRiver, 2},
              {Check, 2},
              {Check, 0},
              {Showdown, 2}},
             {{150, {0, 2}}, {30, {0, 1, 2}}},
             {0, 1, 2}},
        // The level the all-in reaches, although it is no full raise.
        Case{"ShortAllInRaise",
             threeSeats({{0, 5}}, std::vector<double>{10}),
             "sBrcc",
             false,
             {{PostSmallBlind, 1, 1},
              {PostBigBlind, 2, 2},
              {AllIn, 0, 5},
              {Call, 1, 4},
              {Call, 2, 3},
              {Showdown, 0}},
             {{15, {0, 1, 2}}},
             {0, 1, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    AllIn, DecodedHand,
    ::testing::Values(
        Case{"CallOfTheLastChips",
             threeSeats({{0, 2}}),
             "sBcck",
             false,
             {{PostSmallBlind, 1, 1},
              {PostBigBlind, 2, 2},
              {AllIn, 0, 2},
              {Call, 1, 1},
              {Check, 2},
              {Showdown, 2}},
             {{6, {0, 1, 2}}},
             {0, 1, 2}},
        Case{"OneChipMoreIsACall",
             threeSeats({{0, 3}}),
             "sBcck",
             false,
             {{PostSmallBlind, 1, 1},
              {PostBigBlind, 2, 2},
              {Call, 0, 2},
              {Call, 1, 1},
              {Check, 2},
              {Showdown, 2}},
             {{6, {0, 1, 2}}},
             {0, 1, 2}},
        // The short call leaves the level at 2 for the small blind.
        Case{"ShortCall",
             threeSeats({{0, 1.5}}),
             "sBcck",
             false,
             {{PostSmallBlind, 1, 1},
              {PostBigBlind, 2, 2},
              {AllIn, 0, 1.5},
              {Call, 1, 1},
              {Check, 2},
              {Showdown, 2}},
             {{5.5, {1, 2}}, {4.5, {0, 1, 2}}},
             {0, 1, 2}},
        // A short big blind stays a blind post; the level is still the big blind.
        Case{"ShortBigBlind",
             threeSeats({{2, 1.5}}),
             "sBcc",
             false,
             {{PostSmallBlind, 1, 1}, {PostBigBlind, 2, 1.5}, {Call, 0, 2}, {Call, 1, 1}, {Showdown, 2}},
             {{5.5, {0, 1}}, {4.5, {0, 1, 2}}},
             {0, 1, 2}},
        // The all-in small blind is passed over when the big blind checks.
        Case{"ShortSmallBlind",
             threeSeats({{1, 0.5}}),
             "sBck",
             false,
             {{PostSmallBlind, 1, 0.5}, {PostBigBlind, 2, 2}, {Call, 0, 2}, {Check, 2}, {Showdown, 2}},
             {{4.5, {0, 2}}, {1.5, {0, 1, 2}}},
             {0, 1, 2}},
        Case{"BetAllInSetsTheLevel",
             threeSeats({{2, 3}}),
             "sBcck/kbcc",
             false,
             {{PostSmallBlind, 1, 1},
              {PostBigBlind, 2, 2},
              {Call, 0, 2},
              {Call, 1, 1},
              {Check, 2},
              {DealFlop, 2},
              {Check, 1},
              {AllIn, 2, 1},
              {Call, 0, 1},
              {Call, 1, 1},
              {Showdown, 2}},
             {{9, {0, 1, 2}}},
             {0, 1, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    DeadPosts, DecodedHand,
    ::testing::Values(
        // Seat 3 has 1 dead and 2 live in, so it adds 3 to call the raise to 6.
        Case{"DeadAndLivePost",
             fourSeats(std::vector<double>{4}),
             "sBD3P3krffc",
             false,
             {{PostSmallBlind, 1, 1},
              {PostBigBlind, 2, 2},
              {PostBigBlindDead, 3, 3},
              {Check, 3},
              {Raise, 0, 6},
              {Fold, 1},
              {Fold, 2},
              {Call, 3, 3},
              {Showdown, 0}},
             {{15, {0, 3}}},
             {0, 3}},
        Case{"DeadPostTakenBackOnACall",
             fourSeats(),
             "sBD3ccck",
             false,
             {{PostSmallBlind, 1, 1},
              {PostBigBlind, 2, 2},
              {Call, 3, 2},
              {Call, 0, 2},
              {Call, 1, 1},
              {Check, 2},
              {Showdown, 2}},
             {{8, {0, 1, 2, 3}}},
             {0, 1, 2, 3},
             {{3, 100}}},
        // The dead chip stays in the pot and leaves the printed stack.
        Case{"DeadPostLostOnAFold",
             fourSeats(),
             "sBD3fcck",
             false,
             {{PostSmallBlind, 1, 1},
              {PostBigBlind, 2, 2},
              {Fold, 3},
              {Call, 0, 2},
              {Call, 1, 1},
              {Check, 2},
              {Showdown, 2}},
             {{7, {0, 1, 2}}},
             {0, 1, 2},
             {{3, 99}}},
        // Letters after everyone folded fall to the last seat again; its dead chip leaves the stack once.
        Case{"DeadPostLostOnceOnRepeatedFolds",
             fourSeats(),
             "sBD3kfffff",
             false,
             {{PostSmallBlind, 1, 1},
              {PostBigBlind, 2, 2},
              {Check, 3},
              {Fold, 0},
              {Fold, 1},
              {Fold, 2},
              {Fold, 3},
              {Fold, 3},
              {Showdown, 2}},
             {},
             {},
             {{3, 99}}},
        Case{"LivePostAloneHasNoRecord",
             fourSeats(),
             "sBP3ccck",
             false,
             {{PostSmallBlind, 1, 1},
              {PostBigBlind, 2, 2},
              {Call, 3, 0},
              {Call, 0, 2},
              {Call, 1, 1},
              {Check, 2},
              {Showdown, 2}},
             {{8, {0, 1, 2, 3}}},
             {0, 1, 2, 3}},
        // The records follow all blind posts, lower seats first; the dead chips form a level of their own.
        Case{"TwoDeadAndLivePostsInSeatOrder",
             Table{{{0, 100}, {1, 100}, {2, 100}, {3, 100}, {4, 100}, {5, 100}}, 0},
             "sBD5P5D3P3kckcck",
             false,
             {{PostSmallBlind, 1, 1},
              {PostBigBlind, 2, 2},
              {PostBigBlindDead, 3, 3},
              {PostBigBlindDead, 5, 3},
              {Check, 3},
              {Call, 4, 2},
              {Check, 5},
              {Call, 0, 2},
              {Call, 1, 1},
              {Check, 2},
              {Showdown, 2}},
             {{14, {0, 1, 2, 3, 4, 5}}, {12, {0, 1, 2, 3, 4, 5}}},
             {0, 1, 2, 3, 4, 5}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    FixSmallBlind, DecodedHand,
    ::testing::Values(
        // The invented small blind only shows in the printed stack; its chip enters no pot.
        Case{"OnInventsTheButtonsPost",
             threeSeats(),
             "Bff",
             true,
             {{PostSmallBlind, 0, 1}, {PostBigBlind, 1, 2}, {Fold, 2}, {Fold, 0}, {Showdown, 1}},
             {{2, {1}}},
             {1},
             {{0, 101}}},
        Case{"Off",
             threeSeats(),
             "Bff",
             false,
             {{PostBigBlind, 1, 2}, {Fold, 2}, {Fold, 0}, {Showdown, 1}},
             {{2, {1}}},
             {1},
             {{0, 100}}},
        // An empty button: the nearest seated seat before it posts, and then calls the full level.
        Case{"OnWithAnEmptyButton",
             Table{{{0, 100}, {1, 100}, {2, 100}}, 5},
             "Bcc",
             true,
             {{PostSmallBlind, 2, 1}, {PostBigBlind, 0, 2}, {Call, 1, 2}, {Call, 2, 2}, {Showdown, 0}},
             {{6, {0, 1, 2}}},
             {0, 1, 2},
             {{2, 101}}},
        Case{"OnWithASmallBlindInTheLog",
             threeSeats(),
             "sBcck",
             true,
             {{PostSmallBlind, 1, 1},
              {PostBigBlind, 2, 2},
              {Call, 0, 2},
              {Call, 1, 1},
              {Check, 2},
              {Showdown, 2}},
             {{6, {0, 1, 2}}},
             {0, 1, 2},
             {{0, 100}, {1, 100}}},
        // Every B posts a further big blind; the fix applies once.
        Case{
            "OnOnceForTwoBigBlinds",
            threeSeats(),
            "BBc",
            true,
            {{PostSmallBlind, 0, 1}, {PostBigBlind, 1, 2}, {PostBigBlind, 2, 2}, {Call, 0, 2}, {Showdown, 2}},
            {{6, {0, 1, 2}}},
            {0, 1, 2},
            {{0, 101}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadSequence {
    const char* sequence;
    std::size_t length;  // for sequences with a zero byte inside
    bool noLimit;
    const char* message;
    friend void PrintTo(const BadSequence& b, std::ostream* out) { *out << '"' << b.sequence << '"'; }
};

class SequenceRejected : public ::testing::TestWithParam<BadSequence> {};

TEST_P(SequenceRejected, WithExactlyItsMessageAndNoShowdown) {
    const BadSequence& bad = GetParam();
    HandRecord hand;
    fill(hand,
         fourSeats(bad.noLimit ? std::optional<std::vector<double>>(std::vector<double>{4}) : std::nullopt),
         std::string(bad.sequence, bad.length ? bad.length : std::char_traits<char>::length(bad.sequence)));
    EXPECT_FALSE(decodeSequence(hand, true));
    EXPECT_STREQ(hand.errorText(), bad.message);
    for (const Action& action : hand.actions)
        EXPECT_NE(action.type, Showdown);
    EXPECT_LE(hand.betsUsed, hand.bets.size());
}

constexpr const char* Unknown = "ERROR: Unknown letter in SEQ.";
constexpr const char* TooManyRounds = "ERROR: Too many rounds in SEQ.";
constexpr const char* BadDead = "ERROR: Bad dead post.";
constexpr const char* BadOop = "ERROR: Bad OOP post.";
constexpr const char* NotEnoughBets = "ERROR: Not enough bets in SEQ.";

INSTANTIATE_TEST_SUITE_P(
    Messages, SequenceRejected,
    ::testing::Values(BadSequence{"sBcx", 0, false, Unknown}, BadSequence{"S", 0, false, Unknown},
                      BadSequence{"sB c", 0, false, Unknown}, BadSequence{"0", 0, false, Unknown},
                      BadSequence{".", 0, false, Unknown}, BadSequence{"t", 0, false, Unknown},
                      BadSequence{"\x80", 0, false, Unknown}, BadSequence{"\xff", 0, false, Unknown},
                      BadSequence{"sB////", 0, false, TooManyRounds}, BadSequence{"D", 0, false, BadDead},
                      BadSequence{"sBcD", 0, false, BadDead}, BadSequence{"Dx", 0, false, BadDead},
                      BadSequence{"D/", 0, false, BadDead},
                      BadSequence{"D\0"
                                  "3",
                                  3, false, BadDead},
                      BadSequence{"D4", 0, false, BadDead},  // seat 4 is empty
                      BadSequence{"P", 0, false, BadOop}, BadSequence{"Pa", 0, false, BadOop},
                      BadSequence{"P9", 0, false, BadOop},  // seat 9 is empty
                      BadSequence{"sBrr", 0, true, NotEnoughBets},
                      BadSequence{"sBcck/bb", 0, true, NotEnoughBets}));

TEST(DecodeSequence, KeepsWhatWasDecodedBeforeAnError) {
    HandRecord hand;
    fill(hand, fourSeats(), "sBcfx");
    EXPECT_FALSE(decodeSequence(hand, false));
    const std::vector<Step> kept{{PostSmallBlind, 1, 1}, {PostBigBlind, 2, 2}, {Call, 3, 2}, {Fold, 0}};
    EXPECT_EQ(stepsOf(hand), kept);
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
        EXPECT_EQ(stepsOf(hand), stepsOf(plain));
        EXPECT_EQ(potsOf(hand), potsOf(plain));
    }
}

// A record is reused from hand to hand; nothing of one decode leaks into the next.
TEST(DecodeSequence, SameResultOnAReusedRecord) {
    HandRecord fresh;
    fill(fresh, threeSeats({}, std::vector<double>{6, 8}), "sBrrc/kk");
    ASSERT_TRUE(decodeSequence(fresh, false));

    HandRecord reused;
    fill(reused, fourSeats(std::vector<double>{4}), "sBD3P3krffc");
    ASSERT_TRUE(decodeSequence(reused, true));
    fill(reused, threeSeats({}, std::vector<double>{6, 8}), "sBrrc/kk");
    ASSERT_TRUE(decodeSequence(reused, false));
    EXPECT_EQ(stepsOf(reused), stepsOf(fresh));
    EXPECT_EQ(potsOf(reused), potsOf(fresh));
    EXPECT_EQ(reused.folded, fresh.folded);
}

// The pot of an all-in that everyone called and the final pot of the same players must have the very same
// total, cents and all, or a phantom side pot of a rounding error appears.
TEST(DecodeSequence, AnAllInCalledDownIsOnePot) {
    HandRecord hand;
    fill(hand, Table{{{0, 10}, {1, 0.25}, {2, 10}}, 0, 3, 0.1, 0.2, std::vector<double>{0.05}},
         "sBcck/bcc/kk/kk");
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
