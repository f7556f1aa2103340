// Money is a double of currency units; amounts read from the log are rounded to whole cents once.
#pragma once

#include <cstdint>
#include <optional>

namespace noxi {

// Rounds to whole cents: (value x 100 + 0.5) truncated toward zero in a signed 64-bit integer, then / 100.
// Empty when the value is not finite or its cents do not fit 64 bits.
std::optional<double> roundToCents(double value);

// The whole cents of an amount by the same rule, (value x 100 + 0.5) truncated toward zero, held at the ends
// of the 64-bit range beyond them (0 for a value that is not a number). Sums and differences of amounts
// read from the log carry binary dust; in whole cents they are what the log meant.
std::int64_t centsOf(double value);

// The whole cents of an amount as tracker-safe output shows it: none negative, and none beyond 2^53 cents
// (about 90 trillion units), so that a double holds every amount exactly and sums of them stay far inside
// 64 bits.
std::int64_t shownCents(double value);

}  // namespace noxi
