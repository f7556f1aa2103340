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
    return Table{{{0, 100}, {1, 100}, {2, 100}, {3, 100}}, 0, std::move(bets)};
}
// Three seats of 100 at 0..2, button 0, unless a stack is given for a seat.
Table threeSeats(std::vector<std::pair<int, double>> shortStacks = {}, Bets bets = std::nullopt) {
    Table table{{{0, 100}, {1, 100}, {2, 100}}, 0, std::move(bets)};
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
};

TEST(DecodeSequence, RecordsActionsPotsAndFolds) {
    const Case cases[] = {
        // The button posts the small blind and acts first preflop; the big blind acts first afterwards. The
        // unit doubles on the turn and river.
        Case("heads-up, units per street", Table{{{3, 100}, {6, 100}}, 3}, "sBc/bc/bc/bc", false,
             "s3=1 B6=2 c3=1 flop6 b6=2 c3=2 turn6 b6=4 c3=4 river6 b6=4 c3=4 show6", "24: 3 6", {3, 6}),
        Case("letters with nobody else left to act", threeSeats(), "sBffkk", false,
             "s1=1 B2=2 f0 f1 k2 k2 show2", "3: 2", {2}),
        // Nobody bet on the flop: the showdown starts from the first seat after the button, folded or not.
        Case("showdown seat when nobody bet last", threeSeats(), "sBcck/fkk", false,
             "s1=1 B2=2 c0=2 c1=1 k2 flop2 f1 k2 k0 show1", "6: 0 2", {0, 2}),
        Case("empty sequence still closes the hand", Table{{{0, 100}, {1, 100}}, 0}, "", false, "show1",
             "0: 0 1", {0, 1}),
        // A BETS value of a raise is the step above the level, of a bet the whole bet; the record shows the
        // chips added.
        Case("no-limit raise and bet", threeSeats({}, Bets{{6, 5}}), "sBrcc/bcc", false,
             "s1=1 B2=2 r0=8 c1=7 c2=6 flop0 b1=5 c2=5 c0=5 show1", "39: 0 1 2", {0, 1, 2}),
        // The level the all-in reaches, although it is no full raise.
        Case("short all-in raise", threeSeats({{0, 5}}, Bets{{10}}), "sBrcc", false,
             "s1=1 B2=2 A0=5 c1=4 c2=3 show0", "15: 0 1 2", {0, 1, 2}),
        // The short call leaves the level at 2 for the small blind.
        Case("short call", threeSeats({{0, 1.5}}), "sBcck", false, "s1=1 B2=2 A0=1.5 c1=1 k2 show2",
             "5.5: 1 2, 4.5: 0 1 2", {0, 1, 2}),
        // A short big blind stays a blind post; the level is still the big blind.
        Case("short big blind", threeSeats({{2, 1.5}}), "sBcc", false, "s1=1 B2=1.5 c0=2 c1=1 show2",
             "5.5: 0 1, 4.5: 0 1 2", {0, 1, 2}),
        // The all-in small blind is passed over when the big blind checks.
        Case("short small blind", threeSeats({{1, 0.5}}), "sBck", false, "s1=0.5 B2=2 c0=2 k2 show2",
             "4.5: 0 2, 1.5: 0 1 2", {0, 1, 2}),
        Case("dead post taken back on a call", fourSeats(), "sBD3ccck", false,
             "s1=1 B2=2 c3=2 c0=2 c1=1 k2 show2", "8: 0 1 2 3", {0, 1, 2, 3}, {{3, 100}}),
        // The dead chip stays in the pot and leaves the printed stack.
        Case("dead post lost on a fold", fourSeats(), "sBD3fcck", false, "s1=1 B2=2 f3 c0=2 c1=1 k2 show2",
             "7: 0 1 2", {0, 1, 2}, {{3, 99}}),
        // Letters after everyone folded fall to the last seat again; its dead chip leaves the stack once.
        Case("dead post lost once on repeated folds", fourSeats(), "sBD3kfffff", false,
             "s1=1 B2=2 k3 f0 f1 f2 f3 f3 show2", "", {}, {{3, 99}}),
        // The records follow all blind posts, lower seats first; the dead chips form a level of their own.
        Case("two dead and live posts in seat order",
             Table{{{0, 100}, {1, 100}, {2, 100}, {3, 100}, {4, 100}, {5, 100}}, 0}, "sBD5P5D3P3kckcck",
             false, "s1=1 B2=2 D3=3 D5=3 k3 c4=2 k5 c0=2 c1=1 k2 show2", "14: 0 1 2 3 4 5, 12: 0 1 2 3 4 5",
             {0, 1, 2, 3, 4, 5}),
        // The invented small blind only shows in the printed stack; its chip enters no pot.
        Case("fix invents the button's post", threeSeats(), "Bff", true, "s0=1 B1=2 f2 f0 show1", "2: 1", {1},
             {{0, 101}}),
        // An empty button: the nearest seated seat before it posts, and then calls the full level.
        Case("fix with an empty button", Table{{{0, 100}, {1, 100}, {2, 100}}, 5}, "Bcc", true,
             "s2=1 B0=2 c1=2 c2=2 show0", "6: 0 1 2", {0, 1, 2}, {{2, 101}}),
        Case("fix with a small blind in the log", threeSeats(), "sBcck", true, "s1=1 B2=2 c0=2 c1=1 k2 show2",
             "6: 0 1 2", {0, 1, 2}, {{0, 100}, {1, 100}}),
        // Blinds of 0.1 and 0.2 leave seat 1 with 4.800000000000001 after its call; its flop bet of 4.8 is
        // all-in in whole cents, so the turn's letters go to seats 2 and 0 (raw doubles gave seat 1 a second
        // all-in of 8.9e-16 and the bettor's fold).
        Case("all-in judged in whole cents", Table{{{0, 10}, {1, 5}, {2, 10}}, 0, Bets{{4.8, 2}}, 0.1, 0.2},
             "sBcck/bcc/bf", false,
             "s1=0.1 B2=0.2 c0=0.2 c1=0.1 k2 flop2 A1=4.800000000000001 c2=4.800000000000001 "
             "c0=4.800000000000001 turn1 b2=2 f0 show2",
             "17: 2, 15.000000000000002: 0 1 2", {1, 2}),
        // Every B posts a further big blind; the fix applies once.
        Case("fix once for two big blinds", threeSeats(), "BBc", true, "s0=1 B1=2 B2=2 c0=2 show2",
             "6: 0 1 2", {0, 1, 2}, {{0, 101}}),
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HandRecord hand;
        fill(hand, c.table, c.sequence);
        const HandRecord parsed = hand;
        DecodedHand decoded;
        const char* error = decodeSequence(hand, DecodeOptions{c.fixSmallBlind}, decoded);
        ASSERT_EQ(error, nullptr) << error;
        EXPECT_EQ(actionsOf(decoded), c.actions);
        EXPECT_EQ(potsOf(decoded.pots), c.pots);
        std::vector<int> stillIn;
        for (int seat = 0; seat < SeatCount; ++seat) {
            if (!decoded.folded[static_cast<std::size_t>(seat)]) stillIn.push_back(seat);
        }
        EXPECT_EQ(stillIn, c.stillIn);
        for (const auto& [seat, stack] : c.stacks)
            EXPECT_EQ(decoded.stacks[static_cast<std::size_t>(seat)], stack);
        EXPECT_TRUE(!hand.hasBets || decoded.betsUsed == hand.bets.size());
        // The record stays as the parser filled it.
        EXPECT_EQ(hand.stacks, parsed.stacks);
    }
}

