#include "hand/TextOut.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace noxi {
namespace {

// The two digits of every number below 100: "00", "01", ... "99".
constexpr std::array<char, 200> DigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

inline char* putPair(char* to, unsigned value) {
    std::memcpy(to, &DigitPairs[2 * value], 2);
    return to + 2;
}

// Below 2^45 in magnitude doubles lie at most 2^-8 apart, so the double nearest to a number of cents is less
// than half a cent from it. Further up it may be half a cent away or more, and the rounding decides.
constexpr double CentsLimit = 35184372088832.0 * 100;

// Whole cents, when the amount is exactly the double nearest to a number of cents (as every amount read from
// the log is, and most sums of them). Such an amount is less than half a cent from that number of cents, so
// it prints as that number in both notations below, which saves the general conversion.
bool exactCents(double amount, std::int64_t& cents) {
    const double scaled = amount * 100;
    if (!(std::fabs(scaled) < CentsLimit)) return false;
    // Rounded half away from zero; should this be off by one, the check below sends the amount the slow way.
    cents = static_cast<std::int64_t>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
    return static_cast<double>(cents) / 100 == amount;
}

// Cents below CentsLimit in magnitude as units with up to two decimals, trailing zeros and point left out.
char* writeCents(char* to, std::int64_t cents) {
    if (cents < 0) {
        *to++ = '-';
        cents = -cents;
    }
    const auto whole = static_cast<std::uint64_t>(cents) / 100;
    const auto fraction = static_cast<unsigned>(static_cast<std::uint64_t>(cents) - whole * 100);
    // Most amounts have up to four whole digits: those are put by pairs, without the general conversion.
    if (whole < 10) {
        *to++ = static_cast<char>('0' + whole);
    } else if (whole < 100) {
        to = putPair(to, static_cast<unsigned>(whole));
    } else if (whole < 10000) {
        const auto high = static_cast<unsigned>(whole) / 100;
        if (high < 10) {
            *to++ = static_cast<char>('0' + high);
        } else {
            to = putPair(to, high);
        }
        to = putPair(to, static_cast<unsigned>(whole) - high * 100);
    } else {
        to = std::to_chars(to, to + 20, whole).ptr;
    }
    if (fraction != 0) {
        *to = '.';
        putPair(to + 1, fraction);
        to += to[2] == '0' ? 2 : 3;  // a tenth without its trailing zero
    }
    return to;
}

}  // namespace

char* writeAmount(char* to, double amount) {
    // Below 10000 an amount of whole cents has at most six significant digits, so %g shows it exactly; from
    // 10000 up the fixed notation rounded to the cent shows that number of cents.
    std::int64_t cents = 0;
    if (exactCents(amount, cents)) return writeCents(to, cents);
    return writeAmountInGeneral(to, amount);
}

char* writeAmountInGeneral(char* to, double amount) {
    // Amounts are whole cents, or shares of them; what is left of a subtraction that should give nothing
    // (a pot less its part of the rake) is rounding dust, which would show as "2.63678e-16".
    if (std::fabs(amount) < 1e-9) {
        *to = '0';
        return to + 1;
    }
    if (!(std::fabs(amount) >= 10000) || !std::isfinite(amount))
        return std::to_chars(to, to + MaxAmountSize, amount, std::chars_format::general, 6).ptr;
    char* end = std::to_chars(to, to + MaxAmountSize, amount, std::chars_format::fixed, 2).ptr;
    while (end[-1] == '0')
        --end;  // the text has a point, so this stops there at the latest
    if (end[-1] == '.') --end;
    return end;
}

TextSink::Room TextSink::grow(std::string& out, char* at, std::size_t n) {
    // Two kilobytes at least: most histories fit, so a hand takes one step. The string fills the room it
    // adds with zeros, which costs more the larger the step.
    constexpr std::size_t MinGrowth = 2048;
    const auto length = static_cast<std::size_t>(at - out.data());
    out.resize(length + std::max(n, MinGrowth));
    return {out.data() + length, out.data() + out.size()};
}

void appendAmount(std::string& out, double amount) {
    char text[MaxAmountSize];
    out.append(text, static_cast<std::size_t>(writeAmount(text, amount) - text));
}

}  // namespace noxi
