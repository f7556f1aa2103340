// Locale-independent number conversions for log values. They read a bounded text (no terminator needed)
// and give the results the C library's strtoll / strtod give in the "C" locale.
#pragma once

#include <cstddef>
#include <cstdint>

namespace noxi {

// strtoll on text that passed isInteger: digits with an optional leading '-'. A lone "-" gives 0; values
// beyond the 64-bit range saturate as strtoll does.
std::int64_t integerValue(const char* text, std::size_t length);

// strtod on any text: leading blanks are skipped, the longest prefix that forms a number is converted
// (decimal or hexadecimal, with exponent, inf or nan), and text that does not start with a number gives 0.
double leadingDouble(const char* text, std::size_t length);

}  // namespace noxi
