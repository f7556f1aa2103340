#include "frame/Intake.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>

#include "betting/Decoder.h"
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

bool startRecord(HandRecord& hand, const char* text) {
    if (text == nullptr) {
        hand.setError("Unable to process hand.");
        return false;
    }
    if (text[0] == '\0') {
        hand.setError("No hands found.");
        return false;
    }
    hand.reset();
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

int parseLine(HandRecord& hand, const char* text, bool fixSmallBlind, bool evaluate) {
    if (!startRecord(hand, text)) return 0;
    ChunkReading reading;
    readChunks(hand, reading, text, recordEnd(text), false);
    if (reading.state == ChunkReading::State::Failed) return 0;
    return finishRecord(hand, reading.consumed, fixSmallBlind, evaluate);
}

int takeIn(LogSource& source, std::uint64_t offset, HandRecord& hand, bool fixSmallBlind, bool evaluate) {
    LogSource::Piece piece;
    if (!source.pieceAt(offset, piece)) return -1;
    if (!startRecord(hand, piece.text)) return 0;
    ChunkReading reading;
    for (;;) {
        const char* const end = recordEnd(piece.text);
        readChunks(hand, reading, piece.text, end, piece.more && end == piece.end);
        if (reading.state != ChunkReading::State::Reading) break;
        if (!source.pieceAt(offset + static_cast<std::uint64_t>(reading.consumed), piece)) return -1;
    }
    if (reading.state == ChunkReading::State::Failed) return 0;
    return finishRecord(hand, reading.consumed, fixSmallBlind, evaluate);
}

int finishRecord(HandRecord& hand, int consumed, bool fixSmallBlind, bool evaluate) {
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
    if (evaluate) evaluateSeats(hand);

    if (!hand.isComplete()) {
        hand.setError("Hand is incomplete.");
        return 0;
    }
    return consumed;
}

void evaluateSeats(HandRecord& hand) {
    for (int seat = 0; seat < SeatCount; ++seat) {
        if (hand.folded[seat]) continue;
        HandEvaluator& evaluator = hand.evaluators[seat];
        evaluator.addCard(hand.holeCards[seat][0]);
        evaluator.addCard(hand.holeCards[seat][1]);
        for (const Card& card : hand.board)
            evaluator.addCard(card);
        evaluator.category();
    }
}

void writeHand(HandRecord& hand, const ConversionOptions& options, std::string& out, bool firstInFile) {
    evaluateSeats(hand);
    writeHistory(hand, out, options.realMoney, options.make6Max, options.muckHands, options.saveAllHole,
                 firstInFile);
}

}  // namespace noxi
