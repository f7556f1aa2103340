// A playing card as the log writes it: two characters, rank then suit ("Ah", "Td", "??").
#pragma once

#include <cstdint>

namespace noxi {

struct Card {
    static constexpr std::uint8_t UnknownRank = 13;
    static constexpr std::uint8_t UnknownSuit = 4;

    // 0 = two .. 8 = ten, 9 = jack, 10 = queen, 11 = king, 12 = ace; 13 = unknown.
    std::uint8_t rank = UnknownRank;
    // 0 = hearts, 1 = diamonds, 2 = clubs, 3 = spades; 4 = unknown.
    std::uint8_t suit = UnknownSuit;

    // Reads the first two characters of text. On a character outside the card alphabet the card becomes
    // unknown and the result is false; "?" is accepted for either half. Null text gives false.
    bool parse(const char* text);

    // Written form: "2".."9", "T", "J", "Q", "K", "A", and "E" for any other rank value.
    char rankChar() const;
    // Written form: "h", "d", "c", "s", and "e" for any other suit value.
    char suitChar() const;

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
    bool lessThan(const Card& other) const { return compare(other) < 0; }

    bool operator==(const Card&) const = default;
};

}  // namespace noxi
