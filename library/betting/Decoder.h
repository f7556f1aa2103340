// Turns a hand's SEQ letters into its actions with seats and amounts, and its pots.
#pragma once

#include "hand/HandRecord.h"

namespace noxi {

// Decodes hand.sequence into hand.actions (blind posts, checks, bets, calls, raises, folds, all-ins, one
// marker per dealt street and a closing Showdown), builds hand.pots at every street end and at the end, and
// sets the folded flags. In a no-limit hand (hasBets) every bet and raise consumes the next BETS value
// (betsUsed advances). fixSmallBlind invents the small blind of a hand whose first big blind has none before
// it. Returns false at the first bad letter, with the message in the record's error text; what was decoded
// until then stays in the record.
bool decodeSequence(HandRecord& hand, bool fixSmallBlind);

}  // namespace noxi
