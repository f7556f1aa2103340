#include "frame/Intake.h"

#include <climits>
#include <cstring>

#include "betting/Decoder.h"
#include "hand/ChunkParser.h"

namespace noxi {
namespace {

bool endsRecord(char c) {
    return c == '\0' || c == '\n' || c == '\r';
}

}  // namespace

int readChunk(const char* text, char (&buffer)[ChunkBufferSize]) {
    if (text == nullptr) return -2;
    if (endsRecord(text[0])) return 0;
    if (text[0] == ';') {
        buffer[0] = '\0';
        return 0;
    }
    for (int n = 1; n < ChunkBufferSize; ++n) {
        if (endsRecord(text[n])) return -1;
        if (text[n] == ';') {
            std::memcpy(buffer, text, static_cast<std::size_t>(n));
            buffer[n] = '\0';
            return n;
        }
    }
    return -1;
}

int parseLine(HandRecord& hand, const char* text, bool fixSmallBlind) {
    if (text == nullptr) {
        hand.setError("Unable to process hand.");
        return 0;
    }
    if (text[0] == '\0') {
        hand.setError("No hands found.");
        return 0;
    }
    hand.reset();

    char chunk[ChunkBufferSize];
    int consumed = 0;
    for (int chunkNumber = 1;; ++chunkNumber) {
        const int n = readChunk(text + consumed, chunk);
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
        if (!parseChunk(hand, chunk, n, chunkNumber)) return 0;
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
    for (int seat = 0; seat < SeatCount; ++seat) {
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
