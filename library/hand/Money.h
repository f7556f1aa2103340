// Money is a double of currency units; amounts read from the log are rounded to whole cents once.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace noxi {

// Rounds to whole cents: (value x 100 + 0.5) truncated toward zero in a signed 64-bit integer, then / 100.
// Empty when the value is not finite or its cents do not fit 64 bits.
std::optional<double> roundToCents(double value);

// The whole cents of an amount by the same rule, (value x 100 + 0.5) truncated toward zero, held at the ends
// of the 64-bit range beyond them (0 for a value that is not a number). Sums and differences of amounts
// read from the log carry binary dust; in whole cents they are what the log meant. Inline: the decoder asks
// for it at every post and every letter.
inline std::int64_t centsOf(double value) {
    // 2^63 is exact in a double; the valid range of the truncated value is [-2^63, 2^63).
    constexpr double Limit = 9223372036854775808.0;
    const double cents = std::trunc(value * 100 + 0.5);
    if (std::isnan(cents)) return 0;
    if (cents >= Limit) return std::numeric_limits<std::int64_t>::max();
    if (cents < -Limit) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(cents);
}

// The whole cents of an amount as tracker-safe output shows it: none negative, and none beyond 2^53 cents
// (about 90 trillion units), so that a double holds every amount exactly and sums of them stay far inside
// 64 bits.
std::int64_t shownCents(double value);

}  // namespace noxi
