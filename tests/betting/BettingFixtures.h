// A hand record filled as the log parser fills it; decoded actions and pots as short, readable texts.
#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "betting/DecodedHand.h"
#include "hand/HandRecord.h"

namespace noxi::testing {

// Blinds of 1 and 2 unless given, as many players as seats listed.
struct Table {
    std::vector<std::pair<int, double>> seats;  // seat, starting stack
    int button = 0;
    std::optional<std::vector<double>> bets = std::nullopt;  // present: a no-limit hand
    double smallBlind = 1;
    double bigBlind = 2;
};

inline void fill(HandRecord& hand, const Table& table, const std::string& sequence) {
    hand.reset();
    for (const auto& [seat, stack] : table.seats) {
        hand.seatNames[static_cast<std::size_t>(seat)] = "P" + std::to_string(seat);
        hand.stacks[static_cast<std::size_t>(seat)] = stack;
    }
    hand.button = static_cast<std::int8_t>(table.button);
    hand.numPlayers = static_cast<std::int8_t>(table.seats.size());
    hand.smallBlind = table.smallBlind;
    hand.bigBlind = table.bigBlind;
    hand.sequence = sequence;
    if (table.bets) {
        hand.hasBets = true;
        hand.bets = *table.bets;
    }
}

// The shortest text that reads back as exactly this amount.
inline std::string exact(double amount) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, amount).ptr);
}

// The actions as "s1=1 B2=2 c0=2 f1 flop2 ... show2": the SEQ letter of the type (s, B, D dead post, k, b, c,
// r, f, A all-in) or the street's name, the seat, and "=amount" when the amount is not zero.
inline std::string actionsOf(const DecodedHand& hand) {
    static const char* const Names[] = {"s", "B",    "D",    "k",    "b",     "c",    "r",     "f",
                                        "A", "pre?", "flop", "turn", "river", "show", "clamp?"};
    std::string text;
    for (const Action& a : hand.actions) {
        text += (text.empty() ? "" : " ") + std::string(Names[a.type]) + std::to_string(a.seat);
        if (a.amount != 0) text += "=" + exact(a.amount);
    }
    return text;
}

// The pots, largest total first as the map keeps them: "150: 0 2, 30: 0 1 2".
inline std::string potsOf(const PotMap& pots) {
    std::string text;
    for (const auto& [total, pot] : pots) {
        text += (text.empty() ? "" : ", ") + exact(total) + ":";
        for (int i = 0; i < pot.eligibleCount; ++i)
            text += " " + std::to_string(pot.eligible[static_cast<std::size_t>(i)]);
    }
    return text;
}

}  // namespace noxi::testing
