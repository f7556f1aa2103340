// Turns a hand's SEQ letters into its actions with seats and amounts, and its pots.
#pragma once

#include "betting/DecodedHand.h"
#include "hand/HandRecord.h"

namespace noxi {

struct DecodeOptions {
    // Invents the small blind of a hand whose first big blind has none before it.
    bool fixSmallBlind = false;
    // Decodes for tracker-safe output: every chip taken from a stack is in the pot and shown by a record
    // (every post has one, an invented small blind is real chips), a full dead small blind beside a live
    // big blind is dead money, no amount is negative, and the streets the board holds are dealt before a
    // showdown.
    bool trackerSafe = false;
};

// Decodes hand.sequence into decoded: the actions (blind posts, checks, bets, calls, raises, folds, all-ins,
// one marker per dealt street and a closing Showdown), the pots built at every street end and at the end, the
// folded flags and the shown starting stacks. In a no-limit hand (hasBets) every bet and raise takes the next
// BETS value. Returns null when the whole string was decoded, else the message of the first bad letter (what
// was decoded until then stays in decoded).
const char* decodeSequence(const HandRecord& hand, const DecodeOptions& options, DecodedHand& decoded);

}  // namespace noxi
