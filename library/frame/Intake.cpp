#include "frame/Intake.h"

#include <array>
#include <climits>
#include <cstring>

#include "betting/Decoder.h"
#include "hand/ChunkParser.h"

namespace noxi {
namespace {

// How each byte acts on a chunk: 0 belongs to it, 1 closes it (';'), 2 ends the record (NUL, LF, CR).
constexpr auto ChunkClass = [] {
    std::array<unsigned char, 256> table{};
    table[static_cast<unsigned char>(';')] = 1;
    table[0] = table[static_cast<unsigned char>('\n')] = table[static_cast<unsigned char>('\r')] = 2;
    return table;
}();

unsigned char chunkClass(char c) {
    return ChunkClass[static_cast<unsigned char>(c)];
}

// The length of the chunk at text (1..255), 0 where the record ends, -1 for a chunk that is not closed in
// time. readChunk without the copy: the intake parses chunks where they lie.
int chunkLength(const char* text) {
    if (chunkClass(text[0]) != 0) return 0;
    // Up to the first byte that closes the chunk or ends the record (strcspn stops at the NUL too); a chunk
    // that runs on past 255 characters is refused once it ends (it fails the record, so a long one is
    // scanned once).
    const std::size_t n = std::strcspn(text, ";\n\r");
    return text[n] == ';' && n < ChunkBufferSize ? static_cast<int>(n) : -1;
}

// chunkLength for a chunk within a record that ends at recordEnd.
int chunkLength(const char* text, const char* recordEnd) {
    if (text == recordEnd || *text == ';') return 0;
    const auto* semicolon =
        static_cast<const char*>(std::memchr(text, ';', static_cast<std::size_t>(recordEnd - text)));
    if (semicolon == nullptr) return -1;
    const auto n = semicolon - text;
    return n < ChunkBufferSize ? static_cast<int>(n) : -1;
}

}  // namespace

int readChunk(const char* text, char (&buffer)[ChunkBufferSize]) {
    if (text == nullptr) return -2;
    const int n = chunkLength(text);
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

    // The record ends at the first NUL, LF or CR; its chunks are found within it.
    const char* const recordEnd = text + std::strcspn(text, "\n\r");
    int consumed = 0;
    for (int chunkNumber = 1;; ++chunkNumber) {
        const int n = chunkLength(text + consumed, recordEnd);
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
