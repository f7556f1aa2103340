// The best five-card poker hand out of up to seven known cards, as a value: its category and kickers, with
// the order of poker hands.
#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <span>

#include "hand/Card.h"

namespace noxi {

enum HandCategory : int {
    HighCard = 0,
    OnePair = 1,
    TwoPairs = 2,
    ThreeOfAKind = 3,
    Straight = 4,
    Flush = 5,
    FullHouse = 6,
    FourOfAKind = 7,
    StraightFlush = 8,
    RoyalFlush = 9,
};

struct HandValue {
    // Only the first five entries take part in comparisons, so no more are kept.
    static constexpr int KickerCount = 5;

    std::int8_t category = HighCard;
    // Rank values (0 = two .. 12 = ace) in comparison order; -1 = no entry. Their layout per category: high
    // card and flush all ranks highest first; one pair the pair, then the singles; two pairs both pairs, then
    // the best remaining rank; three of a kind the set, then two singles; straights top and bottom rank;
    // full house set and pair; four of a kind the quads and the best remaining rank.
    std::array<std::int8_t, KickerCount> kickers{-1, -1, -1, -1, -1};
    // How many leading entries are the principal ranks (0, 1 or 2), after which entries are kickers.
    std::int8_t principalCount = 0;
    // The known cards the hand was made of; a hand of none has no description.
    std::int8_t cardCount = 0;

    int kicker(int i) const { return i >= 0 && i < KickerCount ? kickers[static_cast<std::size_t>(i)] : -1; }

    // Poker order: the higher category wins, then the first differing entry.
    friend std::strong_ordering operator<=>(const HandValue& a, const HandValue& b) {
        if (const auto order = a.category <=> b.category; order != 0) return order;
        return a.kickers <=> b.kickers;
    }
    friend bool operator==(const HandValue& a, const HandValue& b) { return (a <=> b) == 0; }

    // The index of the first entry after the principal ranks in which this hand and the rival differ, when
    // category and principal ranks match; -1 otherwise or when all entries are equal.
    int firstKickerDifference(const HandValue& rival) const;
    // The rank this hand holds at that entry; -1 in the same cases.
    int kickerRank(const HandValue& rival) const;
};

// The value of the best hand among the known cards given (unknown cards are passed over; past seven known
// cards the rest are ignored).
HandValue evaluateHand(std::span<const Card> cards);

// Writes the hand in words ("a pair of kings.", "two pairs, aces and eights with king kicker.") and returns
// its length. Returns 0 and leaves the buffer untouched when buffer is null, size is below 48 or the hand
// holds no card. The rival, when given, may add the kicker phrase.
int describeHand(const HandValue& hand, char* buffer, std::size_t size, const HandValue* rival);

}  // namespace noxi
