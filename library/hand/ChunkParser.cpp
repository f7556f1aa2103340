#include "hand/ChunkParser.h"

#include <cmath>
#include <cstring>
#include <ctime>
#include <optional>
#include <string_view>

#include "hand/Money.h"
#include "hand/Numbers.h"
#include "platform/Platform.h"

namespace noxi {
namespace {

using std::string_view;

int cachedOffsetMinutes = 0;
bool offsetKnown = false;
unsigned refreshCount = 0;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A card whose characters run past the value's end: those read as the end of the text, as they would in a
// terminated chunk.
bool parseCutCard(const char* value, int length, int pos, Card& card) {
    char pair[3] = {'\0', '\0', '\0'};
    for (int i = 0; i < 2 && pos + i < length; ++i)
        pair[i] = value[pos + i];
    return card.parse(pair);
}

// A card read from the two characters at `pos` of a value of `length` characters.
inline bool parseCardAt(const char* value, int length, int pos, Card& card) {
    return pos + 2 <= length ? card.parse(value + pos) : parseCutCard(value, length, pos, card);
}

// Most amounts are plain digits with at most two decimals: their cents are exact, and the result is the one
// the general conversion and rounding give. Empty for any other text.
std::optional<double> plainAmount(const char* value, int length) {
    // At most 15 digits, so that the cents stay exact in a double.
    constexpr int MaxDigits = 15;
    std::int64_t cents = 0;
    int digits = 0;
    int at = 0;
    for (; at < length && isDigit(value[at]); ++at) {
        if (++digits > MaxDigits) return std::nullopt;
        cents = cents * 10 + (value[at] - '0');
    }
    int decimals = 0;
    if (at < length) {
        if (value[at] != '.') return std::nullopt;
        for (++at; at < length; ++at) {
            if (!isDigit(value[at]) || decimals == 2 || ++digits > MaxDigits) return std::nullopt;
            cents = cents * 10 + (value[at] - '0');
            ++decimals;
        }
    }
    if (digits == 0) return std::nullopt;
    for (; decimals < 2; ++decimals)
        cents *= 10;
    return static_cast<double>(cents) / 100;
}

// A decimal value rounded to cents; empty when the text is not a decimal or out of any sensible range. A
// plain amount is a decimal, so it needs no other check.
std::optional<double> decimalValue(const char* value, int length) {
    if (const auto plain = plainAmount(value, length)) return plain;
    if (!isDecimal(value, length)) return std::nullopt;
    return roundToCents(leadingDouble(value, static_cast<std::size_t>(length)));
}

// Stores a checked decimal amount, or rejects the hand with the key's message.
bool readAmount(HandRecord& hand, const char* value, int length, double& field, const char* message,
                int chunkNumber) {
    const auto amount = decimalValue(value, length);
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
        int itemEnd = pos;
        while (itemEnd < length && value[itemEnd] != ',')
            ++itemEnd;
        // A plain amount is read exactly; anything else converts as far as it forms a number, and an item
        // that is not a number, or beyond any sensible amount, stores 0.
        std::optional<double> item = plainAmount(value + pos, itemEnd - pos);
        if (!item) item = roundToCents(leadingDouble(value + pos, static_cast<std::size_t>(length - pos)));
        hand.bets.push_back(item.value_or(0.0));
        pos = itemEnd;
        while (pos < length && value[pos] == ',')
            ++pos;
    }
}

bool parseTime(HandRecord& hand, const char* value, int length, int chunkNumber) {
    if (!isInteger(value, length)) {
        hand.setError("Chunk %i: Time needs to be a number.", chunkNumber);
        return false;
    }
    // Milliseconds have more digits than 32 bits hold: the value is converted as a double (exactly, from an
    // integer, while it has at most 15 digits).
    const double milliseconds =
        length <= 15 ? static_cast<double>(integerValue(value, static_cast<std::size_t>(length)))
                     : leadingDouble(value, static_cast<std::size_t>(length));
    const double seconds = std::trunc(milliseconds / 1000);
    // A moment no clock can show is not a time.
    constexpr double Limit = 1e15;
    if (!(std::fabs(seconds) < Limit)) {
        hand.setError("Chunk %i: Time needs to be a number.", chunkNumber);
        return false;
    }
    // Shown five hours behind UTC (the history says "EDT"), plus an hour where the local zone is on
    // daylight saving time at that moment.
    hand.startTime =
        static_cast<std::int64_t>(seconds) + std::int64_t{localStandardOffsetMinutes()} * 60 - 18000;
    return true;
}

bool parseButton(HandRecord& hand, const char* value, int length, int chunkNumber) {
    if (!isInteger(value, length)) {
        hand.setError("Chunk %i: BTN needs to be a number.", chunkNumber);
        return false;
    }
    const std::int64_t button = integerValue(value, static_cast<std::size_t>(length));
    if (button < 0 || button > 9) {
        hand.setError("Chunk %i: BTN needs to be a number between 0 and 9.", chunkNumber);
        return false;
    }
    hand.button = static_cast<std::int8_t>(button);
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
            const auto stack = decimalValue(value, valueLength);
            if (!stack) {
                hand.setError("Chunk %i: PB%c must be a number.", chunkNumber, seatChar);
                return false;
            }
            hand.stacks[seat] = *stack;
            return true;
        }
        case 'C': {
            auto& cards = hand.holeCards[seat];
            if (!parseCardAt(value, valueLength, 0, cards[0]) ||
                !parseCardAt(value, valueLength, 2, cards[1])) {
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
    return length >= 4 && text[0] == 'P' &&
           (text[1] == 'B' || text[1] == 'C' || text[1] == 'N' || text[1] == 'V') && text[3] == '=';
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
    // The offset is reported in whole minutes.
    cachedOffsetMinutes = static_cast<int>(platform::refreshStandardOffset() / 60);
    offsetKnown = true;
    ++refreshCount;
}

unsigned timeZoneRefreshes() {
    return refreshCount;
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
    // The value of a key that matched: everything after its equals sign.
    const char* value = nullptr;
    int valueLength = 0;
    auto key = [&]<std::size_t N>(const char(&name)[N]) {
        constexpr int NameLength = static_cast<int>(N - 1);
        if (length < NameLength || std::memcmp(text, name, NameLength) != 0) return false;
        value = text + NameLength;
        valueLength = length - NameLength;
        return true;
    };

    // No key is the start of another, so the first character picks the few candidates.
    switch (text[0]) {
        case 'A':
            if (key("ANTE=")) return true;
            break;
        case 'B':
            if (key("BB=")) {
                return readAmount(hand, value, valueLength, hand.bigBlind,
                                  "Chunk %i: BB needs to be a number.", chunkNumber);
            }
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
            if (key("BTN=")) return parseButton(hand, value, valueLength, chunkNumber);
            break;
        case 'G':
            if (key("GAME=")) {
                if (string_view(value, static_cast<std::size_t>(valueLength)) != "Texas Hold'em") {
                    hand.setError("Chunk %i: All hands must be Texas Hold'em.", chunkNumber);
                    return false;
                }
                return true;
            }
            break;
        case 'H':
            if (key("HERO=")) {
                assign(hand.heroName, value, valueLength);
                return true;
            }
            break;
        case 'I':
            if (key("ID=")) {
                const bool integer = isInteger(value, valueLength);
                const std::int64_t id =
                    integer ? integerValue(value, static_cast<std::size_t>(valueLength)) : 0;
                if (!integer || id < INT32_MIN || id > INT32_MAX) {
                    hand.setError("Chunk %i: ID must be a number.", chunkNumber);
                    return false;
                }
                hand.id = static_cast<std::int32_t>(id);
                return true;
            }
            break;
        case 'N':
            if (key("NP=")) {
                if (!isInteger(value, valueLength)) {
                    hand.setError("Chunk %i: NP must be a number.", chunkNumber);
                    return false;
                }
                // The count is kept in 8 bits.
                const auto low = static_cast<std::uint8_t>(
                    static_cast<std::uint64_t>(integerValue(value, static_cast<std::size_t>(valueLength))) &
                    0xFFu);
                hand.numPlayers = static_cast<std::int8_t>(low);
                return true;
            }
            break;
        case 'P':
            if (isSeatKey(text, length)) return parseSeatKey(hand, text, length, chunkNumber);
            break;
        case 'R':
            if (key("RAKE=")) {
                return readAmount(hand, value, valueLength, hand.rake, "Chunk %i: RAKE must be a number.",
                                  chunkNumber);
            }
            break;
        case 'S':
            if (key("SB=")) {
                return readAmount(hand, value, valueLength, hand.smallBlind, "Chunk %i: SB must be a number.",
                                  chunkNumber);
            }
            if (key("SEQ=")) {
                assign(hand.sequence, value, valueLength);
                return true;
            }
            if (key("SITE=")) return true;
            break;
        case 'T':
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
            break;
        default:
            break;
    }
    hand.setError("Chunk %i: Unknown chunk \"%.*s\".", chunkNumber, length, text);
    return true;
}

}  // namespace noxi
