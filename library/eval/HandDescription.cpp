// The hand in English words, as the showdown lines of a hand history name it.
#include <cctype>
#include <cstring>

#include "eval/HandValue.h"

namespace noxi {
namespace {

// The longest description, "two pairs, queens and threes with eight kicker.", is 47 characters.
constexpr std::size_t MinDescriptionSize = 48;
// In "a full house, Kings full of tens" the first rank name starts here and is capitalised.
constexpr std::size_t FullHouseCapital = 14;

// Rank names padded to eight characters, so that each is put by one copy of fixed size: the buffer holds the
// longest description, and no name stands so near its end that the padding would pass it.
struct RankName {
    char text[8];
    int size;
};

constexpr RankName RankNames[] = {{"two", 3},   {"three", 5}, {"four", 4}, {"five", 4}, {"six", 3},
                                  {"seven", 5}, {"eight", 5}, {"nine", 4}, {"ten", 3},  {"jack", 4},
                                  {"queen", 5}, {"king", 4},  {"ace", 3},  {"error", 5}};

// The description built piece by piece into the caller's buffer, which is known to hold the longest one.
struct Description {
    char* buffer;
    int length = 0;

    template <std::size_t N>
    Description& operator<<(const char (&piece)[N]) {
        std::memcpy(buffer + length, piece, N - 1);
        length += static_cast<int>(N - 1);
        return *this;
    }
    // A rank by its name; "error" for a value outside the ranks.
    Description& operator<<(int rank) {
        const RankName& name = RankNames[rank >= 0 && rank < 13 ? rank : 13];
        std::memcpy(buffer + length, name.text, sizeof name.text);
        length += name.size;
        return *this;
    }
};

}  // namespace

int describeHand(const HandValue& hand, char* buffer, std::size_t size, const HandValue* rival) {
    if (buffer == nullptr || size < MinDescriptionSize || hand.cardCount == 0) return 0;

    const int handCategory = hand.category;
    const int k0 = hand.kicker(0);
    const int k1 = hand.kicker(1);
    // Plurals just add "s" ("sixs"), as the hand histories have them.
    Description text{buffer};
    switch (handCategory) {
        case HighCard:
            text << "high card " << k0;
            break;
        case OnePair:
            text << "a pair of " << k0 << "s";
            break;
        case TwoPairs:
            text << "two pairs, " << k0 << "s and " << k1 << "s";
            break;
        case ThreeOfAKind:
            text << "three of a kind, " << k0 << "s";
            break;
        case Straight:
            text << "a straight, " << k1 << " to " << k0;
            break;
        case Flush:
            text << "a flush, " << k0 << " high";
            break;
        case FullHouse:
            text << "a full house, " << k0 << "s full of " << k1 << "s";
            buffer[FullHouseCapital] =
                static_cast<char>(std::toupper(static_cast<unsigned char>(buffer[FullHouseCapital])));
            break;
        case FourOfAKind:
            text << "four of a kind, " << k0 << "s";
            break;
        case StraightFlush:
            text << "a straight flush, " << k0 << " high";
            break;
        default:
            text << "Royal Flush";
            break;
    }

    const int kickerValue = rival != nullptr ? hand.kickerRank(*rival) : -1;
    if (kickerValue >= 0) {
        text << " with " << kickerValue << " kicker.";
    } else {
        text << ".";
    }
    buffer[text.length] = '\0';
    return text.length;
}

}  // namespace noxi
