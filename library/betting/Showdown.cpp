#include "betting/Showdown.h"

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

// Show or muck, clockwise from the starting seat: with mucking, a later hand shows only when it is at least
// as good as the best one shown before it; a player left alone shows nothing.
void showOrMuck(const DecodedHand& decoded, const HandValues& values, const ShowdownRules& rules, int stillIn,
                Payout& payout) {
    const int start = startingSeat(decoded);
    int bestShown = -1;
    int seat = start;
    do {
        if (stillIn <= 1 && rules.muckHands) {
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

}  // namespace

void resolveShowdown(const HandRecord& hand, const DecodedHand& decoded, const HandValues& values,
                     const ShowdownRules& rules, Payout& payout) {
    payout.clear();
    int stillIn = 0;
    for (const bool folded : decoded.folded)
        stillIn += folded ? 0 : 1;
    showOrMuck(decoded, values, rules, stillIn, payout);

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
