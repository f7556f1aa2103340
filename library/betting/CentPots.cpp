#include "betting/CentPots.h"

#include <algorithm>

#include "hand/Money.h"

namespace noxi {

void buildCentPots(const DecodedHand& decoded, CentPots& result) {
    result = CentPots{};
    std::array<std::int64_t, SeatCount> live{};
    std::int64_t dead = 0;
    for (const Action& action : decoded.actions) {
        switch (action.type) {
            case PostSmallBlind:
            case PostBigBlind:
            case PostBigBlindDead:
            case Bet:
            case Call:
            case Raise:
            case AllIn:
                live[static_cast<std::size_t>(action.seat)] += shownCents(action.amount);
                break;
            default:
                break;
        }
    }
    for (int seat = 0; seat < SeatCount; ++seat) {
        const auto at = static_cast<std::size_t>(seat);
        const std::int64_t seatDead = std::min(live[at], shownCents(decoded.deadMoney[at]));
        live[at] -= seatDead;
        dead += seatDead;
    }

    // The uncalled part: what the one seat with the most live chips put in above the second most.
    int most = 0;
    for (int seat = 1; seat < SeatCount; ++seat) {
        if (live[static_cast<std::size_t>(seat)] > live[static_cast<std::size_t>(most)]) most = seat;
    }
    std::int64_t second = 0;
    bool alone = true;
    for (int seat = 0; seat < SeatCount; ++seat) {
        if (seat == most) continue;
        const std::int64_t chips = live[static_cast<std::size_t>(seat)];
        if (chips == live[static_cast<std::size_t>(most)]) alone = false;
        second = std::max(second, chips);
    }
    if (alone && live[static_cast<std::size_t>(most)] > second) {
        result.returned = live[static_cast<std::size_t>(most)] - second;
        result.returnedTo = most;
        live[static_cast<std::size_t>(most)] = second;
    }

    // The levels: the distinct live totals of the seats still in, rising; none above zero makes one level
    // of zero, which holds the dead money and the folded seats' chips.
    std::array<std::int64_t, SeatCount> levels{};
    int levelCount = 0;
    bool anyoneIn = false;
    for (int seat = 0; seat < SeatCount; ++seat) {
        if (decoded.folded[static_cast<std::size_t>(seat)]) continue;
        anyoneIn = true;
        const std::int64_t chips = live[static_cast<std::size_t>(seat)];
        if (chips <= 0 ||
            std::find(levels.begin(), levels.begin() + levelCount, chips) != levels.begin() + levelCount)
            continue;
        levels[static_cast<std::size_t>(levelCount++)] = chips;
    }
    if (!anyoneIn) return;  // nobody to win anything
    if (levelCount == 0) levels[static_cast<std::size_t>(levelCount++)] = 0;
    std::sort(levels.begin(), levels.begin() + levelCount);

    std::int64_t below = 0;
    for (int i = 0; i < levelCount; ++i) {
        const std::int64_t level = levels[static_cast<std::size_t>(i)];
        const bool top = i == levelCount - 1;
        CentPot& pot = result.pots[static_cast<std::size_t>(i)];
        for (int seat = 0; seat < SeatCount; ++seat) {
            const std::int64_t chips = live[static_cast<std::size_t>(seat)];
            pot.amount += top ? std::max<std::int64_t>(0, chips - below)
                              : std::clamp<std::int64_t>(chips - below, 0, level - below);
            if (!decoded.folded[static_cast<std::size_t>(seat)] && chips >= level)
                pot.eligible[static_cast<std::size_t>(pot.eligibleCount++)] = seat;
        }
        below = level;
    }
    result.pots[0].amount += dead;
    result.count = levelCount;
}

}  // namespace noxi
