#include "hand/Numbers.h"

#include <charconv>
#include <limits>

namespace noxi {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// For a decimal number text that from_chars found out of range: true when it is too large (strtod gives
// HUGE_VAL), false when it is too small (strtod gives 0). Decided by the decimal exponent of its first
// significant digit.
bool overflows(const char* p, const char* end) {
    long long exponent = 0;
    bool seenPoint = false;
    bool seenDigit = false;
    for (; p != end && *p != 'e' && *p != 'E'; ++p) {
        if (*p == '.') {
            seenPoint = true;
        } else if (!seenDigit && *p == '0') {
            if (seenPoint) --exponent;
        } else if (!seenDigit) {
            seenDigit = true;
            if (seenPoint) --exponent;
        } else if (!seenPoint) {
            ++exponent;
        }
    }
    if (p != end) {
        ++p;
        const bool negative = p != end && *p == '-';
        if (p != end && (*p == '-' || *p == '+')) ++p;
        long long e = 0;
        for (; p != end && *p >= '0' && *p <= '9'; ++p)
            e = e < 100000000 ? e * 10 + (*p - '0') : e;
        exponent += negative ? -e : e;
    }
    return exponent > 0;
}

}  // namespace

std::int64_t integerValue(const char* text, std::size_t length) {
    const char* end = text + length;
    const bool negative = length > 0 && text[0] == '-';
    const char* digits = negative ? text + 1 : text;
    if (digits == end) return 0;
    // Up to 18 digits cannot leave the range: the common case needs no checks.
    if (end - digits <= 18) {
        std::int64_t value = 0;
        for (const char* p = digits; p != end; ++p)
            value = value * 10 + (*p - '0');
        return negative ? -value : value;
    }
    std::uint64_t magnitude = 0;
    auto [ptr, ec] = std::from_chars(digits, end, magnitude);
    (void)ptr;
    constexpr std::uint64_t MaxPositive = std::numeric_limits<std::int64_t>::max();
    if (ec == std::errc::result_out_of_range || magnitude > MaxPositive + (negative ? 1 : 0)) {
        return negative ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
    }
    if (negative)
        return magnitude == MaxPositive + 1 ? std::numeric_limits<std::int64_t>::min()
                                            : -static_cast<std::int64_t>(magnitude);
    return static_cast<std::int64_t>(magnitude);
}

double leadingDouble(const char* text, std::size_t length) {
    const char* p = text;
    const char* end = text + length;
    while (p != end && isBlank(*p))
        ++p;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    double value = 0;
    // strtod reads "0x" followed by hexadecimal digits as a hexadecimal number; without such digits it
    // reads just the "0".
    if (end - p >= 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        const char* h = p + 2;
        const bool hasDigit =
            (h != end && isHexDigit(*h)) || (end - h >= 2 && h[0] == '.' && isHexDigit(h[1]));
        if (hasDigit) {
            std::from_chars(h, end, value, std::chars_format::hex);
            return negative ? -value : value;
        }
        return negative ? -0.0 : 0.0;
    }
    // A second sign is not part of a number: strtod gives 0 for "-+5".
    if (p != end && (*p == '+' || *p == '-')) return 0;
    auto [ptr, ec] = std::from_chars(p, end, value);
    if (ec == std::errc::invalid_argument) return 0;
    if (ec == std::errc::result_out_of_range) {
        value = overflows(p, ptr) ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

}  // namespace noxi
