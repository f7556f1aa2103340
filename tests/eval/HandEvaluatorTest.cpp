#include "eval/HandEvaluator.h"

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

TEST(HandEvaluator, CategoryKickersAndPrincipals) {
    const struct {
        const char* cards;
        int category;
        std::vector<int> kickers;  // leading entries; the rest must be -1
        int principals;
    } cases[] = {// Ace to six is the six-high straight, not the wheel.
                 {"Ah 2d 3c 4s 5h 6d", Straight, {4, 0}, 2},
                 {"Ah 2d 3c 4s 5h", Straight, {3, 12}, 2},
                 {"9h Td Jc Qs Kh Ad", Straight, {12, 8}, 2},
                 {"5h 6d 7c 8s 9h 9d 2c", Straight, {7, 3}, 2},
                 {"Th Jh Qh Kh Ah", RoyalFlush, {12, 8}, 2},
                 {"9h Th Jh Qh Kh", StraightFlush, {11, 7}, 2},
                 {"Ah 2h 3h 4h 5h 9d", StraightFlush, {3, 12}, 2},
                 // A straight through the ten, but only its hearts five to nine are suited.
                 {"5h 6h 7h 8h 9h Td", StraightFlush, {7, 3}, 2},
                 // Flush and a straight in different cards: the flush counts.
                 {"4h 5h 6h 7h 9h 8d", Flush, {7, 5, 4, 3, 2}, 0},
                 {"2c 5c 7c 9c Jc Kc 3d", Flush, {11, 9, 7, 5, 3, 0}, 0},
                 {"Kh Kd Qh Qd Jh Jd 2c", TwoPairs, {11, 10, 9}, 2},
                 {"Ah Kd Kc Qs Qh Jd Jc", TwoPairs, {11, 10, 12}, 2},
                 {"Ah Ad 8c 8s Kh", TwoPairs, {12, 6, 11}, 2},
                 {"9h 9d 9c 5h 5d 5c Ad", FullHouse, {7, 3}, 2},
                 {"2h 2d Kc Ks Kh 3d 3c", FullHouse, {11, 1}, 2},
                 {"8h 8d 8c 8s 3h 3d 3c", FourOfAKind, {6, 1}, 1},
                 {"8h 8d 8c 8s 3h 3d Kc", FourOfAKind, {6, 11}, 1},
                 {"8h 8d 8c 8s Ah Ad 3c", FourOfAKind, {6, 12}, 1},
                 {"Qh Qd Qc 2s 5h 9d Ac", ThreeOfAKind, {10, 12, 7}, 1},
                 {"Kh Kd 2c 5s 9h Jd 7c", OnePair, {11, 9, 7, 5}, 1},
                 {"Kh Kd", OnePair, {11}, 1},
                 {"Ah 2h Jc 9d Ks", HighCard, {12, 11, 9, 7, 0}, 0},
                 {"2h 9d Jc Ks Ah 4c 6s", HighCard, {12, 11, 9, 7, 4, 2, 0}, 0},
                 {"", HighCard, {}, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cards);
        HandEvaluator hand = handOf(c.cards);
        EXPECT_EQ(hand.category(), c.category);
        for (int i = 0; i < HandEvaluator::MaxCards; ++i) {
            const auto at = static_cast<std::size_t>(i);
            EXPECT_EQ(hand.kicker(i), at < c.kickers.size() ? c.kickers[at] : -1) << "entry " << i;
        }
        EXPECT_EQ(hand.principals(), c.principals);
    }
}

TEST(HandEvaluator, RefusesUnknownAndEighthCards) {
    HandEvaluator hand = handOf("2h 5d 9c Js Kh Qd");
    const int before = hand.category();
    Card half;
    half.parse("?h");
    hand.addCard(half);
    hand.addCard(Card{});
    Card wild;  // out-of-range values must not reach the counters
    wild.rank = 40;
    wild.suit = 1;
    hand.addCard(wild);
    EXPECT_EQ(hand.count(), 6);

    hand.addCard(cardOf(1));  // the seventh card, 2d
    hand.addCard(cardOf(2));  // an eighth card, 2c, ignored
    EXPECT_EQ(hand.count(), 7);
    EXPECT_EQ(before, HighCard);
    EXPECT_EQ(hand.category(), OnePair);
    EXPECT_EQ(hand.kicker(0), 0);
}

