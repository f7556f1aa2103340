#include "betting/Showdown.h"

#include <array>
#include <string_view>

#include "hand/TextOut.h"

namespace noxi {
namespace {

constexpr std::size_t DescriptionSize = 64;

inline void putName(TextSink& out, const HandRecord& hand, int seat) {
    // A seat without a name prints the empty text.
    if (seat >= 0 && seat < SeatCount && hand.seatNames[seat]) out.put(*hand.seatNames[seat]);
}

inline void putDescription(TextSink& out, HandEvaluator& evaluator, HandEvaluator* rival) {
    char text[DescriptionSize];
    const int length = evaluator.describeHand(text, sizeof text, rival);
    out.put(std::string_view(text, static_cast<std::size_t>(length)));
}

inline void putCards(TextSink& out, const std::array<Card, 2>& cards) {
    const char text[] = {cards[0].rankChar(), cards[0].suitChar(), ',', ' ',
                         cards[1].rankChar(), cards[1].suitChar()};
    out.put(std::string_view(text, sizeof text));
}

inline void showCards(TextSink& out, HandRecord& hand, int seat, std::string_view verb) {
    putName(out, hand, seat);
    out.put(verb);
    putCards(out, hand.holeCards[seat]);
    out.put(" ] ");
    putDescription(out, hand.evaluators[seat], nullptr);
    out.put(LineEnd);
}

}  // namespace

void resolveShowdown(Action& showdown, HandRecord& hand, std::string& text, bool muckHands, bool realMoney) {
    TextSink out(text);
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
            putName(out, hand, seat);
            out.putLine(" does not show cards.");
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
            putName(out, hand, winner);
            if (realMoney) {
                out.put(" wins $");
                out.putAmount(share);
            } else {
                out.put(" wins ");
                out.putAmount(share);
                out.put(" play chips");
            }
            if (stillIn > 1 || !muckHands) {
                if (number > 0) {
                    out.put(" from  side pot #");
                    out.putInt(number);
                    out.put("  with ");
                } else {
                    out.put(" from  the main pot  with ");
                }
                putDescription(out, hand.evaluators[winner], rival >= 0 ? &hand.evaluators[rival] : nullptr);
            }
            out.put(LineEnd);
        }
    }
}

}  // namespace noxi
