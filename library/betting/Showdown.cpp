#include "betting/Showdown.h"

#include "betting/CentPots.h"
#include "hand/Money.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

namespace noxi {
namespace {

// The Showdown record's seat, or the next seat still in when that one has folded.
int startingSeat(const DecodedHand& decoded) {
    int start = 0;
    for (const Action& action : decoded.actions) {
        if (action.type == Showdown) start = action.seat;
    }
    return decoded.folded[start] ? HandRecord::nextSeat(start, decoded.folded) : start;
}

bool knownCards(const HandRecord& hand, int seat) {
    const auto& cards = hand.holeCards[static_cast<std::size_t>(seat)];
    return cards[0].isKnown() && cards[1].isKnown();
}

// Show or muck, clockwise from the starting seat: with mucking, a later hand shows only when it is at least
// as good as the best one shown before it; a player left alone shows nothing, nor, in tracker-safe output,
// a player whose cards are unknown.
void showOrMuck(const HandRecord& hand, const DecodedHand& decoded, const HandValues& values,
                const ShowdownRules& rules, int stillIn, Payout& payout) {
    const int start = startingSeat(decoded);
    int bestShown = -1;
    int seat = start;
    do {
        if ((stillIn <= 1 && rules.muckHands) || (rules.trackerSafe && !knownCards(hand, seat))) {
            payout.shows.push_back({seat, ShowKind::NoCards});
        } else if (rules.muckHands && bestShown >= 0 && values[seat] < values[bestShown]) {
            payout.shows.push_back({seat, ShowKind::Mucks});
        } else {
            payout.shows.push_back({seat, ShowKind::Shows});
            bestShown = seat;
        }
        seat = HandRecord::nextSeat(seat, decoded.folded);
    } while (seat != start);
}

// The seats with the best hand among the pot's eligible seats still in, the first-found best first, then the
// others in seat order; the count of them.
int potWinners(const Pot& pot, const DecodedHand& decoded, const HandValues& values,
               std::array<int, SeatCount>& winners) {
    int winnerCount = 0;
    for (int i = 0; i < pot.eligibleCount && i < SeatCount; ++i) {
        const int candidate = pot.eligible[static_cast<std::size_t>(i)];
        if (candidate < 0 || candidate >= SeatCount || decoded.folded[candidate]) continue;
        if (winnerCount == 0 || values[candidate] > values[winners[0]]) {
            winners[0] = candidate;
            winnerCount = 1;
        } else if (values[candidate] == values[winners[0]]) {
            winners[static_cast<std::size_t>(winnerCount++)] = candidate;
        }
    }
    return winnerCount;
}

// The rival named in a kicker phrase: the hand that comes closest to the best one; -1 for none.
int closestRival(const Pot& pot, const DecodedHand& decoded, const HandValues& values, int best) {
    int rival = -1;
    int closest = -1;
    for (int i = 0; i < pot.eligibleCount && i < SeatCount; ++i) {
        const int candidate = pot.eligible[static_cast<std::size_t>(i)];
        if (candidate < 0 || candidate >= SeatCount || decoded.folded[candidate]) continue;
        const int difference = values[best].firstKickerDifference(values[candidate]);
        if (difference > closest) {
            closest = difference;
            rival = candidate;
        }
    }
    return rival;
}

// What the rake takes from each pot, in map order: its part, rake / n, from every pot, and where a pot is
// smaller than its part, the pot whole and the rest from the other pots, largest first (equal sizes in map
// order), each up to what it still holds. So no winner is paid less than nothing.
void rakeByPot(const PotMap& pots, double rake, std::vector<double>& taken) {
    const double part = rake / static_cast<double>(pots.size());
    std::vector<double> sizes;
    double missing = 0;
    for (auto pot = pots.begin(); pot != pots.end(); ++pot) {
        const auto next = std::next(pot);
        const double size = pot->second.total - (next != pots.end() ? next->second.total : 0);
        sizes.push_back(size);
        taken.push_back(size < part ? size : part);
        if (size < part) missing += part - size;
    }
    std::vector<std::size_t> order(sizes.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&sizes](std::size_t a, std::size_t b) { return sizes[a] > sizes[b]; });
    for (const std::size_t i : order) {
        if (!(missing > 0)) break;
        const double left = sizes[i] - taken[i];
        if (!(left > 0)) continue;
        if (missing >= left) {
            taken[i] = sizes[i];  // eaten whole: its winners are paid exactly 0
            missing -= left;
        } else {
            taken[i] += missing;
            missing = 0;
        }
    }
}

// Whether every pot holds its part of the rake, rake / n.
bool potsHoldTheirRake(const PotMap& pots, double rake) {
    const double part = rake / static_cast<double>(pots.size());
    for (auto pot = pots.begin(); pot != pots.end(); ++pot) {
        const auto next = std::next(pot);
        if (pot->second.total - (next != pots.end() ? next->second.total : 0) < part) return false;
    }
    return true;
}

// What the rake takes from each pot, in whole cents: rake / n from each, the odd cents one each from the pots
// printed first (the top pot first); from a pot too small for its part, all it holds, and the rest from the
// other pots, largest first (equal ones in the order printed), each up to what it still holds. The rake is
// at most what the pots hold.
std::array<std::int64_t, SeatCount> rakeInCents(const CentPots& pots, std::int64_t rake) {
    std::array<std::int64_t, SeatCount> taken{};
    const auto count = static_cast<std::int64_t>(pots.count);
    std::int64_t missing = 0;
    for (int i = pots.count - 1; i >= 0; --i) {
        const auto printed = static_cast<std::int64_t>(pots.count - 1 - i);
        const std::int64_t part = rake / count + (printed < rake % count ? 1 : 0);
        const std::int64_t amount = pots.pots[static_cast<std::size_t>(i)].amount;
        taken[static_cast<std::size_t>(i)] = std::min(part, amount);
        missing += part - taken[static_cast<std::size_t>(i)];
    }
    std::array<int, SeatCount> order{};
    for (int i = 0; i < pots.count; ++i)
        order[static_cast<std::size_t>(i)] = pots.count - 1 - i;  // printed order
    std::stable_sort(order.begin(), order.begin() + pots.count, [&pots](int a, int b) {
        return pots.pots[static_cast<std::size_t>(a)].amount > pots.pots[static_cast<std::size_t>(b)].amount;
    });
    for (int k = 0; k < pots.count && missing > 0; ++k) {
        const auto i = static_cast<std::size_t>(order[static_cast<std::size_t>(k)]);
        const std::int64_t more = std::min(missing, pots.pots[i].amount - taken[i]);
        taken[i] += more;
        missing -= more;
    }
    return taken;
}

// The tracker-safe pot loop: the pots a tracker counts, in whole cents. Among a pot's players, those whose
// cards are known contest it when there are any (a player who shows nothing cannot beat a shown hand).
void payInCents(const HandRecord& hand, const DecodedHand& decoded, const HandValues& values, bool tail,
                Payout& payout) {
    CentPots pots;
    buildCentPots(decoded, pots);
    if (pots.count == 0) return;
    const std::int64_t rake = std::min(shownCents(hand.rake), pots.total());
    const std::array<std::int64_t, SeatCount> taken = rakeInCents(pots, rake);
    const int button = hand.button >= 0 && hand.button < SeatCount ? hand.button : 0;
    for (int i = pots.count - 1; i >= 0; --i) {
        const CentPot& pot = pots.pots[static_cast<std::size_t>(i)];
        bool anyKnown = false;
        for (int e = 0; e < pot.eligibleCount; ++e)
            anyKnown = anyKnown || knownCards(hand, pot.eligible[static_cast<std::size_t>(e)]);
        Pot contested;
        for (int e = 0; e < pot.eligibleCount; ++e) {
            const int seat = pot.eligible[static_cast<std::size_t>(e)];
            if (!anyKnown || knownCards(hand, seat))
                contested.eligible[static_cast<std::size_t>(contested.eligibleCount++)] = seat;
        }
        std::array<int, SeatCount> winners{};
        const int winnerCount = potWinners(contested, decoded, values, winners);
        if (winnerCount == 0) continue;
        const int rival = closestRival(contested, decoded, values, winners[0]);

        // Equal whole-cent shares; the odd cents one each to the winners nearest the button's left.
        const std::int64_t prize = pot.amount - taken[static_cast<std::size_t>(i)];
        const std::int64_t share = prize / winnerCount;
        const std::int64_t odd = prize % winnerCount;
        auto fromButton = [button](int seat) { return (seat - button - 1 + SeatCount) % SeatCount; };
        for (int w = 0; w < winnerCount; ++w) {
            const int seat = winners[static_cast<std::size_t>(w)];
            int nearer = 0;
            for (int v = 0; v < winnerCount; ++v)
                nearer += fromButton(winners[static_cast<std::size_t>(v)]) < fromButton(seat) ? 1 : 0;
            const std::int64_t cents = share + (nearer < odd ? 1 : 0);
            payout.wins.push_back({seat, static_cast<double>(cents) / 100, i, rival, tail});
        }
    }
}

}  // namespace

