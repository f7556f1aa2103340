#include "frame/Intake.h"

#include <climits>
#include <cstring>

#include "betting/Decoder.h"
#include "hand/ChunkParser.h"

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

int parseLine(HandRecord& hand, const char* text, bool fixSmallBlind, bool evaluate) {
    if (text == nullptr) {
        hand.setError("Unable to process hand.");
        return 0;
    }
    if (text[0] == '\0') {
        hand.setError("No hands found.");
        return 0;
    }
    hand.reset();

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

    if (hand.heroName) {
        for (int seat = 0; seat < SeatCount; ++seat) {
            if (hand.isSeated(seat) && *hand.seatNames[seat] == *hand.heroName) {
                hand.heroSeat = seat;
                break;
            }
        }
    }

    if (!hand.sequence) {
        hand.setError("Hand is incomplete.");
        return 0;
    }
    if (!decodeSequence(hand, fixSmallBlind)) return 0;

    // The seats still in are evaluated now, while the record is at hand.
    for (int seat = 0; seat < SeatCount && evaluate; ++seat) {
        if (hand.folded[seat]) continue;
        HandEvaluator& evaluator = hand.evaluators[seat];
        evaluator.addCard(hand.holeCards[seat][0]);
        evaluator.addCard(hand.holeCards[seat][1]);
        for (const Card& card : hand.board)
            evaluator.addCard(card);
        evaluator.category();
    }

    if (!hand.isComplete()) {
        hand.setError("Hand is incomplete.");
        return 0;
    }
    return consumed;
}

}  // namespace noxi
