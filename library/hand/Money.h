// Money is a double of currency units; amounts read from the log are rounded to whole cents once.
#pragma once

#include <optional>

namespace noxi {

// Rounds to whole cents: (value x 100 + 0.5) truncated toward zero in a signed 64-bit integer, then / 100.
// Empty when the value is not finite or its cents do not fit 64 bits.
std::optional<double> roundToCents(double value);

}  // namespace noxi
