#include "eval/HandValue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "eval/Hands.h"

namespace noxi {
namespace {

using test::cardOf;
using test::handOf;

// Entries and principal ranks at the edges the category count over every hand cannot see.
TEST(HandValue, CategoryKickersAndPrincipals) {
    const struct {
        const char* cards;
        int category;
        std::vector<int> kickers;  // leading entries; the rest must be -1
        int principals;
    } cases[] = {// Ace to six is the six-high straight, not the wheel.
                 {"Ah 2d 3c 4s 5h 6d", Straight, {4, 0}, 2},
                 {"Ah 2h 3h 4h 5h 9d", StraightFlush, {3, 12}, 2},
                 // A straight through the ten, but only its hearts five to nine are suited.
                 {"5h 6h 7h 8h 9h Td", StraightFlush, {7, 3}, 2},
                 {"Th Jh Qh Kh Ah 9h", RoyalFlush, {12, 8}, 2},
                 // Only the five highest cards of a flush count.
                 {"2c 5c 7c 9c Jc Kc 3d", Flush, {11, 9, 7, 5, 3}, 0},
                 {"Kh Kd 2c 5s 9h Jd 7c", OnePair, {11, 9, 7, 5}, 1},
                 {"2h 9d Jc Ks Ah 4c 6s", HighCard, {12, 11, 9, 7, 4}, 0},
                 {"Kh Kd Qc Qs Jh Jd 2c", TwoPairs, {11, 10, 9}, 2},
                 {"9h 9d 9c 5s 5h 5d Ac", FullHouse, {7, 3}, 2},
                 {"8h 8d 8c 8s 3h 3d 3c", FourOfAKind, {6, 1}, 1},
                 {"8h 8d 8c 8s 3h 3d Kc", FourOfAKind, {6, 11}, 1},
                 {"", HighCard, {}, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cards);
        const HandValue hand = handOf(c.cards);
        EXPECT_EQ(hand.category, c.category);
        for (int i = 0; i < HandValue::KickerCount; ++i) {
            const auto at = static_cast<std::size_t>(i);
            EXPECT_EQ(hand.kicker(i), at < c.kickers.size() ? c.kickers[at] : -1) << "entry " << i;
        }
        EXPECT_EQ(hand.principalCount, c.principals);
    }
}

// Two pairs keep the best of the other three cards as their kicker, a third pair included: it decides
// between hands that a dropped kicker would split.
TEST(HandValue, TheThirdPairIsTheKickerOfTwoPairs) {
    const HandValue threePairs = handOf("Ah Ad Kc Ks Qh Qd 2c");
    EXPECT_EQ(threePairs.category, TwoPairs);
    EXPECT_EQ(threePairs.kicker(2), 10);  // the queen
    EXPECT_GT(threePairs, handOf("As Ac Kh Kd Jh 9d 2h"));
    EXPECT_EQ(threePairs, handOf("As Ac Kh Kd Qc Js 2h"));
    EXPECT_EQ(threePairs.kickerRank(handOf("As Ac Kh Kd Jh 9d 2h")), 10);
    // A single above the third pair is the kicker; below it, the pair's rank is.
    EXPECT_EQ(handOf("Ah Ad Kc Ks 3h 3d Qc").kicker(2), 10);
    EXPECT_EQ(handOf("Ah Ad Kc Ks 3h 3d 2c").kicker(2), 1);
}

// Unknown cards are passed over, and so are rank or suit values outside the card's alphabet; past seven
// known cards the rest do not count.
TEST(HandValue, OnlyTheFirstSevenKnownCardsCount) {
    std::vector<Card> cards = test::cardsOf("2h 5d 9c Js Kh Qd");
    cards.push_back(Card{Card::UnknownRank, 0});  // "?h"
    cards.push_back(Card{40, 1});
    EXPECT_EQ(evaluateHand(cards).cardCount, 6);
    EXPECT_EQ(evaluateHand(cards).category, HighCard);
    cards.push_back(cardOf(1));  // the seventh known card, 2d
    cards.push_back(cardOf(2));  // an eighth, 2c: left out
    const HandValue hand = evaluateHand(cards);
    EXPECT_EQ(hand.cardCount, 7);
    EXPECT_EQ(hand.category, OnePair);
    EXPECT_EQ(hand.kicker(0), 0);
}

// A value depends on the cards alone, not on their order.
TEST(HandValue, TheOrderOfTheCardsDoesNotMatter) {
    std::mt19937 random(7);
    for (const char* text : {"9h Th Jh Kh Ah As Ks", "Ah Ad Kc Ks Qh Qd 2c", "2c 5c 7c 9c Jc Kc 3d"}) {
        std::vector<Card> cards = test::cardsOf(text);
        const HandValue first = evaluateHand(cards);
        for (int round = 0; round < 20; ++round) {
            std::shuffle(cards.begin(), cards.end(), random);
            const HandValue again = evaluateHand(cards);
            EXPECT_EQ(again, first) << text;
            EXPECT_EQ(again.kickers, first.kickers) << text;
        }
    }
}

// Against a rival: the order, and the rank and index of the first differing kicker after the principal
// ranks (-1 where category or principal ranks differ, or the first five entries are equal).
TEST(HandValue, AgainstARival) {
    struct {
        const char* hand;
        const char* rival;
        int compare, rank, index;
    } cases[] = {{"Kh Kd Ac 5s 3h", "Ks Kc Ad 5d 2d", 1, 1, 3},
                 {"Kh Kd Ac 5s 3h", "Qs Qc Ad 5d 3d", 1, -1, -1},
                 {"Ah Ad 8c 8s Kh", "As Ac 8h 8d Qh", 1, 11, 2},
                 {"Ah 9d 7c 5s 3h", "Kh Qd 7s 5d 3d", 1, 12, 0},
                 // Flushes equal in their five highest cards tie, whatever the sixth.
                 {"2c 5c 7c 9c Jc Kc", "3c 5c 7c 9c Jc Kc", 0, -1, -1}};
    auto sign = [](std::strong_ordering order) { return order > 0 ? 1 : order < 0 ? -1 : 0; };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hand) + " / " + c.rival);
        const HandValue a = handOf(c.hand);
        const HandValue b = handOf(c.rival);
        EXPECT_EQ(sign(a <=> b), c.compare);
        EXPECT_EQ(sign(b <=> a), -c.compare);
        EXPECT_EQ(a.kickerRank(b), c.rank);
        EXPECT_EQ(a.firstKickerDifference(b), c.index);
    }
}

