#include "hand/Card.h"

namespace noxi {
namespace {

// Unknown values sort below every known value.
int orderKey(int value, int unknown) {
    return value >= unknown ? -1 : value;
}

}  // namespace

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
