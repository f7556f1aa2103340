#include "eval/HandValue.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <initializer_list>

namespace noxi {
namespace {

constexpr int SuitCount = 4;
constexpr int Ace = 12;
constexpr int Five = 3;
constexpr int MaxCards = 7;

// The highest rank set in a mask of ranks, -1 for none.
int highestRank(std::uint32_t ranks) {
    return static_cast<int>(std::bit_width(ranks)) - 1;
}

// The top rank of the best straight among the ranks set in the 13-bit mask, -1 when there is none. The
// five-high straight (ace to five) counts only when no higher straight is there.
int straightTop(std::uint32_t ranks) {
    // Bit n stays set where ranks n to n + 4 are all there.
    const std::uint32_t runs = ranks & (ranks >> 1) & (ranks >> 2) & (ranks >> 3) & (ranks >> 4);
    if (runs != 0) return highestRank(runs) + 4;
    constexpr std::uint32_t Wheel = (1u << Ace) | 0xFu;
    return (ranks & Wheel) == Wheel ? Five : -1;
}

// The highest rank in the mask, taken out of it; -1 when it is empty.
int takeHighest(std::uint32_t& ranks) {
    if (ranks == 0) return -1;
    const int rank = highestRank(ranks);
    ranks &= ~(1u << rank);
    return rank;
}

void setEntries(HandValue& value, int category, int principals, std::initializer_list<int> entries) {
    std::size_t i = 0;
    for (const int entry : entries)
        value.kickers[i++] = static_cast<std::int8_t>(entry);
    value.category = static_cast<std::int8_t>(category);
    value.principalCount = static_cast<std::int8_t>(principals);
}

void setStraight(HandValue& value, int top, int category) {
    setEntries(value, category, 2, {top, top == Five ? Ace : top - 4});
}

}  // namespace

int HandValue::firstKickerDifference(const HandValue& rival) const {
    if (category != rival.category) return -1;
    for (int i = 0; i < KickerCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (kickers[at] == rival.kickers[at]) continue;
        // A difference in the principal ranks is not a kicker difference.
        return i < principalCount ? -1 : i;
    }
    return -1;
}

int HandValue::kickerRank(const HandValue& rival) const {
    const int index = firstKickerDifference(rival);
    return index < 0 ? -1 : kickers[static_cast<std::size_t>(index)];
}

HandValue evaluateHand(std::span<const Card> cards) {
    HandValue value;

    // The ranks held at least once, twice, three and four times, as 13-bit masks, and the ranks of each suit.
    std::uint32_t once = 0;
    std::uint32_t twice = 0;
    std::uint32_t thrice = 0;
    std::uint32_t fourTimes = 0;
    std::uint32_t suitRanks[SuitCount] = {};
    int suitCounts[SuitCount] = {};
    int flushSuit = -1;
    int count = 0;
    for (const Card& card : cards) {
        // Rank or suit values past the unknown ones are passed over too: they index the counters.
        if (count == MaxCards || card.rank >= Card::UnknownRank || card.suit >= Card::UnknownSuit) continue;
        ++count;
        const std::uint32_t bit = 1u << card.rank;
        fourTimes |= thrice & bit;
        thrice |= twice & bit;
        twice |= once & bit;
        once |= bit;
        suitRanks[card.suit] |= bit;
        if (++suitCounts[card.suit] == 5) flushSuit = card.suit;
    }
    value.cardCount = static_cast<std::int8_t>(count);

    if (flushSuit >= 0) {
        std::uint32_t suited = suitRanks[flushSuit];
        if (const int top = straightTop(suited); top >= 0) {
            setStraight(value, top, top == Ace ? RoyalFlush : StraightFlush);
            return value;
        }
        // The flush's ranks, highest first.
        for (auto& entry : value.kickers)
            entry = static_cast<std::int8_t>(takeHighest(suited));
        value.category = Flush;
        return value;
    }

    if (const int top = straightTop(once); top >= 0) {
        setStraight(value, top, Straight);
        return value;
    }

    // Seven cards hold at most one quad, two sets or three pairs.
    std::uint32_t singles = once & ~twice;
    std::uint32_t pairs = twice & ~thrice;
    std::uint32_t sets = thrice & ~fourTimes;
    std::uint32_t quadRanks = fourTimes;
    const int quads = takeHighest(quadRanks);
    const int trips = takeHighest(sets);
    const int secondSet = takeHighest(sets);
    int pair1 = takeHighest(pairs);
    const int pair2 = takeHighest(pairs);
    // A second set serves as the pair of a full house; a third pair can only give the fifth card.
    if (secondSet >= 0) pair1 = secondSet;
    const int thirdPair = takeHighest(pairs);
    if (thirdPair >= 0 && thirdPair > highestRank(singles)) singles |= 1u << thirdPair;
    const int single1 = takeHighest(singles);
    const int single2 = takeHighest(singles);
    const int single3 = takeHighest(singles);

    if (quads >= 0) {
        setEntries(value, FourOfAKind, 1, {quads, trips >= 0 ? trips : std::max(pair1, single1)});
    } else if (trips >= 0 && pair1 >= 0) {
        setEntries(value, FullHouse, 2, {trips, pair1});
    } else if (trips >= 0) {
        setEntries(value, ThreeOfAKind, 1, {trips, single1, single2});
    } else if (pair1 >= 0 && pair2 >= 0) {
        setEntries(value, TwoPairs, 2, {pair1, pair2, single1});
    } else if (pair1 >= 0) {
        setEntries(value, OnePair, 1, {pair1, single1, single2, single3});
    } else {
        // Every rank is held once here, highest first.
        std::uint32_t ranks = once;
        for (auto& entry : value.kickers)
            entry = static_cast<std::int8_t>(takeHighest(ranks));
    }
    return value;
}

}  // namespace noxi
