#include "frame/HandIndex.h"

#include <algorithm>

namespace noxi {

void HandIndex::order() {
    // Records come in the log's order, so among equal numbers the smaller place is the earlier record.
    const auto before = [](const Entry& a, const Entry& b) {
        return a.id != b.id ? a.id < b.id : a.offset() < b.offset();
    };
    // Logs are mostly in order already, and then the sort is spared.
    if (!std::is_sorted(entries_.begin(), entries_.end(), before))
        std::sort(entries_.begin(), entries_.end(), before);
    entries_.erase(std::unique(entries_.begin(), entries_.end(),
                               [](const Entry& a, const Entry& b) { return a.id == b.id; }),
                   entries_.end());
}

bool HandIndex::lastRepeats(std::size_t within) const {
    if (entries_.empty()) return false;
    const std::uint32_t id = entries_.back().id;
    const std::size_t first = entries_.size() - 1 - std::min(within, entries_.size() - 1);
    for (std::size_t k = entries_.size() - 1; k-- > first;) {
        if (entries_[k].id == id) return true;
    }
    return false;
}

bool Selection::selects(std::size_t position, std::uint32_t id, std::size_t count) const {
    switch (options_.rangeType) {
        case RangeAll:
            return true;
        case RangeFirst:
            return position < options_.rangeFrom;
        case RangeLast:
            return count < options_.rangeFrom || position >= count - options_.rangeFrom;
        case RangeBetween:
            return options_.rangeFrom <= id && id <= options_.rangeTo;
        default:
            return false;
    }
}

bool Selection::noneFrom(std::size_t position) const {
    return !knownRange() || (options_.rangeType == RangeFirst && position >= options_.rangeFrom);
}

std::uint32_t Selection::handsPerFile(std::uint32_t selected) const {
    if (options_.splitMode == SplitByFileCount) {
        if (options_.splitValue == 0) return 0;
        return static_cast<std::uint32_t>(static_cast<double>(selected) / options_.splitValue + 0.5);
    }
    return options_.splitMode == SplitByHandsPerFile ? options_.splitValue : 0;
}

}  // namespace noxi
