// The good hands of a log as the driver keeps them: each hand's number and the place of its record, a few
// bytes a hand, so that logs of millions of hands take little memory; and which of them a conversion writes,
// into how many files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "frame/Conversion.h"

namespace noxi {

class HandIndex {
public:
    // 12 bytes: where the record starts in the log is kept in two halves.
    struct Entry {
        std::uint32_t id = 0;
        std::uint32_t offsetHigh = 0;
        std::uint32_t offsetLow = 0;
        std::uint64_t offset() const { return std::uint64_t{offsetHigh} << 32 | offsetLow; }
    };

    void reserve(std::size_t hands) { entries_.reserve(hands); }
    void add(std::uint32_t id, std::uint64_t offset) {
        entries_.push_back(
            {id, static_cast<std::uint32_t>(offset >> 32), static_cast<std::uint32_t>(offset)});
    }
    std::size_t size() const { return entries_.size(); }
    // Whether the hand added last has the number of one of the `within` hands added just before it.
    bool lastRepeats(std::size_t within) const;
    bool empty() const { return entries_.empty(); }
    const Entry& operator[](std::size_t position) const { return entries_[position]; }

    // Puts the hands in ascending number order (numbers compared as unsigned 32-bit); of several records
    // with one number the first in the log stays.
    void order();
    // Lets go of every hand and of the memory.
    void release() { entries_ = {}; }

private:
    std::vector<Entry> entries_;
};

// Which hands a conversion writes and how they are shared between files, as the options ask.
class Selection {
public:
    explicit Selection(const ConversionOptions& options) : options_(options) {}

    // Whether the hand at position (counting every hand in ascending number order from 0), numbered id, is
    // written when the log holds count hands. Only the last hands need the count.
    bool selects(std::size_t position, std::uint32_t id, std::size_t count) const;
    // Whether no hand at this position or later can be selected, whatever its number.
    bool noneFrom(std::size_t position) const;
    // Whether a hand numbered id, at this position or later, may be selected.
    bool mayWrite(std::size_t leastPosition, std::uint32_t id) const {
        return !noneFrom(leastPosition) && (options_.rangeType != RangeBetween || selects(0, id, 0));
    }
    // Hands per file for this many selected hands; 0 puts them all in one file.
    std::uint32_t handsPerFile(std::uint32_t selected) const;

    // Whether the range needs the number of hands, known only once the log is read: the last hands.
    bool selectionNeedsCount() const { return options_.rangeType == RangeLast; }
    // Whether the files need it: the hands shared between a number of files.
    bool filesNeedCount() const { return options_.splitMode == SplitByFileCount && options_.splitValue > 0; }
    // Whether the range is one this selection knows (an unknown range type writes no hand).
    bool knownRange() const { return options_.rangeType <= RangeBetween; }
    // Whether the output is one file at exactly the output path.
    bool singleFile() const { return options_.splitMode == SingleFile; }

private:
    const ConversionOptions& options_;
};

}  // namespace noxi
