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

}  // namespace

char* writeCents(char* to, std::int64_t cents) {
    // In unsigned arithmetic, so that the most negative value has its magnitude too.
    auto magnitude = static_cast<std::uint64_t>(cents);
    if (cents < 0) {
        *to++ = '-';
        magnitude = 0 - magnitude;
    }
    const std::uint64_t whole = magnitude / 100;
    const auto fraction = static_cast<unsigned>(magnitude - whole * 100);
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

char* writeStake(char* to, std::int64_t cents) {
    const std::int64_t magnitude = cents < 0 ? -(cents / 100) : cents / 100;
    if (cents < 0) *to++ = '-';
    to = std::to_chars(to, to + 20, magnitude).ptr;
    const auto fraction = static_cast<unsigned>(cents < 0 ? -(cents % 100) : cents % 100);
    if (fraction == 0) return to;
    *to = '.';
    return putPair(to + 1, fraction);
}

namespace {

// Six significant digits as %g writes them, for amounts from 1e-4 up to below 1e4, through one scaling by a
// power of ten into [1e5, 1e6). Below 2^20 the scaled value is within 2^-33 of the exact product, so away
// from a half its rounding to an integer is the rounding of the exact value. Null near a half (a tie or too
// close to tell) and where the rounding reaches the next power of ten: the general conversion takes those.
char* writeSixDigits(char* to, double amount) {
    const double magnitude = std::fabs(amount);
    if (!(magnitude >= 1e-4 && magnitude < 1e4)) return nullptr;
    static constexpr double Decades[] = {1e-4, 1e-3, 1e-2, 1e-1, 1, 10, 100, 1000};
    static constexpr double Scales[] = {1e9, 1e8, 1e7, 1e6, 1e5, 1e4, 1e3, 1e2};
    int decade = 7;  // the power of ten at or below the amount, less four
    while (decade > 0 && magnitude < Decades[decade])
        --decade;
    const double scaled = magnitude * Scales[decade];
    const auto whole = static_cast<unsigned>(scaled);
    const double fraction = scaled - whole;  // exact: the bits of scaled below the point
    if (std::fabs(fraction - 0.5) < 1e-6) return nullptr;
    const unsigned digits = fraction < 0.5 ? whole : whole + 1;
    if (digits < 100000 || digits > 999999) return nullptr;

    char text[6];
    putPair(text, digits / 10000);
    putPair(text + 2, digits / 100 % 100);
    putPair(text + 4, digits % 100);
    int kept = 6;  // the significant digits without trailing zeros; the first is never zero
    while (text[kept - 1] == '0')
        --kept;

    if (amount < 0) *to++ = '-';
    const int wholeDigits = decade - 3;  // before the point; none below 1
    if (wholeDigits > 0) {
        to = putAt(to, std::string_view(text, static_cast<std::size_t>(wholeDigits)));
        if (kept <= wholeDigits) return to;
        *to++ = '.';
        return putAt(to, std::string_view(text + wholeDigits, static_cast<std::size_t>(kept - wholeDigits)));
    }
    to = putAt(to, "0.");
    for (int zero = wholeDigits; zero < 0; ++zero)
        *to++ = '0';
    return putAt(to, std::string_view(text, static_cast<std::size_t>(kept)));
}

}  // namespace

char* writeAmount(char* to, double amount) {
    // Below 10000 an amount of whole cents has at most six significant digits, so %g shows it exactly; from
    // 10000 up the fixed notation rounded to the cent shows that number of cents.
    std::int64_t cents = 0;
    if (exactCents(amount, cents)) return writeCents(to, cents);
    // Shares of a pot less its part of the rake, which may split a cent.
    if (char* end = writeSixDigits(to, amount)) return end;
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

}  // namespace noxi
