#include "betting/PotBuilder.h"

#include <algorithm>

namespace noxi {

void buildPots(HandRecord& hand, SeatFlags& allInNow, const SeatFlags& out,
               const std::array<double, SeatCount>& roundBet, double potBefore, bool final) {
    for (int p = 0; p < SeatCount; ++p) {
        if (!allInNow[p] && !(final && !out[p])) continue;

        // The pot keys are compared exactly, so the level is always summed the same way: the closed
        // streets first, then every seat's share up to p's level in seat order (folded seats included).
        double level = potBefore;
        for (int r = 0; r < SeatCount; ++r)
            level += std::min(roundBet[r], roundBet[p]);
        // The same level reached again (an equal all-in, or the players still in matching an all-in) is the
        // same pot.
        if (hand.pots.contains(level)) continue;

        Pot pot;
        pot.total = level;
        for (int k = 0; k < SeatCount; ++k) {
            if (!out[k] || (allInNow[k] && roundBet[k] >= roundBet[p])) pot.eligible[pot.eligibleCount++] = k;
        }
        hand.pots.emplace(level, pot);
    }
    allInNow.fill(false);
}

}  // namespace noxi
