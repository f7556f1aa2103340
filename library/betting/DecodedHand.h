// What the betting of a hand comes to: its actions with seats and amounts, its pots, who folded and the
// starting stacks as a history shows them.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "betting/Action.h"
#include "betting/Pot.h"
#include "hand/HandRecord.h"

namespace noxi {

struct DecodedHand {
    std::vector<Action> actions;  // in the order they happened, closed by one Showdown record
    PotMap pots;                  // largest total first
    SeatFlags folded{};           // takes no (further) part: not seated, or folded
    // Each seat's chips at the start of the hand as the history shows them: the log's stacks, changed where a
    // blind that enters no pot is shown (an invented small blind, a dead small blind lost on a fold).
    std::array<double, SeatCount> stacks{};
    // Tracker-safe decoding: the dead money in each seat's "big blind + dead" post (in the pot, not counted
    // toward its calls); 0 for every seat otherwise.
    std::array<double, SeatCount> deadMoney{};
    std::size_t betsUsed = 0;  // how many BETS values the bets and raises took

    // Seated as the history shows it: a name and a shown starting stack above zero.
    bool isSeated(const HandRecord& hand, int seat) const {
        return seat >= 0 && seat < SeatCount && hand.seatNames[seat].has_value() && stacks[seat] > 0;
    }

    // What a hand needs to be written: the line's SEQ, NP above 0 and table name, actions and pots, and at
    // least two seated seats.
    bool isComplete(const HandRecord& hand) const {
        if (!hand.sequence || hand.numPlayers <= 0 || !hand.tableName || actions.empty() || pots.empty())
            return false;
        int seated = 0;
        for (int seat = 0; seat < SeatCount; ++seat)
            seated += isSeated(hand, seat) ? 1 : 0;
        return seated >= 2;
    }

    // Empty again, keeping the containers' memory for the next hand.
    void clear() {
        actions.clear();
        pots.clear();
        folded.fill(true);
        stacks.fill(0);
        deadMoney.fill(0);
        betsUsed = 0;
    }
};

}  // namespace noxi
