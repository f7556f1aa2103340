// A playing card as the log writes it: two characters, rank then suit ("Ah", "Td", "??").
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace noxi {

namespace cardtext {

// The value of each character as a rank or a suit, read in either case: its place in `letters`, `unknown`
// for '?', -1 outside the card alphabet.
constexpr std::array<std::int8_t, 256> charValues(std::string_view letters, std::int8_t unknown) {
    std::array<std::int8_t, 256> table{};
    table.fill(-1);
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const auto c = static_cast<unsigned char>(letters[i]);
        table[c] = static_cast<std::int8_t>(i);
        if (c >= 'a' && c <= 'z') table[c - 'a' + 'A'] = static_cast<std::int8_t>(i);
        if (c >= 'A' && c <= 'Z') table[c - 'A' + 'a'] = static_cast<std::int8_t>(i);
    }
    table['?'] = unknown;
    return table;
}

inline constexpr auto RankValues = charValues("23456789TJQKA", 13);
inline constexpr auto SuitValues = charValues("hdcs", 4);

}  // namespace cardtext

struct Card {
    static constexpr std::uint8_t UnknownRank = 13;
    static constexpr std::uint8_t UnknownSuit = 4;

    // 0 = two .. 8 = ten, 9 = jack, 10 = queen, 11 = king, 12 = ace; 13 = unknown.
    std::uint8_t rank = UnknownRank;
    // 0 = hearts, 1 = diamonds, 2 = clubs, 3 = spades; 4 = unknown.
    std::uint8_t suit = UnknownSuit;

    // Reads the first two characters of text. On a character outside the card alphabet the card becomes
    // unknown and the result is false; "?" is accepted for either half. Null text gives false.
    bool parse(const char* text) {
        if (text == nullptr) return false;
        const int r = cardtext::RankValues[static_cast<unsigned char>(text[0])];
        // The second character is looked at only when the first is there (a NUL ends the text).
        const int s = text[0] == '\0' ? -1 : cardtext::SuitValues[static_cast<unsigned char>(text[1])];
        if (r < 0 || s < 0) {
            setUnknown();
            return false;
        }
        rank = static_cast<std::uint8_t>(r);
        suit = static_cast<std::uint8_t>(s);
        return true;
    }

    // Written form: "2".."9", "T", "J", "Q", "K", "A", and "E" for any other rank value.
    char rankChar() const { return rank < UnknownRank ? "23456789TJQKA"[rank] : 'E'; }
    // Written form: "h", "d", "c", "s", and "e" for any other suit value.
    char suitChar() const { return suit < UnknownSuit ? "hdcs"[suit] : 'e'; }

    // Known only when neither half is unknown.
    bool isKnown() const { return rank != UnknownRank && suit != UnknownSuit; }

    void setRank(int r) { rank = (r < 0 || r >= UnknownRank) ? UnknownRank : static_cast<std::uint8_t>(r); }
    void setSuit(int s) { suit = (s < 0 || s >= UnknownSuit) ? UnknownSuit : static_cast<std::uint8_t>(s); }
    void setUnknown() {
        rank = UnknownRank;
        suit = UnknownSuit;
    }

    // Three-way order, higher first when sorting: rank decides, the unknown rank below every rank; then the
    // suit in the order hearts < diamonds < clubs < spades, the unknown suit below every suit.
    int compare(const Card& other) const;

    bool operator==(const Card&) const = default;
};

// Puts the card's two characters at `to`; returns the position after them.
inline char* putCard(char* to, const Card& card) {
    to[0] = card.rankChar();
    to[1] = card.suitChar();
    return to + 2;
}

}  // namespace noxi
