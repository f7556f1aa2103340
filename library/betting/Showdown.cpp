#include "betting/Showdown.h"

#include <array>
#include <charconv>
#include <string_view>

namespace noxi {
namespace {

constexpr std::size_t DescriptionSize = 64;

// A seat without a name prints the empty text.
inline std::string_view nameOf(const HandRecord& hand, int seat) {
    return seat >= 0 && seat < SeatCount && hand.seatNames[seat] ? std::string_view(*hand.seatNames[seat])
                                                                 : std::string_view("");
}

inline char* putDescription(char* to, HandEvaluator& evaluator, HandEvaluator* rival) {
    return to + evaluator.describeHand(to, DescriptionSize, rival);
}

inline char* putCards(char* to, const std::array<Card, 2>& cards) {
    return putCard(putAt(putCard(to, cards[0]), ", "), cards[1]);
}

template <std::size_t N>
inline void showCards(TextSink& out, HandRecord& hand, int seat, const char (&verb)[N]) {
    const std::string_view name = nameOf(hand, seat);
    char* at = out.reserve(name.size() + N + 16 + DescriptionSize);
    at = putAt(at, name);
    at = putAt(at, verb);
    at = putCards(at, hand.holeCards[seat]);
    at = putAt(at, " ] ");
    at = putDescription(at, hand.evaluators[seat], nullptr);
    out.advance(putAt(at, "\r\n"));
}

}  // namespace

void resolveShowdown(Action& showdown, HandRecord& hand, TextSink& out, bool muckHands, bool realMoney) {
    int start = showdown.seat;
    if (hand.folded[start]) {
        start = HandRecord::nextSeat(start, hand.folded);
        showdown = Action(start, showdown.type, showdown.amount);
        start = showdown.seat;
    }

    int stillIn = 0;
    for (bool folded : hand.folded)
        stillIn += folded ? 0 : 1;

    // Show or muck, clockwise from the last aggressor: with mucking, a later hand shows only when it is at
    // least as good as the best one shown before it.
    int bestShown = -1;
    int seat = start;
    do {
        if (stillIn <= 1 && muckHands) {
            const std::string_view name = nameOf(hand, seat);
            char* at = out.reserve(name.size() + 32);
            at = putAt(at, name);
            out.advance(putAt(at, " does not show cards.\r\n"));
        } else if (muckHands && bestShown >= 0 &&
                   !hand.evaluators[seat].isAtLeast(hand.evaluators[bestShown])) {
            showCards(out, hand, seat, " doesn't show [ ");
        } else {
            showCards(out, hand, seat, " shows [ ");
            bestShown = seat;
        }
        seat = HandRecord::nextSeat(seat, hand.folded);
    } while (seat != start);

    // Pay every pot, largest total first; they are numbered down to the main pot, number 0.
    const int potCount = static_cast<int>(hand.pots.size());
    int number = potCount - 1;
    for (auto pot = hand.pots.begin(); pot != hand.pots.end(); ++pot, --number) {
        const auto next = std::next(pot);
        const double base = number > 0 && next != hand.pots.end() ? next->second.total : 0;
        const Pot& current = pot->second;

        std::array<int, SeatCount> winners{};
        int winnerCount = 0;
        int best = -1;
        for (int i = 0; i < current.eligibleCount && i < SeatCount; ++i) {
            const int candidate = current.eligible[i];
            if (candidate < 0 || candidate >= SeatCount || hand.folded[candidate]) continue;
            if (best < 0) {
                best = candidate;
                winners[0] = candidate;
                winnerCount = 1;
                continue;
            }
            const int order = hand.evaluators[candidate].compare(hand.evaluators[best]);
            if (order > 0) {
                best = candidate;
                winners[0] = candidate;
                winnerCount = 1;
            } else if (order == 0) {
                winners[winnerCount++] = candidate;
            }
        }
        if (winnerCount == 0) continue;  // only seats that folded could win it: nobody is paid

        // The rival named in a kicker phrase: the hand that comes closest to the best one.
        int rival = -1;
        int closest = -1;
        for (int i = 0; i < current.eligibleCount && i < SeatCount; ++i) {
            const int candidate = current.eligible[i];
            if (candidate < 0 || candidate >= SeatCount || hand.folded[candidate]) continue;
            const int difference = hand.evaluators[best].firstKickerDifference(hand.evaluators[candidate]);
            if (difference > closest) {
                closest = difference;
                rival = candidate;
            }
        }

        // The winners of a pot share it less its part of the rake.
        const double share = ((current.total - base) - hand.rake / potCount) / winnerCount;
        for (int w = 0; w < winnerCount; ++w) {
            const int winner = winners[static_cast<std::size_t>(w)];
            const std::string_view name = nameOf(hand, winner);
            char* at = out.reserve(name.size() + 64 + MaxAmountSize + DescriptionSize);
            at = putAt(at, name);
            if (realMoney) {
                at = putAt(at, " wins $");
                at = writeAmount(at, share);
            } else {
                at = putAt(at, " wins ");
                at = writeAmount(at, share);
                at = putAt(at, " play chips");
            }
            if (stillIn > 1 || !muckHands) {
                if (number > 0) {
                    at = putAt(at, " from  side pot #");
                    at = std::to_chars(at, at + 12, number).ptr;
                    at = putAt(at, "  with ");
                } else {
                    at = putAt(at, " from  the main pot  with ");
                }
                at = putDescription(at, hand.evaluators[winner],
                                    rival >= 0 ? &hand.evaluators[rival] : nullptr);
            }
            out.advance(putAt(at, "\r\n"));
        }
    }
}

}  // namespace noxi
