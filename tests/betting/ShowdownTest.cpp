// The showdown's decisions on small decoded hands: who shows or mucks, who wins which pot, and how the rake
// is taken from the pots.
#include "betting/Showdown.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "BettingFixtures.h"
#include "betting/Decoder.h"

namespace noxi {
namespace {

using testing::exact;
using testing::fill;
using testing::Table;

struct Deal {
    Table table;
    std::string sequence;
    std::vector<std::pair<int, const char*>> holeCards;  // seat, "AhKd"
    const char* board = "2c7d9hJsQs";
    double rake = 0;
};

// The payout as "shows: 1+ 2- 0x | wins: 1=12.5@0 ..." (+ shows, - mucks, x no cards; @ the pot number, a
// missing tail marked by "!").
std::string payoutOf(const Deal& deal, ShowdownRules rules = {}) {
    HandRecord hand;
    fill(hand, deal.table, deal.sequence);
    for (const auto& [seat, cards] : deal.holeCards) {
        hand.holeCards[static_cast<std::size_t>(seat)][0].parse(cards);
        hand.holeCards[static_cast<std::size_t>(seat)][1].parse(cards + 2);
    }
    for (std::size_t i = 0; i < 5; ++i)
        hand.board[i].parse(deal.board + 2 * i);
    hand.rake = deal.rake;
    DecodedHand decoded;
    EXPECT_EQ(decodeSequence(hand, DecodeOptions{}, decoded), nullptr);
    HandValues values{};
    for (int seat = 0; seat < SeatCount; ++seat) {
        if (decoded.folded[static_cast<std::size_t>(seat)]) continue;
        const auto& hole = hand.holeCards[static_cast<std::size_t>(seat)];
        const Card cards[] = {hole[0],       hole[1],       hand.board[0], hand.board[1],
                              hand.board[2], hand.board[3], hand.board[4]};
        values[static_cast<std::size_t>(seat)] = evaluateHand(cards);
    }
    Payout payout;
    resolveShowdown(hand, decoded, values, rules, payout);
    std::string text = "shows:";
    for (const ShowLine& line : payout.shows) {
        text += " " + std::to_string(line.seat);
        text += line.kind == ShowKind::Shows ? "+" : line.kind == ShowKind::Mucks ? "-" : "x";
    }
    text += " | wins:";
    for (const WinLine& line : payout.wins) {
        text += " " + std::to_string(line.seat) + "=" + exact(line.amount) + "@" + std::to_string(line.pot);
        if (!line.tail) text += "!";
    }
    return text;
}

Table threeSeats(std::vector<std::pair<int, double>> stacks = {{0, 100}, {1, 100}, {2, 100}}) {
    return Table{std::move(stacks), 0};
}

// Show order and mucking: clockwise from the last aggressor; a beaten hand mucks with its cards in the
// history, a tied one shows; without mucking every hand shows; a player left alone shows nothing.
TEST(Showdown, WhoShowsAndWhoMucks) {
    // Nobody bets after the flop: the first seat after the button, seat 1, shows first. Its pair of sevens
    // is beaten by seat 2's kings; seat 0 holds eights or kings.
    const char* const checked = "sBcck/kkk/kkk/kkk";
    const Deal beaten{threeSeats(), checked, {{0, "8h8d"}, {1, "7h3d"}, {2, "KdKc"}}};
    const Deal tied{threeSeats(), checked, {{0, "KhKs"}, {1, "7h3d"}, {2, "KdKc"}}};
    const std::vector<std::pair<int, const char*>> cards = {{0, "8h8d"}, {1, "7h3d"}, {2, "KdKc"}};
    const struct {
        const char* name;
        Deal deal;
        bool muck;
        const char* payout;
    } cases[] = {
        {"a beaten hand mucks", beaten, true, "shows: 1+ 2+ 0- | wins: 2=6@0"},
        {"a tied hand shows and shares", tied, true, "shows: 1+ 2+ 0+ | wins: 0=3@0 2=3@0"},
        {"without mucking every hand shows", beaten, false, "shows: 1+ 2+ 0+ | wins: 2=6@0"},
        // Seat 2 bets the river and is called: it shows first.
        {"the last aggressor shows first", Deal{threeSeats(), "sBcck/kkk/kkk/kbcc", cards}, true,
         "shows: 2+ 0- 1- | wins: 2=18@0"},
        {"a player left alone shows nothing", Deal{threeSeats(), "sBcck/kkk/kkk/kbff", cards}, true,
         "shows: 2x | wins: 2=10@0!"},
        {"a lone winner without mucking shows and names the pot",
         Deal{threeSeats(), "sBcck/kkk/kkk/kbff", cards}, false, "shows: 2+ | wins: 2=10@0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(payoutOf(c.deal, ShowdownRules{c.muck}), c.payout);
    }
}

// The rake is spread over the pots, rake / n from each, and charged once per pot whatever the number of
// its winners. A pot smaller than its part is eaten whole and pays 0; the rest comes from the other pots,
// largest first, so no win is ever negative.
TEST(Showdown, RakeByPot) {
    // Seat 1 calls all-in for 10 preflop (the main pot of 30, eligible 0 1 2); seats 0 and 2 put 10 more
    // each into side pot #1 on the flop. Seat 1's aces win the main pot, seat 2's kings the side pot.
    const Table deep = Table{{{0, 100}, {1, 10}, {2, 100}}, 0, std::vector<double>{18, 10}};
    const char* const sidePot = "sBrcc/bc/kk/kk";
    const std::vector<std::pair<int, const char*>> cards = {{0, "7h3d"}, {1, "AcAd"}, {2, "KcKd"}};
    const std::vector<std::pair<int, const char*>> split = {{0, "7h3d"}, {1, "KhKs"}, {2, "KcKd"}};
    const char* const board = "2c7d9hJsQs";
    // Seat 1 posts all it has, 0.5, as its small blind: the main pot holds 1.5.
    const Table shortMain = threeSeats({{0, 100}, {1, 0.5}, {2, 100}});
    const struct {
        const char* name;
        Deal deal;
        const char* payout;
    } cases[] = {
        {"no rake", Deal{deep, sidePot, cards}, "shows: 2+ 0- 1+ | wins: 2=40@1 1=30@0"},
        {"rake / n from each pot", Deal{deep, sidePot, cards, board, 3},
         "shows: 2+ 0- 1+ | wins: 2=38.5@1 1=28.5@0"},
        // A split pot bears its part of the rake once: each of two winners gets half of 30 less 1.5.
        {"a split pot bears its part once", Deal{deep, sidePot, split, board, 3},
         "shows: 2+ 0- 1+ | wins: 2=38.5@1 1=14.25@0 2=14.25@0"},
        // The main pot of 1.5 cannot give its part of 2: it gives all it has, and side pot #1 (3) gives the
        // other 0.5 with its own part.
        {"a small pot eaten whole", Deal{shortMain, "sBck/kk/kk/kk", cards, board, 4},
         "shows: 2+ 0- 1+ | wins: 2=0.5@1 1=0@0"},
        // Both pots too small for their parts: each is eaten whole, and the rake is what they hold.
        {"every pot eaten whole", Deal{shortMain, "sBck/kk/kk/kk", cards, board, 10},
         "shows: 2+ 0- 1+ | wins: 2=0@1 1=0@0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(payoutOf(c.deal), c.payout);
    }
}

}  // namespace
}  // namespace noxi
