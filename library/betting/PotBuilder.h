// Records the main pot and the side pots of a hand, each with the seats that may win it.
#pragma once

#include <array>

#include "betting/Pot.h"
#include "hand/HandRecord.h"

namespace noxi {

// Runs at every street end (final false) and once after the last letter (final true), from the decoder's
// per-seat state: allInNow marks seats that went all-in this street (cleared here), out the seats that can no
// longer act, roundBet the chips each seat put in this street, potBefore the chips of the closed streets.
// Every all-in of the street opens a pot at its own level; the final build adds the pot of the seats still
// in.
void buildPots(PotMap& pots, SeatFlags& allInNow, const SeatFlags& out,
               const std::array<double, SeatCount>& roundBet, double potBefore, bool final);

}  // namespace noxi
