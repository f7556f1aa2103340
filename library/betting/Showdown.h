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
    // Tracker-safe: whole cents, the pots a tracker counts (see CentPots: the uncalled part returned, no pot
    // of one player's chips), the rake at most what the pots hold, and a player whose hole cards are unknown
    // shows none and wins no pot that a player with known cards contests.
    bool trackerSafe = false;
};

// The payout of a decoded hand whose seats still in have their hand values: the show lines, clockwise from
// the seat of the Showdown record (or the next seat still in when that one folded), then the winners of
// every pot, largest total first, each paid the pot less its part of the rake. Default rules: the decoded
// pots, rake / n from each pot (or, from a pot too small for it, all it holds and the rest from the largest
// other pots), shares divided exactly. Tracker-safe rules: the rake split in whole cents over the pots the
// same way (the odd cents from the pots printed first), each pot split in equal whole-cent shares with the
// odd cents one each to the winners nearest the button's left.
void resolveShowdown(const HandRecord& hand, const DecodedHand& decoded, const HandValues& values,
                     const ShowdownRules& rules, Payout& payout);

}  // namespace noxi
