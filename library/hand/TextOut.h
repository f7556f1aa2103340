// Appending the pieces of hand-history text to an output buffer: amounts, integers, line ends.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace noxi {

// Hand-history files end every line with CR LF on every platform.
inline constexpr std::string_view LineEnd = "\r\n";

// Amounts below 10000 in magnitude are written as %g writes them (six significant digits, no trailing
// zeros: 12.5, 100, 3.33333). From 10000 up they are written in plain decimal notation rounded to the cent,
// without trailing zeros or a trailing point (12345.67, 1000000), since six digits would lose cents or turn
// into exponent notation, which no reader of the histories accepts.
void appendAmount(std::string& out, double amount);

inline void appendInt(std::string& out, std::int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, static_cast<std::size_t>(result.ptr - digits));
}

}  // namespace noxi
