// The hand in English words, as the showdown lines of a hand history name it.
#include <cctype>

#include "eval/HandEvaluator.h"

namespace noxi {
namespace {

// The longest description, "two pairs, queens and threes with eight kicker.", is 47 characters.
constexpr std::size_t MinDescriptionSize = 48;
// In "a full house, Kings full of tens" the first rank name starts here and is capitalised.
constexpr std::size_t FullHouseCapital = 14;

const char* rankName(int rank) {
    static constexpr const char* Names[] = {"two",  "three", "four", "five",  "six",  "seven", "eight",
                                            "nine", "ten",   "jack", "queen", "king", "ace"};
    return rank >= 0 && rank < 13 ? Names[rank] : "error";
}

}  // namespace

namespace {

// The description built piece by piece into the caller's buffer, which is known to hold the longest one.
struct Description {
    char* buffer;
    int length = 0;

    Description& operator<<(const char* piece) {
        for (; *piece != '\0'; ++piece)
            buffer[length++] = *piece;
        return *this;
    }
};

}  // namespace

int HandEvaluator::describeHand(char* buffer, std::size_t size, HandEvaluator* rival) {
    if (buffer == nullptr || size < MinDescriptionSize || cardCount == 0) return 0;

    const char* k0 = rankName(kicker(0));
    const char* k1 = rankName(kicker(1));
    // Plurals just add "s" ("sixs"), as the hand histories have them.
    Description text{buffer};
    switch (category()) {
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

    const int kickerValue = rival != nullptr ? kickerRank(*rival) : -1;
    if (kickerValue >= 0) {
        text << " with " << rankName(kickerValue) << " kicker.";
    } else {
        text << ".";
    }
    buffer[text.length] = '\0';
    return text.length;
}

}  // namespace noxi
