#include "eval/HandEvaluator.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <initializer_list>
#include <utility>

namespace noxi {
namespace {

constexpr int RankCount = 13;
constexpr int SuitCount = 4;
constexpr int Ace = 12;
constexpr int Five = 3;
constexpr int Six = 4;
// Only the first five kicker entries take part in comparisons.
constexpr int ComparedKickers = 5;

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

}  // namespace

int HandEvaluator::category() {
    ensureEvaluated();
    return categoryValue;
}

int HandEvaluator::kicker(int i) {
    ensureEvaluated();
    return i >= 0 && i < MaxCards ? kickers[static_cast<std::size_t>(i)] : -1;
}

int HandEvaluator::principals() {
    ensureEvaluated();
    return principalCount;
}

int HandEvaluator::compare(HandEvaluator& other) {
    const int mine = category();
    const int theirs = other.category();
    if (mine != theirs) return mine > theirs ? 1 : -1;
    for (std::size_t i = 0; i < ComparedKickers; ++i) {
        if (kickers[i] != other.kickers[i]) return kickers[i] > other.kickers[i] ? 1 : -1;
    }
    return 0;
}

int HandEvaluator::firstKickerDifference(HandEvaluator& rival) {
    if (category() != rival.category()) return -1;
    for (int i = 0; i < ComparedKickers; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (kickers[at] == rival.kickers[at]) continue;
        // A difference in the principal ranks is not a kicker difference.
        return i < principalCount ? -1 : i;
    }
    return -1;
}

int HandEvaluator::kickerRank(HandEvaluator& rival) {
    const int index = firstKickerDifference(rival);
    return index < 0 ? -1 : kickers[static_cast<std::size_t>(index)];
}

// Repeated passes swapping neighbours, higher card first. Only the stored cards take part: slots past
// cardCount may still hold cards from before the last clear.
void HandEvaluator::sortCardsDescending() {
    for (int end = cardCount - 1; end > 0; --end) {
        bool swapped = false;
        for (int i = 0; i < end; ++i) {
            auto& left = cards[static_cast<std::size_t>(i)];
            auto& right = cards[static_cast<std::size_t>(i + 1)];
            if (left.compare(right) < 0) {
                std::swap(left, right);
                swapped = true;
            }
        }
        if (!swapped) break;
    }
}

void HandEvaluator::setStraight(int top, int straightCategory) {
    kickers.fill(-1);
    kickers[0] = top;
    kickers[1] = top == Five ? Ace : top - 4;
    categoryValue = straightCategory;
    principalCount = 2;
}

void HandEvaluator::evaluate() {
    kickers.fill(-1);
    needsEvaluation = false;

    // The ranks held at least once, twice, three and four times, as 13-bit masks.
    std::uint32_t once = 0;
    std::uint32_t twice = 0;
    std::uint32_t thrice = 0;
    std::uint32_t fourTimes = 0;
    std::array<int, SuitCount> suitCounts{};
    int flushSuit = -1;
    for (int i = 0; i < cardCount; ++i) {
        const Card& c = cards[static_cast<std::size_t>(i)];
        const std::uint32_t bit = 1u << c.rank;
        fourTimes |= thrice & bit;
        thrice |= twice & bit;
        twice |= once & bit;
        once |= bit;
        if (++suitCounts[c.suit] == 5) flushSuit = c.suit;
    }
    const std::uint32_t rankMask = once;

    if (flushSuit >= 0) {
        sortCardsDescending();
        std::uint32_t suitMask = 0;
        std::size_t n = 0;
        for (int i = 0; i < cardCount; ++i) {
            const Card& c = cards[static_cast<std::size_t>(i)];
            if (c.suit != flushSuit) continue;
            kickers[n++] = c.rank;
            suitMask |= 1u << c.rank;
        }
        const int top = straightTop(suitMask);
        if (top >= 0) {
            setStraight(top, top == Ace ? RoyalFlush : StraightFlush);
        } else {
            categoryValue = Flush;
            principalCount = 0;
        }
        return;
    }

    if (const int top = straightTop(rankMask); top >= 0) {
        setStraight(top, Straight);
        return;
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
    int single1 = takeHighest(singles);
    const int single2 = takeHighest(singles);
    const int single3 = takeHighest(singles);

    auto set = [this](int category, int principal, std::initializer_list<int> entries) {
        std::size_t i = 0;
        for (int e : entries)
            kickers[i++] = e;
        categoryValue = category;
        principalCount = principal;
    };
    if (quads >= 0) {
        set(FourOfAKind, 1, {quads, trips >= 0 ? trips : std::max(pair1, single1)});
    } else if (trips >= 0 && pair1 >= 0) {
        set(FullHouse, 2, {trips, pair1});
    } else if (trips >= 0) {
        set(ThreeOfAKind, 1, {trips, single1, single2});
    } else if (pair1 >= 0 && pair2 >= 0) {
        set(TwoPairs, 2, {pair1, pair2, single1});
    } else if (pair1 >= 0) {
        set(OnePair, 1, {pair1, single1, single2, single3});
    } else {
        // Every rank is held once here, highest first.
        std::uint32_t ranks = rankMask;
        for (int& entry : kickers)
            entry = takeHighest(ranks);
        categoryValue = HighCard;
        principalCount = 0;
    }
}

}  // namespace noxi
