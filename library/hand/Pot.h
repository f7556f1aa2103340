// One pot level of a hand with the seats that may win it.
#pragma once

#include <array>
#include <functional>
#include <map>

namespace noxi {

struct Pot {
    // Cumulative size of the pot structure up to this level; also the pot's key in the record's map.
    double total = 0;
    // Seats that may win this pot, in increasing seat order; the first eligibleCount entries are used.
    std::array<int, 10> eligible{};
    int eligibleCount = 0;
};

// Pots by total, largest first. The order of the additions that form a total is part of the behaviour (it
// decides the last bits of every amount); the pot builder takes totals less than half a cent apart as one.
// A pot's own amount is its total less the next smaller total.
using PotMap = std::map<double, Pot, std::greater<double>>;

}  // namespace noxi
