#include "hand/HandRecord.h"

#include <cstdarg>
#include <cstdio>

namespace noxi {

void HandRecord::reset() {
    bigBlind = 0;
    smallBlind = 0;
    button = 9;
    numPlayers = 0;
    startTime = 0;
    id = 0;
    heroSeat = -1;
    hasBets = false;
    for (int seat = 0; seat < SeatCount; ++seat) {
        seatNames[seat].reset();
        stacks[seat] = 0;
        holeCards[seat][0].setUnknown();
        holeCards[seat][1].setUnknown();
        folded[seat] = true;
        evaluators[seat].clear();
    }
    for (Card& card : board)
        card.setUnknown();
    tableName.reset();
    sequence.reset();
    heroName.reset();
    errorBuffer[0] = '\0';
    pots.clear();
    bets.clear();
    betsUsed = 0;
    actions.clear();
}

bool HandRecord::isComplete() const {
    if (!sequence || numPlayers <= 0 || actions.empty() || pots.empty() || !tableName) return false;
    int seated = 0;
    for (int seat = 0; seat < SeatCount; ++seat)
        seated += isSeated(seat) ? 1 : 0;
    return seated >= 2;
}

void HandRecord::setError(const char* format, ...) {
    if (format == nullptr) return;
    va_list args;
    va_start(args, format);
    std::vsnprintf(errorBuffer.data(), errorBuffer.size(), format, args);
    va_end(args);
}

}  // namespace noxi
