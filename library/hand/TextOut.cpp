#include "hand/TextOut.h"

#include <algorithm>
#include <cmath>

namespace noxi {
namespace {

// Whole cents, when the amount is exactly the double nearest to a number of cents (as every amount read from
// the log is, and most sums of them). Such an amount prints as that number of cents in both notations below,
// which saves the general conversion.
bool exactCents(double amount, std::int64_t& cents) {
    const double scaled = amount * 100;
    if (!(std::fabs(scaled) < 9007199254740992.0)) return false;  // 2^53: cents still exact
    // Rounded half away from zero; should this be off by one, the check below sends the amount the slow way.
    cents = static_cast<std::int64_t>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
    return static_cast<double>(cents) / 100 == amount;
}

// Cents below 2^53 in magnitude as units with up to two decimals, trailing zeros and point left out.
char* writeCents(char* to, std::int64_t cents) {
    if (cents < 0) {
        *to++ = '-';
        cents = -cents;
    }
    const auto whole = static_cast<std::uint64_t>(cents) / 100;
    const auto fraction = static_cast<unsigned>(static_cast<std::uint64_t>(cents) % 100);
    to = std::to_chars(to, to + 20, whole).ptr;
    if (fraction != 0) {
        *to++ = '.';
        *to++ = static_cast<char>('0' + fraction / 10);
        if (fraction % 10 != 0) *to++ = static_cast<char>('0' + fraction % 10);
    }
    return to;
}

}  // namespace

char* writeAmount(char* to, double amount) {
    // Amounts are whole cents, or shares of them; what is left of a subtraction that should give nothing
    // (a pot less its part of the rake) is rounding dust, which would show as "2.63678e-16".
    if (std::fabs(amount) < 1e-9) {
        *to = '0';
        return to + 1;
    }
    const bool small = !(std::fabs(amount) >= 10000) || !std::isfinite(amount);
    std::int64_t cents = 0;
    // Below 10000 an amount of whole cents has at most six significant digits, so %g shows it exactly.
    if (exactCents(amount, cents) && (!small || (cents > -1000000 && cents < 1000000)))
        return writeCents(to, cents);
    if (small) return std::to_chars(to, to + MaxAmountSize, amount, std::chars_format::general, 6).ptr;
    char* end = std::to_chars(to, to + MaxAmountSize, amount, std::chars_format::fixed, 2).ptr;
    while (end[-1] == '0')
        --end;  // the text has a point, so this stops there at the latest
    if (end[-1] == '.') --end;
    return end;
}

TextSink::Room TextSink::grow(std::string& out, char* at, std::size_t n) {
    // A kilobyte at least: most histories need one or two steps.
    constexpr std::size_t MinGrowth = 1024;
    const auto length = static_cast<std::size_t>(at - out.data());
    out.resize(length + std::max(n, MinGrowth));
    return {out.data() + length, out.data() + out.size()};
}

void appendAmount(std::string& out, double amount) {
    char text[MaxAmountSize];
    out.append(text, static_cast<std::size_t>(writeAmount(text, amount) - text));
}

}  // namespace noxi
