#include "betting/DecodedHand.h"

#include <gtest/gtest.h>

#include <functional>

namespace noxi {
namespace {

struct Complete {
    HandRecord hand;
    DecodedHand decoded;

    Complete() {
        hand.sequence = "kk";
        hand.numPlayers = 2;
        hand.tableName = "Apex";
        hand.seatNames[0] = "";  // a name, even an empty one
        hand.seatNames[1] = "bob";
        decoded.clear();
        decoded.actions.emplace_back(0, Check, 0);
        decoded.pots.emplace(3.0, Pot{3.0, {0, 1}, 2});
        decoded.stacks[0] = 10;
        decoded.stacks[1] = 0.01;
    }
};

// Two seats seated with the stacks the history shows (an invented small blind can seat an empty button, a
// lost dead blind unseat a player) and every other part.
TEST(DecodedHand, CompleteNeedsEveryPart) {
    EXPECT_TRUE(Complete().decoded.isComplete(Complete().hand));
    const std::function<void(Complete&)> spoilers[] = {
        [](Complete& c) { c.hand.sequence.reset(); },     [](Complete& c) { c.hand.numPlayers = 0; },
        [](Complete& c) { c.decoded.actions.clear(); },   [](Complete& c) { c.decoded.pots.clear(); },
        [](Complete& c) { c.hand.tableName.reset(); },    [](Complete& c) { c.decoded.stacks[1] = 0; },
        [](Complete& c) { c.hand.seatNames[0].reset(); },
    };
    for (const auto& spoil : spoilers) {
        Complete c;
        spoil(c);
        EXPECT_FALSE(c.decoded.isComplete(c.hand));
    }
    Complete shown;
    shown.hand.stacks = {};  // the log's stacks do not count, the shown ones do
    EXPECT_TRUE(shown.decoded.isComplete(shown.hand));
    EXPECT_FALSE(shown.decoded.isSeated(shown.hand, 10));
}

}  // namespace
}  // namespace noxi