TEST(HandEvaluator, AddingCardsAfterAQueryEvaluatesAgain) {
    HandEvaluator hand = handOf("Kh Kd 5c");
    EXPECT_EQ(hand.category(), OnePair);
    hand.addCard(handOf("Ks").card(0));
    EXPECT_EQ(hand.category(), ThreeOfAKind);
    hand.clear();
    EXPECT_EQ(hand.count(), 0);
    EXPECT_EQ(hand.category(), HighCard);
    EXPECT_EQ(hand.kicker(0), -1);
}

TEST(HandEvaluator, FlushSortsTheStoredCardsHighestFirst) {
    HandEvaluator hand = handOf("2c Ah 9c Kc 5c As 7c");
    EXPECT_EQ(hand.category(), Flush);
    const char* sorted[] = {"As", "Ah", "Kc", "9c", "7c", "5c", "2c"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(std::string({hand.card(i).rankChar(), hand.card(i).suitChar()}), sorted[i]);
    }
}

TEST(HandEvaluator, CardsFromBeforeClearDoNotReturn) {
    // Sorting leaves the ten and nine in the last slots, above every card of the next hand.
    HandEvaluator hand = handOf("9h Th Jh Kh Ah As Ks");
    ASSERT_EQ(hand.category(), Flush);
    hand.clear();
    for (const char* text : {"2d", "3d", "4d", "6d", "7d"})
        hand.addCard(handOf(text).card(0));
    EXPECT_EQ(hand.category(), Flush);
    const int expected[] = {5, 4, 2, 1, 0, -1, -1};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(hand.kicker(i), expected[i]) << "entry " << i;
}

TEST(HandEvaluator, CompareUsesCategoryThenFiveEntries) {
    struct {
        const char* a;
        const char* b;
        int expected;
    } cases[] = {{"Th Jh Qh Kh Ah", "9s Ts Js Qs Ks", 1},
                 {"Ah 2d 3c 4s 5h", "2h 3d 4c 5s 6h", -1},
                 // Flushes equal in their five highest cards tie, whatever the sixth.
                 {"2c 5c 7c 9c Jc Kc", "3c 5c 7c 9c Jc Kc", 0},
                 {"Kh Kd Ac 5s 3h", "Ks Kc Qc 5d 3d", 1},
                 {"Kh Kd Qh Qd Jh Jd 2c", "Ks Kc Qs Qc Js 2d 3d", 0},
                 {"2h 3d 5c 7s 9h", "", 1}};
    for (const auto& c : cases) {
        HandEvaluator a = handOf(c.a);
        HandEvaluator b = handOf(c.b);
        EXPECT_EQ(a.compare(b), c.expected) << c.a << " / " << c.b;
        EXPECT_EQ(b.compare(a), -c.expected) << c.b << " / " << c.a;
        EXPECT_EQ(a.isBetter(b), c.expected > 0);
        EXPECT_EQ(a.isEqual(b), c.expected == 0);
        EXPECT_EQ(a.isAtLeast(b), c.expected >= 0);
    }
}

TEST(HandEvaluator, KickerRankAndIndex) {
    struct {
        const char* hand;
        const char* rival;
        int rank;
        int index;
    } cases[] = {{"Kh Kd Ac 5s 3h", "Ks Kc Qc 5d 3d", 12, 1},  {"Kh Kd Ac 5s 3h", "Qs Qc Ad 5d 3d", -1, -1},
                 {"Kh Kd Ac 5s 3h", "Ks Kc Ad 5d 2d", 1, 3},   {"Ah Ad 8c 8s Kh", "As Ac 8h 8d Qh", 11, 2},
                 {"Ah 9d 7c 5s 3h", "Kh Qd 7s 5d 3d", 12, 0},  {"Ah 9d 7c 5s 3h", "As 9c 7h 5d 3d", -1, -1},
                 {"9h 9d 9c 5h 5d", "9s 9d 9c 4h 4d", -1, -1}, {"Kh Kd Ac 5s 3h", "Ah 9d 7c 5s 3h", -1, -1}};
    for (const auto& c : cases) {
        HandEvaluator a = handOf(c.hand);
        HandEvaluator b = handOf(c.rival);
        EXPECT_EQ(a.kickerRank(b), c.rank) << c.hand << " / " << c.rival;
        EXPECT_EQ(a.firstKickerDifference(b), c.index) << c.hand << " / " << c.rival;
    }
}

