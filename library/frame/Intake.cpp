#include "frame/Intake.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstring>

#include "betting/Decoder.h"
#include "eval/HandValue.h"
#include "hand/ChunkParser.h"
#include "writer/HistoryWriter.h"

namespace noxi {
namespace {

// Where the record at text ends: its first NUL, LF or CR.
const char* recordEnd(const char* text) {
    return text + std::strcspn(text, "\n\r");
}

// The length of the chunk at text (1..255), 0 where the record ends or for an empty chunk, -1 for a chunk
// that is not closed before the record's end or within 255 characters. readChunk without the copy: the
// intake parses chunks where they lie.
int chunkLength(const char* text, const char* end) {
    if (text == end || *text == ';') return 0;
    const auto* semicolon =
        static_cast<const char*>(std::memchr(text, ';', static_cast<std::size_t>(end - text)));
    if (semicolon == nullptr) return -1;
    const auto n = semicolon - text;
    return n < ChunkBufferSize ? static_cast<int>(n) : -1;
}

ShowdownRules showdownRules(const ConversionOptions& options) {
    ShowdownRules rules;
    rules.muckHands = options.muckHands;
    rules.trackerSafe = options.trackerSafe;
    return rules;
}

// The best hand of every seat still in, from its hole cards and the board.
void evaluateSeats(const HandRecord& hand, const DecodedHand& decoded, HandValues& values) {
    for (int seat = 0; seat < SeatCount; ++seat) {
        if (decoded.folded[seat]) {
            values[seat] = HandValue{};
            continue;
        }
        const auto& hole = hand.holeCards[seat];
        const std::array<Card, 7> cards = {hole[0],       hole[1],       hand.board[0], hand.board[1],
                                           hand.board[2], hand.board[3], hand.board[4]};
        values[seat] = evaluateHand(cards);
    }
}

void settleHand(TakenHand& taken, const ConversionOptions& options) {
    evaluateSeats(taken.record, taken.decoded, taken.values);
    resolveShowdown(taken.record, taken.decoded, taken.values, showdownRules(options), taken.payout);
    taken.settled = true;
}

}  // namespace

int readChunk(const char* text, char (&buffer)[ChunkBufferSize]) {
    if (text == nullptr) return -2;
    const int n = chunkLength(text, recordEnd(text));
    if (n > 0) {
        std::memcpy(buffer, text, static_cast<std::size_t>(n));
        buffer[n] = '\0';
    } else if (n == 0 && text[0] == ';') {
        buffer[0] = '\0';
    }
    return n;
}

bool startRecord(TakenHand& taken, const char* text) {
    HandRecord& hand = taken.record;
    taken.settled = false;
    if (text == nullptr) {
        hand.setError("Unable to process hand.");
        return false;
    }
    if (text[0] == '\0') {
        hand.setError("No hands found.");
        return false;
    }
    hand.reset();
    // A hand without RAKE has none: the rake is the one field a reset keeps.
    hand.rake = 0;
    return true;
}

void readChunks(HandRecord& hand, ChunkReading& reading, const char* text, const char* end, bool more) {
    using State = ChunkReading::State;
    if (reading.state != State::Reading) return;
    // Kept in registers while the chunk parser writes the record.
    int consumed = reading.consumed;
    int chunkNumber = reading.chunkNumber;
    State state = State::Reading;
    for (;;) {
        // The record ends where the next chunk would start with its end, or with a semicolon.
        if (text == end) {
            if (!more) state = State::Ended;
            break;
        }
        if (*text == ';') {
            state = State::Ended;
            break;
        }
        // A chunk is at most 255 characters and its semicolon: only that far is looked at.
        const auto within = static_cast<std::size_t>(std::min<std::ptrdiff_t>(end - text, ChunkBufferSize));
        const auto* semicolon = static_cast<const char*>(std::memchr(text, ';', within));
        if (semicolon == nullptr && more && within < ChunkBufferSize) break;
        const int n = semicolon != nullptr ? static_cast<int>(semicolon - text) : 0;
        // A record longer than the offset can count (gigabytes of chunks on one line) is not a hand.
        if (semicolon == nullptr || consumed > INT_MAX - (n + 1)) {
            hand.setError("Chunk %i: Not a hand history.", chunkNumber);
            state = State::Failed;
            break;
        }
        if (!parseChunk(hand, text, n, chunkNumber)) {
            state = State::Failed;
            break;
        }
        consumed += n + 1;
        text += n + 1;
        ++chunkNumber;
    }
    reading.consumed = consumed;
    reading.chunkNumber = chunkNumber;
    reading.state = state;
}

int finishRecord(TakenHand& taken, int consumed, const ConversionOptions& options, bool settle) {
    HandRecord& hand = taken.record;
    if (!hand.sequence) {
        hand.setError("Hand is incomplete.");
        return 0;
    }
    DecodeOptions decoding;
    decoding.fixSmallBlind = options.fixSmallBlind;
    decoding.trackerSafe = options.trackerSafe;
    if (const char* error = decodeSequence(hand, decoding, taken.decoded)) {
        hand.setError("%s", error);
        return 0;
    }
    if (!taken.decoded.isComplete(hand)) {
        hand.setError("Hand is incomplete.");
        return 0;
    }
    if (settle) settleHand(taken, options);
    return consumed;
}

int parseLine(TakenHand& taken, const char* text, const ConversionOptions& options, bool settle) {
    if (!startRecord(taken, text)) return 0;
    ChunkReading reading;
    readChunks(taken.record, reading, text, recordEnd(text), false);
    if (reading.state == ChunkReading::State::Failed) return 0;
    return finishRecord(taken, reading.consumed, options, settle);
}

Chunks takeInChunks(LogSource& source, std::uint64_t offset, TakenHand& taken, int& consumed) {
    consumed = 0;
    LogSource::Piece piece;
    if (!source.pieceAt(offset, piece)) return Chunks::Unreadable;
    if (!startRecord(taken, piece.text)) return Chunks::Failed;
    ChunkReading reading;
    for (;;) {
        const char* const end = recordEnd(piece.text);
        readChunks(taken.record, reading, piece.text, end, piece.more && end == piece.end);
        if (reading.state != ChunkReading::State::Reading) break;
        if (!source.pieceAt(offset + static_cast<std::uint64_t>(reading.consumed), piece))
            return Chunks::Unreadable;
    }
    consumed = reading.consumed;
    return reading.state == ChunkReading::State::Failed ? Chunks::Failed : Chunks::Read;
}

int takeIn(LogSource& source, std::uint64_t offset, TakenHand& taken, const ConversionOptions& options,
           bool settle) {
    int consumed = 0;
    switch (takeInChunks(source, offset, taken, consumed)) {
        case Chunks::Unreadable:
            return -1;
        case Chunks::Failed:
            return 0;
        case Chunks::Read:
            break;
    }
    return finishRecord(taken, consumed, options, settle);
}

void settle(TakenHand& hand, const ConversionOptions& options) {
    if (!hand.settled) settleHand(hand, options);
}

void writeHistory(const TakenHand& hand, std::string& out, const ConversionOptions& options,
                  bool firstInFile) {
    HistoryOptions writing;
    writing.realMoney = options.realMoney;
    writing.make6Max = options.make6Max;
    writing.saveAllHole = options.saveAllHole;
    writing.trackerSafe = options.trackerSafe;
    if (hand.settled) {
        noxi::writeHistory(hand.record, hand.decoded, hand.values, hand.payout, writing, firstInFile, out);
        return;
    }
    // A hand taken in without its payout: worked out here (settle keeps the memory instead).
    HandValues values{};
    Payout payout;
    evaluateSeats(hand.record, hand.decoded, values);
    resolveShowdown(hand.record, hand.decoded, values, showdownRules(options), payout);
    noxi::writeHistory(hand.record, hand.decoded, values, payout, writing, firstInFile, out);
}

}  // namespace noxi
