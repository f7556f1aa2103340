#include "hand/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

namespace noxi {
namespace {

// The conversions must agree with strtoll / strtod in the "C" locale (the test program never changes it).
void expectLikeStrtod(const std::string& text) {
    char* end = nullptr;
    double expected = std::strtod(text.c_str(), &end);
    // Where nothing converts the result is +0; MinGW's strtod gives -0 for a text such as "-.".
    if (end == text.c_str()) expected = 0.0;
    const double actual = leadingDouble(text.data(), text.size());
    if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(actual)) << text;
    } else {
        EXPECT_EQ(actual, expected) << text;
        EXPECT_EQ(std::signbit(actual), std::signbit(expected)) << text;
    }
}

// Random short texts, and rows they hardly reach: white space, under- and overflow, long names and payloads.
TEST(Numbers, LeadingDoubleMatchesStrtod) {
    for (const char* text : {" \t5", "-.", "1e", "0x.8", "-0x1p4", "-Infinity", "nan(12)", "1e400", "-1e400",
                             "1e-400", "-0", "\0015"})
        expectLikeStrtod(text);
    expectLikeStrtod(std::string(400, '9'));
    expectLikeStrtod("0." + std::string(400, '0') + "1e100");
    expectLikeStrtod(std::string(330, '0') + "1");
    expectLikeStrtod("0." + std::string(248, '0') + "1");
    std::mt19937 random(99);
    static const char Alphabet[] = "0123456789.-+eExXpPinfaINFAN( )9";
    for (int round = 0; round < 50000; ++round) {
        std::string text;
        for (auto length = random() % 12; text.size() < length;)
            text += Alphabet[random() % (sizeof(Alphabet) - 1)];
        expectLikeStrtod(text);
    }
    EXPECT_EQ(leadingDouble("12345", 2), 12);  // stops at the given length
}

}  // namespace
}  // namespace noxi
