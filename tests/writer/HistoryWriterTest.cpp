// The writer's pieces that golden files show only by example: the date line under different zones and
// moments the platform cannot convert, the 6-max mark, where dead posts go.
#include "writer/HistoryWriter.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "support/Histories.h"
#include "support/TestSupport.h"

namespace noxi::test {
namespace {

// The golden histories show the date under the histories' own zone; without daylight saving time in the
// local zone, summer is shown as it is in winter.
TEST(StartTime, ShownFiveHoursBehindUtcWithTheLocalDaylightSaving) {
    TimeZone zone("UTC");
    EXPECT_EQ(formatStartTime(1168889400 - 18000), "Monday, January 15, 14:30:00 EDT 2007");
    EXPECT_EQ(formatStartTime(1183575600 - 18000), "Wednesday, July 04, 14:00:00 EDT 2007");
}

// The platform's own reading of a moment, in the form the histories show.
std::string platformDate(std::int64_t seconds) {
    const auto moment = static_cast<std::time_t>(seconds);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &moment);
#else
    localtime_r(&moment, &local);
#endif
    char text[64];
    std::strftime(text, sizeof text, "%A, %B %d, %H:%M:%S EDT %Y", &local);
    return text;
}

// Dates are worked out an hour at a time: every moment around a change of the zone must read as the platform
// reads it, and a zone read again must not keep the hours worked out under the one before.
TEST(StartTime, HoursAroundZoneChangesReadAsThePlatformReadsThem) {
    const struct {
        const char* zone;
        std::int64_t change;
    } cases[] = {
        {HistoryZone, 1257055200},  // 2009-11-01 06:00 UTC: back to standard time
        {HistoryZone, 1268550000},  // 2010-03-14 07:00 UTC: daylight saving time
        {"UTC", 1268550000},        // the same hours again under another zone
#ifndef _WIN32
        {"Australia/Lord_Howe", 1223134200},  // 2008-10-04 15:30 UTC: half an hour ahead, in mid-hour
        {"right/UTC", 1230768023},            // the leap second 2008-12-31 23:59:60
#endif
    };
    for (const auto& c : cases) {
        TimeZone zone(c.zone);
        for (std::int64_t t = c.change - 7200; t <= c.change + 7200; t += 97)
            EXPECT_EQ(formatStartTime(t), platformDate(t)) << c.zone << " " << t;
        for (std::int64_t t = c.change - 2; t <= c.change + 2; ++t)
            EXPECT_EQ(formatStartTime(t), platformDate(t)) << c.zone << " " << t;
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

// "(6 max) " marks a hand of at most six players (NP), however many seats are taken.
TEST(HistoryWriter, SixMaxUpToSixPlayers) {
    ConversionOptions options;
    options.make6Max = true;
    options.realMoney = true;
    for (const auto& [players, table] : std::vector<std::pair<int, std::string>>{
             {2, "Table T (6 max) (Real Money)\n"},
             {6, "Table T (6 max) (Real Money)\n"},
             {7, "Table T (Real Money)\n"},
         }) {
        SCOPED_TRACE(players);
        const std::string line =
            "ID=1;TABLE=T;BTN=0;SB=1;BB=2;PN0=a;PB0=9;PN1=b;PB1=9;SEQ=sBf;NP=" + std::to_string(players) +
            ";";
        EXPECT_NE(historyOf(line, options).find("\n" + table), std::string::npos);
    }
    options.make6Max = false;
    EXPECT_NE(historyOf("ID=1;TABLE=T;BTN=0;SB=1;BB=2;PN0=a;PB0=9;PN1=b;PB1=9;SEQ=sBf;NP=2;", options)
                  .find("\nTable T (Real Money)\n"),
              std::string::npos);
}

// A dead and live post is shown after every blind post, lower seats first, before the down cards; a dead
// post alone has no line, and a player who folds it loses it from the stack shown.
TEST(HistoryWriter, WhereDeadPostsGo) {
    const std::string seats =
        "ID=1;TABLE=T;BTN=0;NP=5;SB=1;BB=2;PN0=a;PB0=50;PN1=b;PB1=50;PN2=c;PB2=50;"
        "PN3=d;PB3=50;PN4=e;PB4=50;";
    const ConversionOptions options;
    const std::string both = historyOf(seats + "SEQ=sBD4P4D3P3kkcfffk;", options);
    EXPECT_NE(both.find("b posts small blind [1].\nc posts big blind [2].\nd posts big blind + dead [3].\n"
                        "e posts big blind + dead [3].\n** Dealing down cards **\nd checks.\n"),
              std::string::npos)
        << both;
    const std::string alone = historyOf(seats + "SEQ=sBD3fffck;", options);
    EXPECT_NE(alone.find("Seat 4: d ( $49 )\n"), std::string::npos) << alone;
    EXPECT_NE(alone.find("c posts big blind [2].\n** Dealing down cards **\nd folds.\n"), std::string::npos)
        << alone;
}

}  // namespace
}  // namespace noxi::test
