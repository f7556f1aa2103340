#include "hand/TextOut.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace noxi {
namespace {

std::string amount(double value) {
    char text[MaxAmountSize];
    return std::string(text, writeAmount(text, value));
}

// As printf's %g below 10000 (a share of a cent stays a share), in plain decimals to the cent from there on.
// Rounding dust of a subtraction that should give nothing is nothing, not exponent notation.
TEST(Amounts, Texts) {
    struct {
        double value;
        const char* text;
    } cases[] = {{10.0 / 3, "3.33333"},     {0.1 + 0.2, "0.3"},
                 {0.01 / 3, "0.00333333"},  {1e-5, "1e-05"},
                 {9999.994, "9999.99"},     {9999.996, "10000"},
                 {-9999.999, "-10000"},     {0.05 - 0.1 / 2 + 2.63678e-16, "0"},
                 {-3.747e-16, "0"},         {-0.0, "0"},
                 {12345.6, "12345.6"},      {12345.675, "12345.67"},
                 {-20000.5, "-20000.5"},    {99999.999, "100000"},
                 {1e15, "1000000000000000"}};
    for (const auto& c : cases)
        EXPECT_EQ(amount(c.value), c.text) << c.value;
    // The longest text there is still fits.
    char text[MaxAmountSize];
    EXPECT_LE(writeAmount(text, -1.7976931348623157e308) - text, static_cast<std::ptrdiff_t>(MaxAmountSize));
}

std::string generalAmount(double value) {
    char text[MaxAmountSize];
    return std::string(text, writeAmountInGeneral(text, value));
}

// The shortcut for whole cents must write what the standard conversions write: every cent up to beyond
// the switch to plain decimals at 10000, both signs.
TEST(Amounts, WholeCentsAsTheGeneralConversionWritesThem) {
    for (std::int64_t cents = 0; cents <= 1200000; ++cents) {
        const double value = static_cast<double>(cents) / 100;
        ASSERT_EQ(amount(value), generalAmount(value)) << cents;
        ASSERT_EQ(amount(-value), generalAmount(-value)) << cents;
    }
}

// Sums and shares of amounts, large amounts, and the edges of the shortcut: near 2^45 doubles are 2^-8
// apart, the coarsest spacing at which the double nearest to a number of cents still is less than half a
// cent from it.
TEST(Amounts, AnyDoubleAsTheGeneralConversionWritesIt) {
    std::mt19937_64 random(20240611);
    std::uniform_int_distribution<std::int64_t> cents(-2000000, 2000000);
    std::uniform_real_distribution<double> exponent(-12, 16);
    std::uniform_int_distribution<int> ways(1, 9);
    for (int i = 0; i < 300000; ++i) {
        const double a = static_cast<double>(cents(random)) / 100;
        const double b = static_cast<double>(cents(random)) / 100;
        const double values[] = {a + b, a - b, (a + b) / ways(random), a * 3 - b,
                                 std::pow(10.0, exponent(random)) * (i % 2 ? 1 : -1)};
        for (double value : values)
            ASSERT_EQ(amount(value), generalAmount(value)) << value;
    }
    const double edge = std::ldexp(1.0, 45);
    for (double value :
         {edge, std::nextafter(edge, 0.0), std::nextafter(edge, 1e300), edge + 0.01, edge - 0.01,
          2 * edge + 0.01, 4 * edge + 0.01, 8 * edge - 0.01, 1e15 + 0.015625, 4503599627370495.5})
        EXPECT_EQ(amount(value), generalAmount(value)) << value;
    for (std::int64_t step = 0; step < 200000; ++step) {
        const double value = std::ldexp(1.0, 44) + static_cast<double>(step) / 256;
        ASSERT_EQ(amount(value), generalAmount(value)) << value;
    }
}

// Amounts that are no whole cents take a shortcut to six significant digits too. Around halves of the sixth
// digit, ties among them, and where rounding reaches the next power of ten, it must leave the decision to
// the general conversion; every share of a cent in a range must come out as that conversion writes it.
TEST(Amounts, SharesOfCentsAsTheGeneralConversionWritesThem) {
    for (int i = 1; i <= 500000; ++i) {
        for (double value : {i / 1000.0, i / 3.0, i / 7.0, i * 1e-7, 1e4 - i / 1024.0}) {
            ASSERT_EQ(amount(value), generalAmount(value)) << value;
            ASSERT_EQ(amount(-value), generalAmount(-value)) << value;
        }
    }
    const double edges[] = {1e-4,         1e-3,      0.01,     0.1,           1,        10,       100,
                            1000,         1e4,       9.999995, 99.99995,      999.9995, 9999.995, 0.09999995,
                            0.0009999995, 1.0000005, 2.5e-4,   0.00012345650, 1234.565, 12.34565, 0.1234565};
    for (double edge : edges) {
        double value = edge;
        for (int step = 0; step < 200; ++step)
            value = std::nextafter(value, 0.0);
        for (int step = 0; step < 400; ++step) {
            ASSERT_EQ(amount(value), generalAmount(value)) << value;
            value = std::nextafter(value, 1e300);
        }
    }
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
            sink.putAmount(i * 0.25);
            char* at = sink.reserve(8);
            sink.advance(putAt(at, " )\r\n"));
            expected += "Seat " + amount(i * 0.25) + " )\r\n";
        }
        sink.put(std::string(5000, 'x'));
        expected += std::string(5000, 'x');
    }
    EXPECT_EQ(viaSink, expected);
}

}  // namespace
}  // namespace noxi
