// The pots of a decoded hand in whole cents, as a tracker reading its history counts them: the chips each
// seat is shown putting in, the uncalled part of the last bet or raise returned, and one pot per level of the
// seats still in.
#pragma once

#include <array>
#include <cstdint>

#include "betting/DecodedHand.h"

namespace noxi {

struct CentPot {
    std::int64_t amount = 0;                // cents
    std::array<int, SeatCount> eligible{};  // the seats still in that put in this pot's level, rising
    int eligibleCount = 0;
};

struct CentPots {
    // Main pot first. A pot per distinct total of the seats still in: at most one per seat.
    std::array<CentPot, SeatCount> pots{};
    int count = 0;
    std::int64_t returned = 0;  // the uncalled part given back, in no pot
    int returnedTo = -1;        // its seat, -1 when nothing was returned

    std::int64_t total() const {
        std::int64_t sum = 0;
        for (int i = 0; i < count; ++i)
            sum += pots[static_cast<std::size_t>(i)].amount;
        return sum;
    }
};

// The pots from the records of the hand: every post, bet, call, raise and all-in in whole cents as shown
// (shownCents). A seat's live chips are what it is shown putting in, less the dead money of its "big
// blind + dead" post; the dead money goes into the main pot. When one seat's live chips are more than any
// other seat's, folded ones included, the excess over the second most is returned to it. Each pot holds, of
// every seat, the live chips between the level below and its own; the top pot also the chips above it
// (folded seats' only), so that every chip put in and not returned is in a pot.
void buildCentPots(const DecodedHand& decoded, CentPots& result);

}  // namespace noxi
