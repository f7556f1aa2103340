// Small tables for the betting tests: a hand record filled the way the log parser fills it, and the decoded
// actions in a form that prints readably when a comparison fails.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "hand/HandRecord.h"

namespace noxi::testing {

struct Table {
    std::vector<std::pair<int, double>> seats;  // seat, starting stack
    int button = 0;
    int numPlayers = 0;  // 0: the number of seats listed
    double smallBlind = 1;
    double bigBlind = 2;
    std::optional<std::vector<double>> bets = std::nullopt;  // present: a no-limit hand
};

inline void fill(HandRecord& hand, const Table& table, const std::string& sequence) {
    hand.reset();
    for (const auto& [seat, stack] : table.seats) {
        hand.seatNames[static_cast<std::size_t>(seat)] = "P" + std::to_string(seat);
        hand.stacks[static_cast<std::size_t>(seat)] = stack;
    }
    hand.button = static_cast<std::int8_t>(table.button);
    hand.numPlayers = static_cast<std::int8_t>(table.numPlayers != 0 ? table.numPlayers
                                                                     : static_cast<int>(table.seats.size()));
    hand.smallBlind = table.smallBlind;
    hand.bigBlind = table.bigBlind;
    hand.sequence = sequence;
    if (table.bets) {
        hand.hasBets = true;
        hand.bets = *table.bets;
    }
}

struct Step {
    int type;
    int seat;
    double amount = 0;
    bool operator==(const Step&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Step& s) {
        return out << "{type " << s.type << ", seat " << s.seat << ", " << s.amount << "}";
    }
};

inline std::vector<Step> stepsOf(const HandRecord& hand) {
    std::vector<Step> steps;
    for (const Action& a : hand.actions)
        steps.push_back({a.type, a.seat, a.amount});
    return steps;
}

struct PotView {
    double total;
    std::vector<int> eligible;
    bool operator==(const PotView&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const PotView& p) {
        out << "{" << p.total << ":";
        for (int seat : p.eligible)
            out << " " << seat;
        return out << "}";
    }
};

// Largest total first, as the map keeps them.
inline std::vector<PotView> potsOf(const HandRecord& hand) {
    std::vector<PotView> pots;
    for (const auto& [total, pot] : hand.pots) {
        PotView view{total, {}};
        for (int i = 0; i < pot.eligibleCount; ++i)
            view.eligible.push_back(pot.eligible[static_cast<std::size_t>(i)]);
        pots.push_back(view);
    }
    return pots;
}

}  // namespace noxi::testing
