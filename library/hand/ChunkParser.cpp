#include "hand/ChunkParser.h"

#include <cmath>
#include <cstring>
#include <ctime>
#include <optional>
#include <string_view>

#include "hand/Money.h"
#include "hand/Numbers.h"

namespace noxi {
namespace {

using std::string_view;

int cachedOffsetMinutes = 0;
bool offsetKnown = false;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A card read from the two characters at `pos` of a value of `length` characters; characters past the
// value's end read as the end of the text, as they would in a terminated chunk.
bool parseCardAt(const char* value, int length, int pos, Card& card) {
    char pair[3] = {'\0', '\0', '\0'};
    for (int i = 0; i < 2 && pos + i < length; ++i) pair[i] = value[pos + i];
    return card.parse(pair);
}

// A checked decimal value rounded to cents, or empty when it is out of any sensible range.
std::optional<double> decimalValue(const char* value, int length) {
    return roundToCents(leadingDouble(value, static_cast<std::size_t>(length)));
}

// Stores a checked decimal amount, or rejects the hand with the key's message.
bool readAmount(HandRecord& hand, const char* value, int length, double& field, const char* message,
                int chunkNumber) {
    const auto amount = isDecimal(value, length) ? decimalValue(value, length) : std::nullopt;
    if (!amount) {
        hand.setError(message, chunkNumber);
        return false;
    }
    field = *amount;
    return true;
}

std::optional<std::string>& assign(std::optional<std::string>& field, const char* value, int length) {
    if (field) {
        field->assign(value, static_cast<std::size_t>(length));
    } else {
        field.emplace(value, static_cast<std::size_t>(length));
    }
    return field;
}

void parseBets(HandRecord& hand, const char* value, int length) {
    hand.hasBets = true;
    int pos = 0;
    while (pos < length) {
        // An item that is not a number, or beyond any sensible amount, stores 0.
        const double item = leadingDouble(value + pos, static_cast<std::size_t>(length - pos));
        hand.bets.push_back(roundToCents(item).value_or(0.0));
        while (pos < length && value[pos] != ',') ++pos;
        while (pos < length && value[pos] == ',') ++pos;
    }
}

bool parseTime(HandRecord& hand, const char* value, int length, int chunkNumber) {
    if (!isInteger(value, length)) {
        hand.setError("Chunk %i: Time needs to be a number.", chunkNumber);
        return false;
    }
    // Milliseconds have more digits than 32 bits hold: the value is converted as a double.
    const double seconds = std::trunc(leadingDouble(value, static_cast<std::size_t>(length)) / 1000);
    // A moment no clock can show is not a time.
    constexpr double Limit = 1e15;
    if (!(std::fabs(seconds) < Limit)) {
        hand.setError("Chunk %i: Time needs to be a number.", chunkNumber);
        return false;
    }
    // Shown five hours behind UTC (the history says "EDT"), plus an hour where the local zone is on
    // daylight saving time at that moment.
    hand.startTime = static_cast<std::int64_t>(seconds) + std::int64_t{localStandardOffsetMinutes()} * 60 - 18000;
    return true;
}

bool parseSeatKey(HandRecord& hand, const char* text, int length, int chunkNumber) {
    const char kind = text[1];
    const char seatChar = text[2];
    if (!isInteger(text + 2, 1)) {
        hand.setError("Chunk %i: Unknown key \"%c%c%c\".", chunkNumber, text[0], text[1], text[2]);
        return false;
    }
    const int seat = seatChar == '-' ? 0 : seatChar - '0';
    const char* value = text + 4;
    const int valueLength = length - 4;
    switch (kind) {
        case 'B': {
            const auto stack = isDecimal(value, valueLength) ? decimalValue(value, valueLength) : std::nullopt;
            if (!stack) {
                hand.setError("Chunk %i: PB%c must be a number.", chunkNumber, seatChar);
                return false;
            }
            hand.stacks[seat] = *stack;
            return true;
        }
        case 'C': {
            auto& cards = hand.holeCards[seat];
            if (!parseCardAt(value, valueLength, 0, cards[0]) || !parseCardAt(value, valueLength, 2, cards[1])) {
                hand.setError("Chunk %i: PC%c contained an invalid card.", chunkNumber, seatChar);
                return false;
            }
            return true;
        }
        case 'N':
            assign(hand.seatNames[seat], value, valueLength);
            return true;
        default:  // PV: ignored
            return true;
    }
}

bool isSeatKey(const char* text, int length) {
    return length >= 4 && text[0] == 'P' && (text[1] == 'B' || text[1] == 'C' || text[1] == 'N' || text[1] == 'V') &&
           text[3] == '=';
}

}  // namespace

bool isInteger(const char* text, int length) {
    if (text == nullptr || length <= 0) return false;
    if (!isDigit(text[0]) && text[0] != '-') return false;
    for (int i = 1; i < length; ++i) {
        if (!isDigit(text[i])) return false;
    }
    return true;
}

bool isDecimal(const char* text, int length) {
    if (text == nullptr || length <= 0) return false;
    if (!isDigit(text[0]) && text[0] != '-' && text[0] != '.') return false;
    bool seenPoint = text[0] == '.';
    for (int i = 1; i < length; ++i) {
        if (text[i] == '.') {
            if (seenPoint) return false;
            seenPoint = true;
        } else if (!isDigit(text[i])) {
            return false;
        }
    }
    return true;
}

void refreshTimeZone() {
    long westSeconds = 0;
#ifdef _WIN32
    // MinGW's msvcrt import library has no _get_timezone; the variable serves msvcrt and the UCRT alike.
    _tzset();
    westSeconds = _timezone;
#else
    tzset();
    westSeconds = timezone;
#endif
    // The offset is reported in whole minutes.
    cachedOffsetMinutes = static_cast<int>(westSeconds / 60);
    offsetKnown = true;
}

int localStandardOffsetMinutes() {
    if (!offsetKnown) refreshTimeZone();
    return cachedOffsetMinutes;
}

bool parseChunk(HandRecord& hand, const char* text, int length, int chunkNumber) {
    if (text == nullptr || length <= 0) {
        hand.setError("Chunk %i: Bad chunk.", chunkNumber);
        return false;
    }
    const string_view chunk(text, static_cast<std::size_t>(length));
    // The value of a key that matched: everything after its equals sign.
    const char* value = nullptr;
    int valueLength = 0;
    auto key = [&](string_view name) {
        if (!chunk.starts_with(name)) return false;
        value = text + name.size();
        valueLength = length - static_cast<int>(name.size());
        return true;
    };

    if (key("ANTE=")) return true;
    if (key("BB=")) return readAmount(hand, value, valueLength, hand.bigBlind, "Chunk %i: BB needs to be a number.", chunkNumber);
    if (key("BETS=")) {
        parseBets(hand, value, valueLength);
        return true;
    }
    if (key("BOARD=")) {
        for (int k = 0; k < 5; ++k) {
            if (!parseCardAt(value, valueLength, 2 * k, hand.board[static_cast<std::size_t>(k)])) {
                hand.setError("Chunk %i: Board contained an invalid card.", chunkNumber);
                return false;
            }
        }
        return true;
    }
    if (key("BTN=")) {
        if (!isInteger(value, valueLength)) {
            hand.setError("Chunk %i: BTN needs to be a number.", chunkNumber);
            return false;
        }
        const std::int64_t button = integerValue(value, static_cast<std::size_t>(valueLength));
        if (button < 0 || button > 9) {
            hand.setError("Chunk %i: BTN needs to be a number between 0 and 9.", chunkNumber);
            return false;
        }
        hand.button = static_cast<std::int8_t>(button);
        return true;
    }
    if (key("GAME=")) {
        if (string_view(value, static_cast<std::size_t>(valueLength)) != "Texas Hold'em") {
            hand.setError("Chunk %i: All hands must be Texas Hold'em.", chunkNumber);
            return false;
        }
        return true;
    }
    if (key("HERO=")) {
        assign(hand.heroName, value, valueLength);
        return true;
    }
    if (key("ID=")) {
        const std::int64_t id =
            isInteger(value, valueLength) ? integerValue(value, static_cast<std::size_t>(valueLength)) : 0;
        if (!isInteger(value, valueLength) || id < INT32_MIN || id > INT32_MAX) {
            hand.setError("Chunk %i: ID must be a number.", chunkNumber);
            return false;
        }
        hand.id = static_cast<std::int32_t>(id);
        return true;
    }
    if (key("NP=")) {
        if (!isInteger(value, valueLength)) {
            hand.setError("Chunk %i: NP must be a number.", chunkNumber);
            return false;
        }
        // The count is kept in 8 bits.
        const auto low = static_cast<std::uint8_t>(
            static_cast<std::uint64_t>(integerValue(value, static_cast<std::size_t>(valueLength))) & 0xFFu);
        hand.numPlayers = static_cast<std::int8_t>(low);
        return true;
    }
    if (isSeatKey(text, length)) return parseSeatKey(hand, text, length, chunkNumber);
    if (key("RAKE=")) return readAmount(hand, value, valueLength, hand.rake, "Chunk %i: RAKE must be a number.", chunkNumber);
    if (key("SB=")) return readAmount(hand, value, valueLength, hand.smallBlind, "Chunk %i: SB must be a number.", chunkNumber);
    if (key("SEQ=")) {
        assign(hand.sequence, value, valueLength);
        return true;
    }
    if (key("SITE=")) return true;
    if (key("TABLE=")) {
        if (valueLength <= 0) {
            hand.setError("Chunk %i: Table needs a name.", chunkNumber);
            return false;
        }
        assign(hand.tableName, value, valueLength);
        return true;
    }
    if (key("TIME=")) return parseTime(hand, value, valueLength, chunkNumber);
    if (key("TOURNAMENT_ID=")) {
        hand.setError("Tournament hands are not supported.");
        return false;
    }
    hand.setError("Chunk %i: Unknown chunk \"%.*s\".", chunkNumber, length, text);
    return true;
}

}  // namespace noxi
