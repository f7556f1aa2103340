#include "hand/Card.h"

#include <gtest/gtest.h>

namespace noxi {
namespace {

TEST(Card, ParseReadsRankAndSuit) {
    const struct {
        const char* text;
        bool ok;
        int rank, suit;
    } cases[] = {{"Ah", true, 12, 0},  {"ah", true, 12, 0},    {"AH", true, 12, 0},  {"aH", true, 12, 0},
                 {"2d", true, 0, 1},   {"9c", true, 7, 2},     {"Ts", true, 8, 3},   {"jS", true, 9, 3},
                 {"qd", true, 10, 1},  {"Kc", true, 11, 2},    {"??", true, 13, 4},  {"?h", true, 13, 0},
                 {"A?", true, 12, 4},  {"Ahxyz", true, 12, 0}, {"1h", false, 13, 4}, {"0h", false, 13, 4},
                 {"Ax", false, 13, 4}, {"", false, 13, 4},     {"A", false, 13, 4},  {"\xC4h", false, 13, 4}};
    for (const auto& c : cases) {
        Card card;
        card.rank = 0;  // a failed parse must leave the unknown card, whatever was there
        card.suit = 0;
        EXPECT_EQ(card.parse(c.text), c.ok) << c.text;
        EXPECT_EQ(card.rank, c.rank) << c.text;
        EXPECT_EQ(card.suit, c.suit) << c.text;
    }
    Card kept;  // a null text fails and keeps the card
    kept.rank = 5;
    kept.suit = 2;
    EXPECT_FALSE(kept.parse(nullptr));
    EXPECT_EQ(kept.rank, 5);
    EXPECT_EQ(kept.suit, 2);
}

TEST(Card, WrittenForm) {
    struct {
        int rank, suit;
        const char* text;
    } cases[] = {{0, 0, "2h"},  {7, 1, "9d"},  {8, 2, "Tc"},  {9, 3, "Js"},  {10, 0, "Qh"},
                 {11, 1, "Kd"}, {12, 2, "Ac"}, {13, 4, "Ee"}, {13, 2, "Ec"}, {200, 77, "Ee"}};
    for (const auto& c : cases) {
        Card card;
        card.rank = static_cast<std::uint8_t>(c.rank);
        card.suit = static_cast<std::uint8_t>(c.suit);
        EXPECT_EQ(std::string({card.rankChar(), card.suitChar()}), c.text);
    }
}

TEST(Card, KnownNeedsBothHalves) {
    Card card;
    EXPECT_FALSE(card.isKnown());
    card.setRank(12);
    EXPECT_FALSE(card.isKnown());
    card.setSuit(3);
    EXPECT_TRUE(card.isKnown());
    card.setSuit(9);
    EXPECT_EQ(card.suit, Card::UnknownSuit);
    card.setSuit(3);
    card.setRank(13);
    EXPECT_EQ(card.rank, Card::UnknownRank);
    EXPECT_FALSE(card.isKnown());
    card.setRank(2);
    card.setUnknown();
    EXPECT_EQ(card, Card{});
}

TEST(Card, CompareByRankThenSuitUnknownLowest) {
    auto card = [](const char* text) {
        Card c;
        c.parse(text);
        return c;
    };
    const std::pair<const char*, const char*> ordered[] = {{"Ah", "As"}, {"2h", "Ks"}, {"??", "2h"},
                                                           {"Q?", "Qh"}, {"Td", "Tc"}, {"Th", "Td"}};
    for (const auto& [low, high] : ordered) {
        EXPECT_EQ(card(low).compare(card(high)), -1) << low << " < " << high;
        EXPECT_EQ(card(high).compare(card(low)), 1) << high << " > " << low;
    }
    EXPECT_EQ(card("??").compare(card("??")), 0);
    EXPECT_EQ(card("Td").compare(card("Td")), 0);
    EXPECT_TRUE(card("Tc").lessThan(card("Ts")));
}

}  // namespace
}  // namespace noxi
