#include "frame/Intake.h"

#include <climits>
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

int parseLine(TakenHand& taken, const char* text, const ConversionOptions& options, bool settle) {
    HandRecord& hand = taken.record;
    taken.settled = false;
    if (text == nullptr) {
        hand.setError("Unable to process hand.");
        return 0;
    }
    if (text[0] == '\0') {
        hand.setError("No hands found.");
        return 0;
    }
    hand.reset();
    // A hand without RAKE has none: the rake is the one field a reset keeps.
    hand.rake = 0;

    // The record's end is found once; its chunks are found within it.
    const char* const end = recordEnd(text);
    int consumed = 0;
    for (int chunkNumber = 1;; ++chunkNumber) {
        const int n = chunkLength(text + consumed, end);
        if (n < 0) {
            hand.setError("Chunk %i: Not a hand history.", chunkNumber);
            return 0;
        }
        if (n == 0) break;
        // A record longer than the offset can count (gigabytes of chunks on one line) is not a hand.
        if (consumed > INT_MAX - (n + 1)) {
            hand.setError("Chunk %i: Not a hand history.", chunkNumber);
            return 0;
        }
        if (!parseChunk(hand, text + consumed, n, chunkNumber)) return 0;
        consumed += n + 1;
    }

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
    // A hand taken in without its payout: worked out here.
    HandValues values{};
    Payout payout;
    evaluateSeats(hand.record, hand.decoded, values);
    resolveShowdown(hand.record, hand.decoded, values, showdownRules(options), payout);
    noxi::writeHistory(hand.record, hand.decoded, values, payout, writing, firstInFile, out);
}

}  // namespace noxi
