// The hand in English words, as the showdown lines of a hand history name it.
#include <cctype>
#include <cstdio>

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

int HandEvaluator::describeHand(char* buffer, std::size_t size, HandEvaluator* rival) {
    if (buffer == nullptr || size < MinDescriptionSize || cardCount == 0) return 0;

    const char* k0 = rankName(kicker(0));
    const char* k1 = rankName(kicker(1));
    // Plurals just add "s" ("sixs"), as the hand histories have them.
    int length = 0;
    switch (category()) {
        case HighCard:
            length = std::snprintf(buffer, size, "high card %s", k0);
            break;
        case OnePair:
            length = std::snprintf(buffer, size, "a pair of %ss", k0);
            break;
        case TwoPairs:
            length = std::snprintf(buffer, size, "two pairs, %ss and %ss", k0, k1);
            break;
        case ThreeOfAKind:
            length = std::snprintf(buffer, size, "three of a kind, %ss", k0);
            break;
        case Straight:
            length = std::snprintf(buffer, size, "a straight, %s to %s", k1, k0);
            break;
        case Flush:
            length = std::snprintf(buffer, size, "a flush, %s high", k0);
            break;
        case FullHouse:
            length = std::snprintf(buffer, size, "a full house, %ss full of %ss", k0, k1);
            buffer[FullHouseCapital] =
                static_cast<char>(std::toupper(static_cast<unsigned char>(buffer[FullHouseCapital])));
            break;
        case FourOfAKind:
            length = std::snprintf(buffer, size, "four of a kind, %ss", k0);
            break;
        case StraightFlush:
            length = std::snprintf(buffer, size, "a straight flush, %s high", k0);
            break;
        default:
            length = std::snprintf(buffer, size, "Royal Flush");
            break;
    }

    const int kickerValue = rival != nullptr ? kickerRank(*rival) : -1;
    const auto at = static_cast<std::size_t>(length);
    if (kickerValue >= 0) {
        length += std::snprintf(buffer + at, size - at, " with %s kicker.", rankName(kickerValue));
    } else {
        length += std::snprintf(buffer + at, size - at, ".");
    }
    return length;
}

}  // namespace noxi
