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
    hasBets = false;
    for (int seat = 0; seat < SeatCount; ++seat) {
        seatNames[seat].reset();
        stacks[seat] = 0;
        holeCards[seat][0].setUnknown();
        holeCards[seat][1].setUnknown();
    }
    for (Card& card : board)
        card.setUnknown();
    tableName.reset();
    sequence.reset();
    heroName.reset();
    errorBuffer[0] = '\0';
    bets.clear();
}

int HandRecord::heroSeat() const {
    if (!heroName) return -1;
    for (int seat = 0; seat < SeatCount; ++seat) {
        if (isSeated(seat) && *seatNames[seat] == *heroName) return seat;
    }
    return -1;
}

void HandRecord::setError(const char* format, ...) {
    if (format == nullptr) return;
    va_list args;
    va_start(args, format);
    std::vsnprintf(errorBuffer.data(), errorBuffer.size(), format, args);
    va_end(args);
}

}  // namespace noxi
