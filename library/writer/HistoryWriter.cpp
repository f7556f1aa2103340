#include "writer/HistoryWriter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <ctime>
#include <limits>
#include <string_view>

#include "hand/ChunkParser.h"
#include "hand/Money.h"
#include "hand/TextOut.h"
#include "platform/Platform.h"

namespace noxi {
namespace {

bool isBlindPost(int type) {
    return type == PostSmallBlind || type == PostBigBlind || type == PostBigBlindDead;
}

// An amount as tracker-safe output shows it: in whole cents, none negative.
double inWholeCents(double amount) {
    return static_cast<double>(shownCents(amount)) / 100;
}

// A stake of the game line: as any amount, or in tracker-safe output as a reader's table of stakes names it.
inline char* putStake(char* to, double amount, bool trackerSafe) {
    return trackerSafe ? writeStake(to, shownCents(amount)) : writeAmount(to, amount);
}

bool knownCards(const HandRecord& hand, int seat) {
    return hand.holeCards[seat][0].isKnown() && hand.holeCards[seat][1].isKnown();
}

// A seat number, 1 to 10.
inline char* putTwoDigitsOrOne(char* to, int value) {
    if (value < 10) {
        *to = static_cast<char>('0' + value);
        return to + 1;
    }
    to[0] = static_cast<char>('0' + value / 10);
    to[1] = static_cast<char>('0' + value % 10);
    return to + 2;
}

void putDealtCards(TextSink& out, const HandRecord& hand,
                   const std::array<std::string_view, SeatCount>& names, int seat) {
    char* at = out.reserve(names[seat].size() + 32);
    at = putAt(at, "Dealt to ");
    at = putAt(at, names[seat]);
    at = putAt(at, " [  ");
    at = putCard(at, hand.holeCards[seat][0]);
    *at++ = ' ';
    at = putCard(at, hand.holeCards[seat][1]);
    out.advance(putAt(at, " ]\r\n"));
}

// name, wording, "$" with real money, the amount and "].": the wording ends with the "$" that dollar (1 or 0)
// keeps or takes back.
template <std::size_t N>
inline char* putAmountLine(char* to, std::string_view name, const char (&wording)[N], int dollar,
                           double amount) {
    to = putAt(to, name);
    to = putAt(to, wording);
    to -= 1 - dollar;
    to = writeAmount(to, amount);
    return putAt(to, "].\r\n");
}

// A calendar date from a count of days since 1970-01-01 (proleptic Gregorian).
void civilFromDays(std::int64_t days, std::int64_t& year, int& month, int& day) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

// Days since 1970-01-01 of a calendar date (proleptic Gregorian); the inverse of civilFromDays.
std::int64_t daysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// Where the platform's local-time conversion gives up (before 1970 on Windows, far-off years), the date is
// shown as the same clock reading without any zone rule.
std::tm fallbackTime(std::int64_t seconds) {
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    // Hands come in time order, hundreds to the day: a day's date is worked out once.
    thread_local std::int64_t dateDays = std::numeric_limits<std::int64_t>::min();
    thread_local std::tm date{};
    if (days != dateDays) {
        date = std::tm{};
        std::int64_t year = 0;
        civilFromDays(days, year, date.tm_mon, date.tm_mday);
        date.tm_mon -= 1;
        // Years are shown modulo 10000 at worst: the formatter takes an int.
        date.tm_year = static_cast<int>(year % 10000) - 1900;
        date.tm_wday = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
        dateDays = days;
    }
    std::tm result = date;
    result.tm_hour = static_cast<int>(rest / 3600);
    result.tm_min = static_cast<int>(rest / 60 % 60);
    result.tm_sec = static_cast<int>(rest % 60);
    return result;
}

// The most characters writeDate writes: weekday and month names, the fields and a year of up to 11 digits.
constexpr std::size_t MaxDateSize = 64;

// The date as strftime writes "%A, %B %d, %H:%M:%S EDT %Y" in the C locale, whatever locale the program
// that loaded the library has set: the histories are read by English-speaking tools.
char* writeDate(char* to, const std::tm& time) {
    static constexpr std::string_view Days[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                "Thursday", "Friday", "Saturday"};
    static constexpr std::string_view Months[] = {"January",   "February", "March",    "April",
                                                  "May",       "June",     "July",     "August",
                                                  "September", "October",  "November", "December"};
    auto copy = [&to](std::string_view text) {
        std::memcpy(to, text.data(), text.size());
        to += text.size();
    };
    auto twoDigits = [&to](int value) {
        *to++ = static_cast<char>('0' + value / 10 % 10);
        *to++ = static_cast<char>('0' + value % 10);
    };
    copy(time.tm_wday >= 0 && time.tm_wday < 7 ? Days[time.tm_wday] : "?");
    copy(", ");
    copy(time.tm_mon >= 0 && time.tm_mon < 12 ? Months[time.tm_mon] : "?");
    *to++ = ' ';
    twoDigits(time.tm_mday);
    copy(", ");
    twoDigits(time.tm_hour);
    *to++ = ':';
    twoDigits(time.tm_min);
    *to++ = ':';
    twoDigits(time.tm_sec);
    copy(" EDT ");
    return std::to_chars(to, to + 12, std::int64_t{time.tm_year} + 1900).ptr;
}

inline void putDate(TextSink& out, const std::tm& time) {
    char* at = out.reserve(MaxDateSize);
    out.advance(writeDate(at, time));
}

// How far the local clock reading is ahead of UTC at a moment the platform converted.
std::int64_t offsetAt(std::int64_t seconds, const std::tm& local) {
    const std::int64_t days =
        daysFromCivil(std::int64_t{local.tm_year} + 1900, local.tm_mon + 1, local.tm_mday);
    return days * 86400 + local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec - seconds;
}

// Hands come in time order, dozens to the hour. An hour of UTC that starts and ends with the same offset
// has no zone change inside (zones change at most once in an hour), so its moments are read off that
// offset, and the platform's conversion runs twice an hour instead of once a hand. Kept per thread, and
// dropped when the zone is read again.
struct HourOffset {
    std::int64_t start = -1;  // the hour's first second; -1 for none yet
    unsigned zoneRefreshes = 0;
    bool steady = false;  // one offset over the whole hour
    std::int64_t offset = 0;
};

// Years 1970 to 9999, where the clock reading alone gives the shown date.
constexpr std::int64_t Hour = 3600;
constexpr std::int64_t Year9999 = 253370764800;  // 9999-01-01 00:00:00 UTC

// The hour's offset, when the whole UTC hour of startTime has one; the platform converts otherwise.
const HourOffset* steadyHour(std::int64_t startTime) {
    if (startTime < 0 || startTime >= Year9999) return nullptr;
    thread_local HourOffset hour;
    const std::int64_t start = startTime - startTime % Hour;
    if (hour.start != start || hour.zoneRefreshes != timeZoneRefreshes()) {
        hour.start = start;
        hour.zoneRefreshes = timeZoneRefreshes();
        hour.steady = false;
        hour.offset = 0;
        std::tm first{};
        std::tm last{};
        if (platform::localTime(start, first) && platform::localTime(start + Hour, last)) {
            hour.offset = offsetAt(start, first);
            hour.steady = offsetAt(start + Hour, last) == hour.offset;
        }
    }
    return hour.steady ? &hour : nullptr;
}

std::tm localTime(std::int64_t startTime) {
    if (const HourOffset* hour = steadyHour(startTime)) return fallbackTime(startTime + hour->offset);
    std::tm local{};
    return platform::localTime(startTime, local) ? local : fallbackTime(startTime);
}

void putDate(TextSink& out, std::int64_t startTime) {
    putDate(out, localTime(startTime));
}

constexpr std::size_t DescriptionSize = 64;

inline char* putDescription(char* to, const HandValue& value, const HandValue* rival) {
    return to + describeHand(value, to, DescriptionSize, rival);
}

inline char* putShownCards(char* to, const std::array<Card, 2>& cards) {
    return putCard(putAt(putCard(to, cards[0]), ", "), cards[1]);
}

// The show lines and then the win lines of the payout.
void putShowdown(TextSink& out, const HandRecord& hand, const HandValues& values, const Payout& payout,
                 bool realMoney, const std::array<std::string_view, SeatCount>& names) {
    for (const ShowLine& line : payout.shows) {
        const std::string_view name = names[static_cast<std::size_t>(line.seat)];
        char* at = out.reserve(name.size() + 32 + DescriptionSize);
        at = putAt(at, name);
        if (line.kind == ShowKind::NoCards) {
            out.advance(putAt(at, " does not show cards.\r\n"));
            continue;
        }
        at = line.kind == ShowKind::Shows ? putAt(at, " shows [ ") : putAt(at, " doesn't show [ ");
        at = putShownCards(at, hand.holeCards[static_cast<std::size_t>(line.seat)]);
        at = putAt(at, " ] ");
        at = putDescription(at, values[static_cast<std::size_t>(line.seat)], nullptr);
        out.advance(putAt(at, "\r\n"));
    }
    for (const WinLine& line : payout.wins) {
        const std::string_view name = names[static_cast<std::size_t>(line.seat)];
        char* at = out.reserve(name.size() + 64 + MaxAmountSize + DescriptionSize);
        at = putAt(at, name);
        if (realMoney) {
            at = putAt(at, " wins $");
            at = writeAmount(at, line.amount);
        } else {
            at = putAt(at, " wins ");
            at = writeAmount(at, line.amount);
            at = putAt(at, " play chips");
        }
        if (line.tail) {
            if (line.pot > 0) {
                at = putAt(at, " from  side pot #");
                at = std::to_chars(at, at + 12, line.pot).ptr;
                at = putAt(at, "  with ");
            } else {
                at = putAt(at, " from  the main pot  with ");
            }
            at = putDescription(at, values[static_cast<std::size_t>(line.seat)],
                                line.rival >= 0 ? &values[static_cast<std::size_t>(line.rival)] : nullptr);
        }
        out.advance(putAt(at, "\r\n"));
    }
}

}  // namespace

std::tm startTimeFields(std::int64_t startTime) {
    return localTime(startTime);
}

std::string formatStartTime(std::int64_t startTime) {
    std::string text;
    TextSink sink(text);
    putDate(sink, startTime);
    sink.finish();
    return text;
}

void writeHistory(const HandRecord& hand, const DecodedHand& decoded, const HandValues& values,
                  const Payout& payout, const HistoryOptions& options, bool firstInFile, std::string& text) {
    TextSink out(text);
    const bool realMoney = options.realMoney;
    const bool safe = options.trackerSafe;
    // Amounts of the seats and actions as shown.
    auto shown = [safe](double amount) { return safe ? inWholeCents(amount) : amount; };
    // "$" goes before amounts with real money: it is put always and kept by moving on one place or none.
    const int dollar = realMoney ? 1 : 0;

    // The heading up to the date, in room made once: three numbers, the fixed texts and the stakes.
    char idText[12];
    const std::string_view id(
        idText,
        static_cast<std::size_t>(std::to_chars(idText, idText + sizeof idText, hand.gameId()).ptr - idText));
    char* at = out.reserve(256 + 2 * MaxAmountSize);
    if (!firstInFile) {
        at = putAt(at, "Game #");
        at = putAt(at, id);
        at = putAt(at, " starts.\r\n");
    }
    at = putAt(at, "\r\n#Game No : ");
    at = putAt(at, id);
    at = putAt(at, " \r\n***** Hand History for Game ");
    at = putAt(at, id);
    at = putAt(at, " *****\r\n");
    *at = '$';
    at += dollar;
    if (hand.hasBets) {
        at = putStake(at, 100 * hand.bigBlind, safe);
        at = putAt(at, " NL");
    } else {
        at = putStake(at, hand.bigBlind, safe);
        at = putAt(at, "/$");
        at -= 1 - dollar;
        at = putStake(at, 2 * hand.bigBlind, safe);
    }
    at = putAt(at, " Hold'em - ");
    out.advance(at);
    putDate(out, hand.startTime);

    const std::string_view table = hand.tableName ? std::string_view(*hand.tableName) : std::string_view("");
    at = out.reserve(table.size() + 128);
    at = putAt(at, "\r\nTable ");
    at = putAt(at, table);
    *at++ = ' ';
    if (options.make6Max && hand.numPlayers <= 6) at = putAt(at, "(6 max) ");
    if (realMoney) at = putAt(at, "(Real Money)");
    at = putAt(at, "\r\nSeat ");
    at = std::to_chars(at, at + 12, hand.button + 1).ptr;
    at = putAt(at, " is the button\r\nTotal number of players : ");
    at = std::to_chars(at, at + 4, hand.numPlayers).ptr;
    at = putAt(at, " \r\n");
    out.advance(at);

    // The seat lines; the names by seat are kept for the action lines, empty for a seat without one.
    std::array<std::string_view, SeatCount> names;
    names.fill("");
    std::size_t longestName = 0;
    for (int seat = 0; seat < SeatCount; ++seat) {
        if (!hand.seatNames[seat]) continue;
        const std::string_view name = *hand.seatNames[seat];
        names[seat] = name;
        longestName = std::max(longestName, name.size());
        at = out.reserve(name.size() + 16 + MaxAmountSize);
        at = putAt(at, "Seat ");
        at = putTwoDigitsOrOne(at, seat + 1);
        at = putAt(at, ": ");
        at = putAt(at, name);
        at = putAt(at, " ( $");
        at = writeAmount(at, shown(decoded.stacks[seat]));
        at = putAt(at, " )\r\n");
        out.advance(at);
    }
    auto nameOf = [&names](int seat) {
        return static_cast<unsigned>(seat) < SeatCount ? names[seat] : std::string_view("");
    };

    // Room for any one action line: a name, the longest wording, "$" and an amount.
    const std::size_t actionRoom = longestName + 32 + MaxAmountSize;
    bool downCardsWritten = false;
    for (const Action& action : decoded.actions) {
        if (!downCardsWritten && !isBlindPost(action.type)) {
            downCardsWritten = true;
            out.put("** Dealing down cards **\r\n");
            const int hero = hand.heroSeat();
            // Tracker-safe output deals only known cards, and the log owner's last.
            auto dealt = [&](int seat) {
                return decoded.isSeated(hand, seat) && (!safe || knownCards(hand, seat));
            };
            if (options.saveAllHole) {
                for (int seat = 0; seat < SeatCount; ++seat) {
                    if (dealt(seat) && !(safe && seat == hero)) putDealtCards(out, hand, names, seat);
                }
                if (safe && dealt(hero)) putDealtCards(out, hand, names, hero);
            } else if (dealt(hero)) {
                putDealtCards(out, hand, names, hero);
            }
        }

        // A seat without a name has no seat line, so tracker-safe output shows no action of it (it has no
        // chips to put in there).
        if (safe && action.type <= AllIn && !hand.seatNames[static_cast<std::size_t>(action.seat)]) continue;
        at = out.reserve(actionRoom);
        switch (action.type) {
            case PostSmallBlind:
                at = putAmountLine(at, nameOf(action.seat), " posts small blind [$", dollar,
                                   shown(action.amount));
                break;
            case PostBigBlind:
                at = putAmountLine(at, nameOf(action.seat), " posts big blind [$", dollar,
                                   shown(action.amount));
                break;
            case PostBigBlindDead:
                at = putAmountLine(at, nameOf(action.seat), " posts big blind + dead [$", dollar,
                                   shown(action.amount));
                break;
            case Bet:
                at = putAmountLine(at, nameOf(action.seat), " bets [$", dollar, shown(action.amount));
                break;
            case Call:
                at = putAmountLine(at, nameOf(action.seat), " calls [$", dollar, shown(action.amount));
                break;
            case Raise:
                at = putAmountLine(at, nameOf(action.seat), " raises [$", dollar, shown(action.amount));
                break;
            case Check:
                at = putAt(at, nameOf(action.seat));
                at = putAt(at, " checks.\r\n");
                break;
            case Fold:
                at = putAt(at, nameOf(action.seat));
                at = putAt(at, " folds.\r\n");
                break;
            case AllIn:
                at = putAt(at, nameOf(action.seat));
                at = putAt(at, " is all-In  [$");
                at -= 1 - dollar;
                at = writeAmount(at, shown(action.amount));
                at = putAt(at, "]\r\n");
                break;
            case DealFlop:
                at = putAt(at, "** Dealing Flop ** [ ");
                at = putCard(at, hand.board[0]);
                at = putAt(at, ", ");
                at = putCard(at, hand.board[1]);
                at = putAt(at, ", ");
                at = putCard(at, hand.board[2]);
                at = putAt(at, " ]\r\n");
                break;
            case DealTurn:
                at = putAt(at, "** Dealing Turn ** [ ");
                at = putCard(at, hand.board[3]);
                at = putAt(at, " ]\r\n");
                break;
            case DealRiver:
                at = putAt(at, "** Dealing River ** [ ");
                at = putCard(at, hand.board[4]);
                at = putAt(at, " ]\r\n");
                break;
            case Showdown:
                putShowdown(out, hand, values, payout, realMoney, names);
                continue;
            default:  // the preflop counter value and the clamp value write nothing
                break;
        }
        out.advance(at);
    }
}

}  // namespace noxi
