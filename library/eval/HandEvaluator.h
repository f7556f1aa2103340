// The best five-card poker hand out of up to seven known cards, with its category and kickers.
#pragma once

#include <array>
#include <cstddef>

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

class HandEvaluator {
public:
    static constexpr int MaxCards = 7;

    // Forgets every card; the next query evaluates again.
    void clear() {
        cardCount = 0;
        needsEvaluation = true;
    }

    // Stores a known card while fewer than seven are held; unknown cards and an eighth card are ignored.
    // Rank or suit values past the unknown ones are refused too: evaluation indexes its counters by them.
    void addCard(const Card& card) {
        if (cardCount >= MaxCards || card.rank >= Card::UnknownRank || card.suit >= Card::UnknownSuit) return;
        cards[static_cast<std::size_t>(cardCount++)] = card;
        needsEvaluation = true;
    }

    int count() const { return cardCount; }
    // Stored card i in its current order (evaluation sorts the cards when they hold a flush); the unknown
    // card outside 0..count()-1.
    Card card(int i) const { return i >= 0 && i < cardCount ? cards[static_cast<std::size_t>(i)] : Card{}; }

    // The category of the best hand, evaluating first when cards changed. Every query below goes through it.
    int category();
    // Kicker entry i (0..6), a rank value or -1 for no entry.
    int kicker(int i);
    // How many leading kicker entries make up the principal ranks (0, 1 or 2).
    int principals();

    // 1 when this hand is better, -1 when worse, 0 when equal: category first, then the first five kickers.
    int compare(HandEvaluator& other);
    bool isBetter(HandEvaluator& other) { return compare(other) > 0; }
    bool isEqual(HandEvaluator& other) { return compare(other) == 0; }
    bool isAtLeast(HandEvaluator& other) { return compare(other) >= 0; }

    // The rank this hand holds at the first differing kicker after the principal ranks, when category and
    // principal ranks match the rival's; -1 otherwise or when the first five entries are all equal.
    int kickerRank(HandEvaluator& rival);
    // The index of that first differing entry instead of its rank; -1 in the same cases.
    int firstKickerDifference(HandEvaluator& rival);

    // Writes the hand in words ("a pair of kings.", "two pairs, aces and eights with king kicker.") and
    // returns its length. Returns 0 and leaves the buffer untouched when buffer is null, size is below 48
    // or no card is held. The rival, when given, may add the kicker phrase.
    int describeHand(char* buffer, std::size_t size, HandEvaluator* rival);

private:
    void evaluate();
    void sortCardsDescending();
    void setStraight(int top, int straightCategory);
    void ensureEvaluated() {
        if (needsEvaluation) evaluate();
    }

    std::array<Card, MaxCards> cards{};
    int cardCount = 0;
    int principalCount = 0;
    bool needsEvaluation = true;
    int categoryValue = HighCard;
    std::array<int, MaxCards> kickers{-1, -1, -1, -1, -1, -1, -1};
};

}  // namespace noxi
