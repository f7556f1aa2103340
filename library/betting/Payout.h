// The showdown's decisions, which the writer renders: who shows, who mucks, who wins what from which pot.
#pragma once

#include <cstdint>
#include <vector>

namespace noxi {

enum class ShowKind : std::uint8_t {
    Shows,    // "shows [ cards ] hand"
    Mucks,    // "doesn't show [ cards ] hand": a beaten hand, mucked with its cards in the history
    NoCards,  // "does not show cards."
};

struct ShowLine {
    int seat;
    ShowKind kind;
};

struct WinLine {
    int seat;
    double amount;
    int pot;    // 0 for the main pot, n for side pot #n
    int rival;  // the hand that comes closest, named in a kicker phrase; -1 for none
    bool tail;  // the pot and the winning hand follow the amount
};

struct Payout {
    std::vector<ShowLine> shows;  // in the order they are shown, clockwise from the last aggressor
    std::vector<WinLine> wins;    // largest pot first, its winners in order

    void clear() {
        shows.clear();
        wins.clear();
    }
};

}  // namespace noxi