void resolveShowdown(const HandRecord& hand, const DecodedHand& decoded, const HandValues& values,
                     const ShowdownRules& rules, Payout& payout) {
    payout.clear();
    int stillIn = 0;
    for (const bool folded : decoded.folded)
        stillIn += folded ? 0 : 1;
    // Nobody left (a log whose letters fold every seat) shows nothing in tracker-safe output.
    if (!(rules.trackerSafe && stillIn == 0)) showOrMuck(hand, decoded, values, rules, stillIn, payout);
    if (rules.trackerSafe) {
        payInCents(hand, decoded, values, stillIn > 1 || !rules.muckHands, payout);
        return;
    }

    // Pay every pot, largest total first; they are numbered down to the main pot, number 0. The rake is
    // spread evenly over the pots, unless a pot is smaller than its part.
    const bool tail = stillIn > 1 || !rules.muckHands;
    const int potCount = static_cast<int>(decoded.pots.size());
    std::vector<double> rakeTaken;
    if (!potsHoldTheirRake(decoded.pots, hand.rake)) rakeByPot(decoded.pots, hand.rake, rakeTaken);
    int number = potCount - 1;
    for (auto pot = decoded.pots.begin(); pot != decoded.pots.end(); ++pot, --number) {
        const auto next = std::next(pot);
        const double base = number > 0 && next != decoded.pots.end() ? next->second.total : 0;
        std::array<int, SeatCount> winners{};
        const int winnerCount = potWinners(pot->second, decoded, values, winners);
        if (winnerCount == 0) continue;  // only seats that folded could win it: nobody is paid
        const int rival = closestRival(pot->second, decoded, values, winners[0]);

        // The winners of a pot share it less its part of the rake.
        const double size = pot->second.total - base;
        const double share =
            rakeTaken.empty()
                ? (size - hand.rake / potCount) / winnerCount
                : (size - rakeTaken[static_cast<std::size_t>(potCount - 1 - number)]) / winnerCount;
        for (int w = 0; w < winnerCount; ++w)
            payout.wins.push_back({winners[static_cast<std::size_t>(w)], share, number, rival, tail});
    }
}

}  // namespace noxi
