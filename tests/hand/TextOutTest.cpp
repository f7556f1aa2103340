#include "hand/TextOut.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace noxi {
namespace {

std::string amount(double value) {
    std::string out;
    appendAmount(out, value);
    return out;
}

TEST(Amounts, BelowTenThousandAsPrintfG) {
    const double values[] = {0,        12.5,     100,  50.25, 10.0 / 3,       0.01,      0.1 + 0.2, 9999.99,
                             9999.994, 9999.996, -3.5, 1e-5,  0.000123456789, 1234.5678, -9999.999};
    for (double value : values) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%g", value);
        EXPECT_EQ(amount(value), expected) << value;
    }
    EXPECT_EQ(amount(10.0 / 3), "3.33333");
    EXPECT_EQ(amount(0.01 / 3), "0.00333333");  // a share of a cent stays a share
    // Rounding dust of a subtraction that should give nothing is nothing, not exponent notation.
    EXPECT_EQ(amount(0.05 - 0.1 / 2 + 2.63678e-16), "0");
    EXPECT_EQ(amount(-3.747e-16), "0");
    EXPECT_EQ(amount(-0.0), "0");
    EXPECT_EQ(amount(9999.996), "10000");  // still below 10000, so %g rounds it
}

TEST(Amounts, FromTenThousandInPlainDecimalsToTheCent) {
    struct {
        double value;
        const char* text;
    } cases[] = {{10000, "10000"},       {12345.67, "12345.67"},     {12345.6, "12345.6"},
                 {50000, "50000"},       {1000000, "1000000"},       {1234567.5, "1234567.5"},
                 {19000.55, "19000.55"}, {12345.675, "12345.67"},    {-20000.5, "-20000.5"},
                 {99999.999, "100000"},  {1e15, "1000000000000000"}, {10000.004, "10000"}};
    for (const auto& c : cases)
        EXPECT_EQ(amount(c.value), c.text) << c.value;
}

TEST(Amounts, WriteAmountGivesTheAppendedText) {
    const double values[] = {0, 0.5, 12.34, -7.01, 10.0 / 3, 9999.996, 12345.675, 1e300, -1e300};
    for (double value : values) {
        char text[MaxAmountSize];
        const std::string written(text, writeAmount(text, value));
        EXPECT_EQ(written, amount(value)) << value;
    }
    // The longest text there is still fits.
    char text[MaxAmountSize];
    EXPECT_LE(writeAmount(text, -1.7976931348623157e308) - text, static_cast<std::ptrdiff_t>(MaxAmountSize));
}

// The sink must leave exactly what plain appends leave: text already in the string, pieces that outgrow
// the room made so far, and pieces longer than a growth step.
TEST(TextSink, WritesWhatAppendsWrite) {
    std::string viaSink = "kept ";
    std::string expected = viaSink;
    {
        TextSink sink(viaSink);
        for (int i = 0; i < 300; ++i) {
            sink.put("Seat ");
            expected += "Seat ";
            sink.putInt(i - 150);
            expected += std::to_string(i - 150);
            sink.put(':');
            expected += ':';
            sink.putTwoDigits(i % 60);
            expected += std::string(i % 60 < 10 ? "0" : "") + std::to_string(i % 60);
            sink.putAmount(i * 0.25);
            expected += amount(i * 0.25);
            sink.putLine(" )");
            expected += " )\r\n";
        }
        const std::string longPiece(5000, 'x');
        sink.put(longPiece);
        expected += longPiece;
    }
    EXPECT_EQ(viaSink, expected);
}

TEST(TextSink, FinishCutsBackAndWritingGoesOn) {
    std::string text;
    TextSink sink(text);
    sink.put("ab");
    sink.finish();
    EXPECT_EQ(text, "ab");
    sink.putLine("c");
    sink.finish();
    EXPECT_EQ(text, "abc\r\n");
}

TEST(Integers, Decimal) {
    std::string out;
    appendInt(out, -2147483648LL);
    appendInt(out, 0);
    appendInt(out, 42);
    EXPECT_EQ(out, "-2147483648042");
}

}  // namespace
}  // namespace noxi
