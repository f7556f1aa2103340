// Settles the money of a decoded hand at its closing Showdown record: who shows, who mucks, who wins what.
#pragma once

#include "hand/HandRecord.h"
#include "hand/TextOut.h"

namespace noxi {

// Appends the show lines and then one win line per winner of every pot (largest pot first) to out, each
// ended by a line end. The Showdown record's seat moves to the next seat still in when it has folded.
void resolveShowdown(Action& showdown, HandRecord& hand, TextSink& out, bool muckHands, bool realMoney);

}  // namespace noxi
