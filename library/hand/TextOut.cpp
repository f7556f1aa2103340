#include "hand/TextOut.h"

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

void appendCents(std::string& out, std::int64_t cents) {
    char text[32];
    char* end = text;
    if (cents < 0) {
        *end++ = '-';
        cents = -cents;
    }
    end = std::to_chars(end, text + sizeof text, cents / 100).ptr;
    const int fraction = static_cast<int>(cents % 100);
    if (fraction != 0) {
        *end++ = '.';
        *end++ = static_cast<char>('0' + fraction / 10);
        if (fraction % 10 != 0) *end++ = static_cast<char>('0' + fraction % 10);
    }
    out.append(text, static_cast<std::size_t>(end - text));
}

}  // namespace

void appendAmount(std::string& out, double amount) {
    // Amounts are whole cents, or shares of them; what is left of a subtraction that should give nothing
    // (a pot less its part of the rake) is rounding dust, which would show as "2.63678e-16".
    if (std::fabs(amount) < 1e-9) amount = 0;
    const bool small = !(std::fabs(amount) >= 10000) || !std::isfinite(amount);
    std::int64_t cents = 0;
    // Below 10000 an amount of whole cents has at most six significant digits, so %g shows it exactly.
    if (exactCents(amount, cents) && cents != 0 && (!small || (cents > -1000000 && cents < 1000000))) {
        appendCents(out, cents);
        return;
    }
    // Enough for any double in fixed notation with two decimals (up to 309 integer digits).
    char text[400];
    if (small) {
        const auto result = std::to_chars(text, text + sizeof text, amount, std::chars_format::general, 6);
        out.append(text, static_cast<std::size_t>(result.ptr - text));
        return;
    }
    const auto result = std::to_chars(text, text + sizeof text, amount, std::chars_format::fixed, 2);
    const char* end = result.ptr;
    while (end[-1] == '0')
        --end;  // the text has a point, so this stops there at the latest
    if (end[-1] == '.') --end;
    out.append(text, static_cast<std::size_t>(end - text));
}

}  // namespace noxi
