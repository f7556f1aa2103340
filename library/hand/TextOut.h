// Appending the pieces of hand-history text to an output buffer: amounts, integers, line ends.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace noxi {

// Hand-history files end every line with CR LF on every platform.
inline constexpr std::string_view LineEnd = "\r\n";

// The most characters writeAmount writes: a double in fixed notation with two decimals (up to 309 integer
// digits and a sign).
inline constexpr std::size_t MaxAmountSize = 400;

// Amounts below 10000 in magnitude are written as %g writes them (six significant digits, no trailing
// zeros: 12.5, 100, 3.33333). From 10000 up they are written in plain decimal notation rounded to the cent,
// without trailing zeros or a trailing point (12345.67, 1000000), since six digits would lose cents or turn
// into exponent notation, which no reader of the histories accepts. Writes at most MaxAmountSize characters
// at `to` and returns the end of the text.
char* writeAmount(char* to, double amount);
// The same text through the standard conversions alone, without the shortcut for whole cents.
char* writeAmountInGeneral(char* to, double amount);
// Whole cents as currency units with up to two decimals, trailing zeros and point left out (1250 is
// "12.5", 1205 "12.05", 10000 "100"), a minus sign before negative ones. At most 21 characters.
char* writeCents(char* to, std::int64_t cents);
// Stakes as a reader's table of stakes names them: whole units as they are, others with two decimals (10 is
// "0.10", 50 "0.50", 200 "2"). At most 23 characters.
char* writeStake(char* to, std::int64_t cents);

// Text put at a cursor into room made ahead; each returns the cursor after what it put. A literal is copied
// by its known length, which the compiler turns into a few moves.
template <std::size_t N>
inline char* putAt(char* to, const char (&text)[N]) {
    std::memcpy(to, text, N - 1);
    return to + N - 1;
}
// The view must have data, even when empty: memcpy may not be given a null pointer (take "" for nothing).
inline char* putAt(char* to, std::string_view text) {
    std::memcpy(to, text.data(), text.size());
    return to + text.size();
}

inline void appendInt(std::string& out, std::int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, static_cast<std::size_t>(result.ptr - digits));
}

// Appends to a string through a cursor into room made ahead, so that each piece of a history costs a bounds
// check and a copy rather than a call into the string. The room is made in steps of two kilobytes at least;
// the string is cut back to the text written when the sink goes (or at finish). A whole line is put with
// reserve, putAt and advance: one bounds check for the line.
class TextSink {
public:
    explicit TextSink(std::string& out) : out_(out), at_(out.data() + out.size()), end_(at_) {}
    ~TextSink() { finish(); }
    TextSink(const TextSink&) = delete;
    TextSink& operator=(const TextSink&) = delete;

    // Cuts the string back to what was written; writing may go on after it.
    void finish() {
        out_.resize(static_cast<std::size_t>(at_ - out_.data()));
        end_ = at_;
    }

    // Room for up to n characters at the returned cursor; advance takes the end of what was written there.
    char* reserve(std::size_t n) {
        room(n);
        return at_;
    }
    void advance(char* end) { at_ = end; }

    void put(std::string_view text) {
        room(text.size());
        std::memcpy(at_, text.data(), text.size());
        at_ += text.size();
    }
    void putAmount(double amount) {
        room(MaxAmountSize);
        at_ = writeAmount(at_, amount);
    }

private:
    // Makes sure n more characters may be written at the cursor.
    void room(std::size_t n) {
        if (static_cast<std::size_t>(end_ - at_) < n) [[unlikely]] {
            const Room more = grow(out_, at_, n);
            at_ = more.at;
            end_ = more.end;
        }
    }
    // The string enlarged for n more characters after `at`, and the cursor and room end in it.
    struct Room {
        char* at;
        char* end;
    };
    static Room grow(std::string& out, char* at, std::size_t n);

    std::string& out_;
    char* at_;   // the cursor: the string holds text up to here
    char* end_;  // the end of the room made, which is the end of the string
};

}  // namespace noxi