// An independent model: the best of the 21 five-card hands, each scored by the usual poker rules (the royal
// flush as its own category above the straight flush).
long referenceValue(const std::array<int, 7>& deckIndexes) {
    long best = -1;
    for (int skipA = 0; skipA < 7; ++skipA) {
        for (int skipB = skipA + 1; skipB < 7; ++skipB) {
            std::array<int, 13> counts{};
            std::array<int, 4> suits{};
            for (int i = 0; i < 7; ++i) {
                if (i == skipA || i == skipB) continue;
                ++counts[static_cast<std::size_t>(deckIndexes[static_cast<std::size_t>(i)] / 4)];
                ++suits[static_cast<std::size_t>(deckIndexes[static_cast<std::size_t>(i)] % 4)];
            }
            // (count, rank) of each rank present, biggest group first, higher rank first among equals.
            std::array<std::pair<int, int>, 5> groups{};
            std::size_t groupCount = 0;
            for (int count = 4; count >= 1; --count) {
                for (int r = 12; r >= 0; --r) {
                    if (counts[static_cast<std::size_t>(r)] == count) groups[groupCount++] = {count, r};
                }
            }
            const bool flush = std::find(suits.begin(), suits.end(), 5) != suits.end();
            int straightTop = -1;
            if (groupCount == 5 && groups[0].second - groups[4].second == 4) straightTop = groups[0].second;
            if (groupCount == 5 && groups[0].second == 12 && groups[1].second == 3) straightTop = 3;
            int category;
            if (straightTop >= 0 && flush) {
                category = straightTop == 12 ? 9 : 8;
            } else if (groups[0].first == 4) {
                category = 7;
            } else if (groups[0].first == 3 && groups[1].first == 2) {
                category = 6;
            } else if (flush) {
                category = 5;
            } else if (straightTop >= 0) {
                category = 4;
            } else if (groups[0].first == 3) {
                category = 3;
            } else if (groups[0].first == 2 && groups[1].first == 2) {
                category = 2;
            } else {
                category = groups[0].first == 2 ? 1 : 0;
            }
            long value = category;
            for (std::size_t i = 0; i < 5; ++i) {
                int rank = 0;
                if (straightTop >= 0) {
                    rank = i == 0 ? straightTop : 0;
                } else if (i < groupCount) {
                    rank = groups[i].second;
                }
                value = value * 13 + rank;
            }
            best = std::max(best, value);
        }
    }
    return best;
}

TEST(HandEvaluator, RandomSevenCardHandsAgreeWithTheModelAndCompareBothWays) {
    std::mt19937 random(20240611);
    std::array<int, 52> deck{};
    for (int i = 0; i < 52; ++i)
        deck[static_cast<std::size_t>(i)] = i;
    auto deal = [&](std::array<int, 7>& picked, HandEvaluator& hand) {
        for (std::size_t i = 0; i < 7; ++i) {
            std::uniform_int_distribution<std::size_t> pick(i, 51);
            std::swap(deck[i], deck[pick(random)]);
            picked[i] = deck[i];
        }
        hand.clear();
        for (int index : picked)
            hand.addCard(cardOf(index));
    };
    auto sign = [](long v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); };

    std::array<int, 7> cardsA{}, cardsB{};
    HandEvaluator a, b;
    for (int round = 0; round < 200000; ++round) {
        deal(cardsA, a);
        deal(cardsB, b);
        const int ab = a.compare(b);
        ASSERT_EQ(ab, -b.compare(a)) << "round " << round;
        if (round % 10 == 0) {
            ASSERT_EQ(ab, sign(referenceValue(cardsA) - referenceValue(cardsB))) << "round " << round;
        }
    }
}

}  // namespace
}  // namespace noxi