TEST(DecodeSequence, RejectedWithExactlyItsMessageAndNoShowdown) {
    constexpr const char* Unknown = "ERROR: Unknown letter in SEQ.";
    constexpr const char* BadDead = "ERROR: Bad dead post.";
    constexpr const char* BadOop = "ERROR: Bad OOP post.";
    const std::pair<std::string, const char*> cases[] = {{"sBcx", Unknown},
                                                         {"sB c", Unknown},
                                                         {"\xff", Unknown},
                                                         {"sB////", "ERROR: Too many rounds in SEQ."},
                                                         {"D", BadDead},
                                                         {"sBcD", BadDead},
                                                         {"Dx", BadDead},
                                                         {"D4", BadDead} /* seat 4 is empty */,
                                                         {"Pa", BadOop},
                                                         {"P9", BadOop},
                                                         {"sBcck/bb", "ERROR: Not enough bets in SEQ."}};
    for (const auto& [sequence, message] : cases) {
        SCOPED_TRACE(::testing::PrintToString(sequence));
        HandRecord hand;
        fill(hand, fourSeats(Bets{{4}}), sequence);
        DecodedHand decoded;
        EXPECT_STREQ(decodeSequence(hand, DecodeOptions{true}, decoded), message);
        for (const Action& action : decoded.actions)
            EXPECT_NE(action.type, Showdown);
        EXPECT_LE(decoded.betsUsed, hand.bets.size());
    }
}

// Padding, whatever follows a zero byte, and a record reused from an earlier hand change nothing.
TEST(DecodeSequence, PaddingAndAReusedRecordChangeNothing) {
    const Table table = threeSeats({}, Bets{{6, 8}});
    HandRecord hand;
    fill(hand, table, "sBrrc/kk");
    DecodedHand plain;
    ASSERT_EQ(decodeSequence(hand, DecodeOptions{}, plain), nullptr);
    DecodedHand reused;
    for (const std::string& variant : {std::string("sBrrc/kk_\0xyz", 13), std::string("___sB_rr__c/_kk_")}) {
        fill(hand, fourSeats(Bets{{4}}), "sBD3P3krffc");
        ASSERT_EQ(decodeSequence(hand, DecodeOptions{true}, reused), nullptr);
        fill(hand, table, variant);
        ASSERT_EQ(decodeSequence(hand, DecodeOptions{}, reused), nullptr);
        EXPECT_EQ(actionsOf(reused), actionsOf(plain));
        EXPECT_EQ(potsOf(reused.pots), potsOf(plain.pots));
        EXPECT_EQ(reused.folded, plain.folded);
        EXPECT_EQ(reused.stacks, plain.stacks);
    }
}

}  // namespace
}  // namespace noxi
