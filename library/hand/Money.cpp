#include "hand/Money.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace noxi {
namespace {

// 2^63 is exact in a double; the valid range of the truncated value is [-2^63, 2^63).
constexpr double Limit = 9223372036854775808.0;

}  // namespace

std::optional<double> roundToCents(double value) {
    const double cents = value * 100 + 0.5;
    if (!std::isfinite(cents) || std::trunc(cents) >= Limit || std::trunc(cents) < -Limit)
        return std::nullopt;
    return static_cast<double>(static_cast<std::int64_t>(cents)) / 100;
}

std::int64_t shownCents(double value) {
    constexpr std::int64_t Most = std::int64_t{1} << 53;
    return std::clamp<std::int64_t>(centsOf(value), 0, Most);
}

}  // namespace noxi
