#include "writer/HistoryWriter.h"

#include <cstring>
#include <ctime>

#include "betting/Showdown.h"
#include "hand/TextOut.h"

namespace noxi {
namespace {

bool isBlindPost(int type) {
    return type == PostSmallBlind || type == PostBigBlind || type == PostBigBlindDead;
}

void appendName(std::string& out, const HandRecord& hand, int seat) {
    if (seat >= 0 && seat < SeatCount && hand.seatNames[seat]) out += *hand.seatNames[seat];
}

void appendCard(std::string& out, const Card& card) {
    const char text[2] = {card.rankChar(), card.suitChar()};
    out.append(text, 2);
}

// The end of a line with its line end, handed over in one piece.
template <std::size_t N>
void appendLine(std::string& out, const char (&text)[N]) {
    char line[N - 1 + LineEnd.size()];
    std::memcpy(line, text, N - 1);
    std::memcpy(line + N - 1, LineEnd.data(), LineEnd.size());
    out.append(line, sizeof line);
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

// Where the platform's local-time conversion gives up (before 1970 on Windows, far-off years), the date is
// shown as the same clock reading without any zone rule.
std::tm fallbackTime(std::int64_t seconds) {
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    std::tm result{};
    std::int64_t year = 0;
    civilFromDays(days, year, result.tm_mon, result.tm_mday);
    result.tm_mon -= 1;
    // Years are shown modulo 10000 at worst: the formatter takes an int.
    result.tm_year = static_cast<int>(year % 10000) - 1900;
    result.tm_wday = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    result.tm_hour = static_cast<int>(rest / 3600);
    result.tm_min = static_cast<int>(rest / 60 % 60);
    result.tm_sec = static_cast<int>(rest % 60);
    return result;
}

void appendTwoDigits(std::string& out, int value) {
    out += static_cast<char>('0' + value / 10 % 10);
    out += static_cast<char>('0' + value % 10);
}

// The date as strftime writes "%A, %B %d, %H:%M:%S EDT %Y" in the C locale, whatever locale the program
// that loaded the library has set: the histories are read by English-speaking tools.
void appendDate(std::string& text, const std::tm& time) {
    static constexpr const char* Days[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                           "Thursday", "Friday", "Saturday"};
    static constexpr const char* Months[] = {"January",   "February", "March",    "April",
                                             "May",       "June",     "July",     "August",
                                             "September", "October",  "November", "December"};
    text += time.tm_wday >= 0 && time.tm_wday < 7 ? Days[time.tm_wday] : "?";
    text += ", ";
    text += time.tm_mon >= 0 && time.tm_mon < 12 ? Months[time.tm_mon] : "?";
    text += ' ';
    appendTwoDigits(text, time.tm_mday);
    text += ", ";
    appendTwoDigits(text, time.tm_hour);
    text += ':';
    appendTwoDigits(text, time.tm_min);
    text += ':';
    appendTwoDigits(text, time.tm_sec);
    text += " EDT ";
    appendInt(text, std::int64_t{time.tm_year} + 1900);
}

std::tm localTime(std::int64_t startTime) {
    std::tm local{};
    bool converted = false;
    const auto moment = static_cast<std::time_t>(startTime);
    if (static_cast<std::int64_t>(moment) == startTime) {
#ifdef _WIN32
        converted = localtime_s(&local, &moment) == 0;
#else
        converted = localtime_r(&moment, &local) != nullptr;
#endif
    }
    return converted ? local : fallbackTime(startTime);
}

}  // namespace

std::string formatStartTime(std::int64_t startTime) {
    std::string text;
    appendDate(text, localTime(startTime));
    return text;
}

void writeHistory(HandRecord& hand, std::string& out, bool realMoney, bool make6Max, bool muckHands,
                  bool saveAllHole, bool firstInFile) {
    const std::string_view currency = realMoney ? "$" : "";
    const std::int32_t id = hand.gameId();

    if (!firstInFile) {
        out += "Game #";
        appendInt(out, id);
        appendLine(out, " starts.");
    }
    out += LineEnd;
    out += "#Game No : ";
    appendInt(out, id);
    appendLine(out, " ");
    out += "***** Hand History for Game ";
    appendInt(out, id);
    appendLine(out, " *****");

    out += currency;
    if (hand.hasBets) {
        appendAmount(out, 100 * hand.bigBlind);
        out += " NL";
    } else {
        appendAmount(out, hand.bigBlind);
        out += '/';
        out += currency;
        appendAmount(out, 2 * hand.bigBlind);
    }
    out += " Hold'em - ";
    appendDate(out, localTime(hand.startTime));
    out += LineEnd;

    out += "Table ";
    if (hand.tableName) out += *hand.tableName;
    out += ' ';
    if (make6Max && hand.numPlayers <= 6) out += "(6 max) ";
    if (realMoney) out += "(Real Money)";
    out += LineEnd;

    out += "Seat ";
    appendInt(out, hand.button + 1);
    appendLine(out, " is the button");
    out += "Total number of players : ";
    appendInt(out, hand.numPlayers);
    appendLine(out, " ");

    for (int seat = 0; seat < SeatCount; ++seat) {
        if (!hand.seatNames[seat]) continue;
        out += "Seat ";
        appendInt(out, seat + 1);
        out += ": ";
        out += *hand.seatNames[seat];
        out += " ( $";
        appendAmount(out, hand.stacks[seat]);
        appendLine(out, " )");
    }

    bool downCardsWritten = false;
    for (Action& action : hand.actions) {
        if (!downCardsWritten && !isBlindPost(action.type)) {
            downCardsWritten = true;
            appendLine(out, "** Dealing down cards **");
            for (int seat = 0; seat < SeatCount; ++seat) {
                const bool dealt =
                    saveAllHole ? hand.isSeated(seat) : seat == hand.heroSeat && hand.isSeated(seat);
                if (!dealt) continue;
                out += "Dealt to ";
                out += *hand.seatNames[seat];
                out += " [  ";
                appendCard(out, hand.holeCards[seat][0]);
                out += ' ';
                appendCard(out, hand.holeCards[seat][1]);
                appendLine(out, " ]");
            }
        }

        // name, wording and bracketed amount of the lines that carry one
        const char* wording = nullptr;
        switch (action.type) {
            case PostSmallBlind:
                wording = " posts small blind [";
                break;
            case PostBigBlind:
                wording = " posts big blind [";
                break;
            case PostBigBlindDead:
                wording = " posts big blind + dead [";
                break;
            case Bet:
                wording = " bets [";
                break;
            case Call:
                wording = " calls [";
                break;
            case Raise:
                wording = " raises [";
                break;
            case Check:
                appendName(out, hand, action.seat);
                appendLine(out, " checks.");
                continue;
            case Fold:
                appendName(out, hand, action.seat);
                appendLine(out, " folds.");
                continue;
            case AllIn:
                appendName(out, hand, action.seat);
                out += " is all-In  [";
                out += currency;
                appendAmount(out, action.amount);
                appendLine(out, "]");
                continue;
            case DealFlop:
                out += "** Dealing Flop ** [ ";
                appendCard(out, hand.board[0]);
                out += ", ";
                appendCard(out, hand.board[1]);
                out += ", ";
                appendCard(out, hand.board[2]);
                appendLine(out, " ]");
                continue;
            case DealTurn:
                out += "** Dealing Turn ** [ ";
                appendCard(out, hand.board[3]);
                appendLine(out, " ]");
                continue;
            case DealRiver:
                out += "** Dealing River ** [ ";
                appendCard(out, hand.board[4]);
                appendLine(out, " ]");
                continue;
            case Showdown:
                resolveShowdown(action, hand, out, muckHands, realMoney);
                continue;
            default:  // the preflop counter value and the clamp value write nothing
                continue;
        }
        appendName(out, hand, action.seat);
        out += wording;
        out += currency;
        appendAmount(out, action.amount);
        appendLine(out, "].");
    }
}

}  // namespace noxi
