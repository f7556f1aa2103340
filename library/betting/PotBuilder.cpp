#include "betting/PotBuilder.h"

#include <algorithm>

namespace noxi {
namespace {

// Chips are whole cents, so two levels less than half a cent apart are one level whose sums were taken in
// another order (the players still in matching an all-in of the same street, say). Comparing them exactly
// would open a pot of rounding dust, paid as "wins 1.11022e-16".
bool hasLevel(const PotMap& pots, double level) {
    constexpr double HalfCent = 0.005;
    const auto nearest = pots.lower_bound(level + HalfCent);  // largest first: the first key not above it
    return nearest != pots.end() && nearest->first > level - HalfCent;
}

}  // namespace

void buildPots(PotMap& pots, SeatFlags& allInNow, const SeatFlags& out,
               const std::array<double, SeatCount>& roundBet, double potBefore, bool final) {
    // Most streets end without an all-in: nothing to open, and nothing to clear.
    if (!final && std::ranges::find(allInNow, true) == allInNow.end()) return;
    for (int p = 0; p < SeatCount; ++p) {
        if (!allInNow[p] && !(final && !out[p])) continue;

        // The level is always summed the same way: the closed streets first, then every seat's share up to
        // p's level in seat order (folded seats included).
        double level = potBefore;
        for (int r = 0; r < SeatCount; ++r)
            level += std::min(roundBet[r], roundBet[p]);
        // The same level reached again (an equal all-in, or the players still in matching an all-in) is the
        // same pot.
        if (hasLevel(pots, level)) continue;

        Pot pot;
        pot.total = level;
        for (int k = 0; k < SeatCount; ++k) {
            if (!out[k] || (allInNow[k] && roundBet[k] >= roundBet[p])) pot.eligible[pot.eligibleCount++] = k;
        }
        pots.emplace(level, pot);
    }
    allInNow.fill(false);
}

}  // namespace noxi
