#include "hand/Card.h"

namespace noxi {
namespace {

int rankFromChar(char c) {
    if (c >= '2' && c <= '9') return c - '2';
    switch (c) {
        case 'T':
        case 't':
            return 8;
        case 'J':
        case 'j':
            return 9;
        case 'Q':
        case 'q':
            return 10;
        case 'K':
        case 'k':
            return 11;
        case 'A':
        case 'a':
            return 12;
        case '?':
            return Card::UnknownRank;
        default:
            return -1;
    }
}

int suitFromChar(char c) {
    switch (c) {
        case 'h':
        case 'H':
            return 0;
        case 'd':
        case 'D':
            return 1;
        case 'c':
        case 'C':
            return 2;
        case 's':
        case 'S':
            return 3;
        case '?':
            return Card::UnknownSuit;
        default:
            return -1;
    }
}

// Unknown values sort below every known value.
int orderKey(int value, int unknown) {
    return value >= unknown ? -1 : value;
}

}  // namespace

bool Card::parse(const char* text) {
    if (text == nullptr) return false;
    const int r = rankFromChar(text[0]);
    // The second character is looked at only when the first is there (a NUL ends the text).
    const int s = text[0] == '\0' ? -1 : suitFromChar(text[1]);
    if (r < 0 || s < 0) {
        setUnknown();
        return false;
    }
    rank = static_cast<std::uint8_t>(r);
    suit = static_cast<std::uint8_t>(s);
    return true;
}

char Card::rankChar() const {
    static constexpr char Ranks[] = "23456789TJQKA";
    return rank < UnknownRank ? Ranks[rank] : 'E';
}

char Card::suitChar() const {
    static constexpr char Suits[] = "hdcs";
    return suit < UnknownSuit ? Suits[suit] : 'e';
}

int Card::compare(const Card& other) const {
    const int a = orderKey(rank, UnknownRank);
    const int b = orderKey(other.rank, UnknownRank);
    if (a != b) return a > b ? 1 : -1;
    const int s = orderKey(suit, UnknownSuit);
    const int t = orderKey(other.suit, UnknownSuit);
    if (s != t) return s > t ? 1 : -1;
    return 0;
}

}  // namespace noxi
