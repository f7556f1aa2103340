// The in-memory record of one hand as the log line says it, filled by the chunk parser and left as it filled
// it, with the text of the last error met while taking the line in. What follows from it (the decoded
// betting, the hand values, the payout) is kept apart by the steps that work it out.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hand/Card.h"

namespace noxi {

constexpr int SeatCount = 10;
using SeatFlags = std::array<bool, SeatCount>;

struct HandRecord {
    static constexpr std::size_t ErrorSize = 512;

    std::array<std::optional<std::string>, SeatCount> seatNames;  // "PN"; empty optional = empty seat
    std::array<double, SeatCount> stacks{};                       // "PB": chips at the start of the hand
    std::array<std::array<Card, 2>, SeatCount> holeCards{};       // "PC"
    std::array<Card, 5> board{};                                  // "BOARD": flop, flop, flop, turn, river
    std::int32_t id = 0;                                          // "ID": the hand number, read by gameId()
    std::optional<std::string> sequence;                          // "SEQ": the raw betting letters
    double bigBlind = 0;                                          // "BB"
    double smallBlind = 0;                                        // "SB"
    std::int8_t button = 9;                                       // "BTN": dealer seat 0..9
    std::optional<std::string> tableName;                         // "TABLE"
    // "TIME": seconds prepared for local-time display (see the chunk parser). 64 bits, so a log written
    // after 2038 does not wrap.
    std::int64_t startTime = 0;
    std::array<char, ErrorSize> errorBuffer{};  // the last error met, read by errorText()
    bool hasBets = false;                       // "BETS" was read: a no-limit hand
    std::vector<double> bets;                   // "BETS" values in order
    std::int8_t numPlayers = 0;                 // "NP", low 8 bits
    std::optional<std::string> heroName;        // "HERO"
    double rake = 0;                            // "RAKE"; not touched by reset()

    HandRecord() { reset(); }

    // Back to the state of a new record, keeping the containers' memory for the next hand. rake is kept.
    void reset();

    // A seat is seated when it has a name and a stack above zero.
    bool isSeated(int seat) const {
        return seat >= 0 && seat < SeatCount && seatNames[seat].has_value() && stacks[seat] > 0;
    }
    // The log owner's seat: the first seated seat whose name is heroName, -1 when there is none.
    int heroSeat() const;

    // The next seat clockwise (9 wraps to 0) whose flag is false, or `from` itself when every other seat is
    // flagged. prevSeat walks the other way.
    // At most one lap: a start outside 0..9 cannot make the walk run forever.
    static int nextSeat(int from, const SeatFlags& flags) {
        int seat = from;
        for (int step = 0; step < SeatCount; ++step) {
            seat = (seat >= SeatCount - 1 || seat < 0) ? 0 : seat + 1;
            if (seat == from || !flags[seat]) return seat;
        }
        return from;
    }
    static int prevSeat(int from, const SeatFlags& flags) {
        int seat = from;
        for (int step = 0; step < SeatCount; ++step) {
            seat = (seat <= 0 || seat > SeatCount - 1) ? SeatCount - 1 : seat - 1;
            if (seat == from || !flags[seat]) return seat;
        }
        return from;
    }

    // Formats the error text printf-style, replacing the previous one; a null format changes nothing.
    void setError(const char* format, ...) __attribute__((format(printf, 2, 3)));
    const char* errorText() const { return errorBuffer.data(); }
    std::int32_t gameId() const { return id; }
};

}  // namespace noxi
