#include "hand/Card.h"

#include <gtest/gtest.h>

namespace noxi {
namespace {

Card cardOf(const char* text) {
    Card card;
    card.parse(text);
    return card;
}

std::string written(const Card& card) {
    return {card.rankChar(), card.suitChar()};
}

// Rank and suit are read in either case; a failed parse leaves the unknown card, whatever was there.
TEST(Card, ParseAndWrittenForm) {
    const struct {
        const char* text;
        bool ok;
        const char* written;
    } cases[] = {{"aH", true, "Ah"},  {"2d", true, "2d"}, {"tS", true, "Ts"},    {"??", true, "Ee"},
                 {"?h", true, "Eh"},  {"A?", true, "Ae"}, {"Ahxyz", true, "Ah"}, {"1h", false, "Ee"},
                 {"Ax", false, "Ee"}, {"A", false, "Ee"}, {"\xC4h", false, "Ee"}};
    for (const auto& c : cases) {
        Card card = cardOf("Kc");
        EXPECT_EQ(card.parse(c.text), c.ok) << c.text;
        EXPECT_EQ(written(card), c.written) << c.text;
        EXPECT_EQ(card.isKnown(), c.written[0] != 'E' && c.written[1] != 'e') << c.text;
    }
    Card kept = cardOf("9c");  // a null text fails and keeps the card
    EXPECT_FALSE(kept.parse(nullptr));
    EXPECT_EQ(written(kept), "9c");
    kept.rank = 200;  // values out of range are written as unknown
    kept.suit = 77;
    EXPECT_EQ(written(kept), "Ee");
    kept.setSuit(9);
    EXPECT_EQ(kept.suit, Card::UnknownSuit);
}

}  // namespace
}  // namespace noxi
