// The counts a user gives for a hand range or a file split, and the rule each must keep: the same check and
// message in the desktop program and in vlconvert.
#pragma once

#include <cstdint>

namespace common {

enum class Count { FirstHands, LastHands, SplitFiles, HandsPerFile };

struct CountRule {
    std::int64_t smallest;  // the smallest count accepted
    const char* tooSmall;   // the message for a smaller one
};

// The rule of a count: "The first" and "The last" hands and the hands per file from 1, the number of files
// from 2.
const CountRule& countRule(Count count);

// The message when value is below the count's smallest, else null.
const char* countError(Count count, std::int64_t value);

}  // namespace common
