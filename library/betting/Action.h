// One decoded betting step of a hand: who, what, how much.
#pragma once

#include <cstdint>

namespace noxi {

// The numeric values are fixed: the writer switches on them.
enum ActionType : std::uint8_t {
    PostSmallBlind = 0,
    PostBigBlind = 1,
    PostBigBlindDead = 2,
    Check = 3,
    Bet = 4,
    Call = 5,
    Raise = 6,
    Fold = 7,
    AllIn = 8,
    Preflop = 9,  // the street counter's starting value; never stored
    DealFlop = 10,
    DealTurn = 11,
    DealRiver = 12,
    Showdown = 13,
    ActionClamp = 14,  // stored for any type above it; never produced
};

struct Action {
    std::int8_t seat = 0;
    std::uint8_t type = ActionClamp;
    double amount = 0;  // money in the log's currency unit; 0 where the type carries none

    Action() = default;
    // Seats outside 0..9 are stored as 0, types above 14 as 14.
    Action(int seatIndex, int actionType, double money)
        : seat(static_cast<std::int8_t>(seatIndex >= 0 && seatIndex <= 9 ? seatIndex : 0)),
          type(static_cast<std::uint8_t>(actionType >= 0 && actionType <= ActionClamp ? actionType
                                                                                      : ActionClamp)),
          amount(money) {}

    bool operator==(const Action&) const = default;
};

}  // namespace noxi
