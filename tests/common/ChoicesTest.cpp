// The checks of the counts typed for a hand range or a split, with the desktop program's messages.
#include "common/Choices.h"

#include <gtest/gtest.h>

#include <limits>

namespace common {
namespace {

TEST(CountError, BelowTheSmallestCountOnly) {
    const struct {
        Count count;
        std::int64_t refused;  // the largest count refused
        const char* message;
    } cases[] = {
        {Count::FirstHands, 0, "\"The first <blank> hands\" must be greater than 0."},
        {Count::LastHands, 0, "\"The last <blank> hands\" must be greater than 0."},
        {Count::SplitFiles, 1, "\"Split the hands between <blank> files\" must be greater than 1."},
        {Count::HandsPerFile, 0, "\"Save <blank> hands per file\" must be greater than 0."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_STREQ(countError(c.count, c.refused), c.message);
        EXPECT_STREQ(countError(c.count, std::numeric_limits<std::int64_t>::min()), c.message);
        EXPECT_EQ(countError(c.count, c.refused + 1), nullptr);
        EXPECT_EQ(countRule(c.count).smallest, c.refused + 1);
    }
}

}  // namespace
}  // namespace common
