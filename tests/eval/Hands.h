// Evaluators built from card texts such as "Ah Kd 9c", for the evaluation tests.
#pragma once

#include <cstring>

#include "eval/HandEvaluator.h"

namespace noxi::test {

// Adds the cards written in text, separated by single blanks; a text that is no card adds the unknown card.
inline HandEvaluator handOf(const char* text) {
    HandEvaluator hand;
    for (std::size_t at = 0; at < std::strlen(text); at += 3) {
        Card card;
        card.parse(text + at);
        hand.addCard(card);
    }
    return hand;
}

// The card with index 0..51: rank index / 4, suit index % 4.
inline Card cardOf(int index) {
    Card card;
    card.setRank(index / 4);
    card.setSuit(index % 4);
    return card;
}

}  // namespace noxi::test
