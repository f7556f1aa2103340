// Hand values made from card texts such as "Ah Kd 9c", for the evaluation tests.
#pragma once

#include <cstring>
#include <vector>

#include "eval/HandValue.h"

namespace noxi::test {

// The cards written in text, separated by single blanks; a text that is no card gives the unknown card.
inline std::vector<Card> cardsOf(const char* text) {
    std::vector<Card> cards;
    for (std::size_t at = 0; at < std::strlen(text); at += 3) {
        Card card;
        card.parse(text + at);
        cards.push_back(card);
    }
    return cards;
}

inline HandValue handOf(const char* text) {
    return evaluateHand(cardsOf(text));
}

// The card with index 0..51: rank index / 4, suit index % 4.
inline Card cardOf(int index) {
    Card card;
    card.setRank(index / 4);
    card.setSuit(index % 4);
    return card;
}

}  // namespace noxi::test
