// Settles the money of a decoded hand at its closing Showdown record: who shows, who mucks, who wins what.
#pragma once

#include <array>

#include "betting/DecodedHand.h"
#include "betting/Payout.h"
#include "eval/HandValue.h"
#include "hand/HandRecord.h"

namespace noxi {

using HandValues = std::array<HandValue, SeatCount>;

struct ShowdownRules {
    // Beaten hands are mucked and a player left alone shows nothing.
    bool muckHands = true;
};

// The payout of a decoded hand whose seats still in have their hand values: the show lines, clockwise from
// the seat of the Showdown record (or the next seat still in when that one folded), then the winners of
// every pot, largest total first, each paid the pot less its part of the rake.
void resolveShowdown(const HandRecord& hand, const DecodedHand& decoded, const HandValues& values,
                     const ShowdownRules& rules, Payout& payout);

}  // namespace noxi
