// The writer's pieces that golden files show only by example: the date line under different zones and
// moments the platform cannot convert.
#include "writer/HistoryWriter.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace noxi::test {
namespace {

TEST(StartTime, ShownFiveHoursBehindUtcPlusDaylightSaving) {
    {
        TimeZone zone(HistoryZone);
        refreshTimeZone();
        // 2007-01-15 19:30 UTC in winter and 2007-07-04 19:00 UTC in summer, prepared as the parser does.
        EXPECT_EQ(formatStartTime(1168889400 + localStandardOffsetMinutes() * 60 - 18000),
                  "Monday, January 15, 14:30:00 EDT 2007");
        EXPECT_EQ(formatStartTime(1183575600 + localStandardOffsetMinutes() * 60 - 18000),
                  "Wednesday, July 04, 15:00:00 EDT 2007");
    }
    {
        TimeZone zone("UTC");
        EXPECT_EQ(formatStartTime(1168889400 - 18000), "Monday, January 15, 14:30:00 EDT 2007");
        EXPECT_EQ(formatStartTime(1183575600 - 18000), "Wednesday, July 04, 14:00:00 EDT 2007");
    }
}

TEST(StartTime, MomentsBeyondTheLocalTimeConversion) {
    TimeZone zone("UTC");
    // A year beyond what the platform converts is still shown as a date rather than garbage.
    const std::string far = formatStartTime(999999999999999LL);
    EXPECT_FALSE(far.empty());
    EXPECT_NE(far.find(" EDT "), std::string::npos);
    EXPECT_EQ(formatStartTime(-18000), "Wednesday, December 31, 19:00:00 EDT 1969");
}

}  // namespace
}  // namespace noxi::test