// An independent model: five cards scored by the usual poker rules (the royal flush as its own category
// above the straight flush), and the best of the 21 five-card hands of seven.
long fiveCardValue(const std::array<int, 5>& cards) {
    std::array<int, 13> counts{};
    bool flush = true;
    for (int card : cards) {
        ++counts[static_cast<std::size_t>(card / 4)];
        flush = flush && card % 4 == cards[0] % 4;
    }
    std::vector<std::pair<int, int>> groups;  // (count, rank): biggest group first, higher rank first
    for (int rank = 0; rank < 13; ++rank) {
        if (counts[static_cast<std::size_t>(rank)] > 0)
            groups.emplace_back(counts[static_cast<std::size_t>(rank)], rank);
    }
    std::sort(groups.rbegin(), groups.rend());
    int straightTop = -1;
    if (groups.size() == 5 && groups[0].second - groups[4].second == 4) straightTop = groups[0].second;
    if (groups.size() == 5 && groups[0].second == 12 && groups[1].second == 3) straightTop = 3;
    int category = groups[0].first == 4   ? 7
                   : groups[0].first == 3 ? (groups[1].first == 2 ? 6 : 3)
                   : groups[0].first == 2 ? (groups[1].first == 2 ? 2 : 1)
                   : flush                ? 5
                                          : 0;
    if (straightTop >= 0) category = !flush ? 4 : straightTop == 12 ? 9 : 8;
    long value = category;
    for (std::size_t i = 0; i < 5; ++i) {
        const int rank = straightTop >= 0    ? (i == 0 ? straightTop : 0)
                         : i < groups.size() ? groups[i].second
                                             : 0;
        value = value * 13 + rank;
    }
    return value;
}

long referenceValue(const std::array<int, 7>& cards) {
    long best = -1;
    for (std::size_t skipA = 0; skipA < 7; ++skipA) {
        for (std::size_t skipB = skipA + 1; skipB < 7; ++skipB) {
            std::array<int, 5> five{};
            std::size_t taken = 0;
            for (std::size_t i = 0; i < 7; ++i) {
                if (i != skipA && i != skipB) five[taken++] = cards[i];
            }
            best = std::max(best, fiveCardValue(five));
        }
    }
    return best;
}

TEST(HandValue, RandomSevenCardHandsAgreeWithTheModelAndCompareBothWays) {
    std::mt19937 random(20240611);
    std::array<int, 52> deck{};
    for (int i = 0; i < 52; ++i)
        deck[static_cast<std::size_t>(i)] = i;
    auto deal = [&](std::array<int, 7>& picked) {
        std::array<Card, 7> cards{};
        for (std::size_t i = 0; i < 7; ++i) {
            std::uniform_int_distribution<std::size_t> pick(i, 51);
            std::swap(deck[i], deck[pick(random)]);
            picked[i] = deck[i];
            cards[i] = cardOf(deck[i]);
        }
        return evaluateHand(cards);
    };
    auto sign = [](long v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); };
    auto order = [](std::strong_ordering o) { return o > 0 ? 1 : o < 0 ? -1 : 0; };

    std::array<int, 7> cardsA{}, cardsB{};
    for (int round = 0; round < 200000; ++round) {
        const HandValue a = deal(cardsA);
        const HandValue b = deal(cardsB);
        const int ab = order(a <=> b);
        ASSERT_EQ(ab, -order(b <=> a)) << "round " << round;
        if (round % 10 == 0) {
            ASSERT_EQ(ab, sign(referenceValue(cardsA) - referenceValue(cardsB))) << "round " << round;
        }
    }
}

}  // namespace
}  // namespace noxi
