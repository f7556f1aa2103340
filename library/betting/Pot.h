// One pot level of a hand with the seats that may win it.
#pragma once

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

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
//
// A hand has a few pots, so they are kept in a sorted array rather than a tree: it keeps its memory from
// one hand to the next. The members are those of a map ordered by std::greater.
class PotMap {
public:
    using value_type = std::pair<double, Pot>;
    using iterator = std::vector<value_type>::iterator;
    using const_iterator = std::vector<value_type>::const_iterator;

    iterator begin() { return pots_.begin(); }
    iterator end() { return pots_.end(); }
    const_iterator begin() const { return pots_.begin(); }
    const_iterator end() const { return pots_.end(); }
    std::size_t size() const { return pots_.size(); }
    bool empty() const { return pots_.empty(); }
    void clear() { pots_.clear(); }

    // The first pot whose total is not above the key.
    iterator lower_bound(double key) {
        return std::partition_point(begin(), end(), [key](const value_type& pot) { return pot.first > key; });
    }
    const_iterator lower_bound(double key) const {
        return std::partition_point(begin(), end(), [key](const value_type& pot) { return pot.first > key; });
    }

    // Adds the pot under the key unless a pot has that key already; the pot there and whether it was added.
    std::pair<iterator, bool> emplace(double key, const Pot& pot) {
        const auto at = lower_bound(key);
        if (at != pots_.end() && at->first == key) return {at, false};
        return {pots_.insert(at, value_type(key, pot)), true};
    }
    Pot& operator[](double key) { return emplace(key, Pot{}).first->second; }

private:
    std::vector<value_type> pots_;  // largest key first
};

}  // namespace noxi
