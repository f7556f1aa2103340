// The line intake: one record of the log (one line) becomes one checked hand, ready to be written.
#pragma once

#include <cstdint>
#include <string>

#include "betting/DecodedHand.h"
#include "betting/Payout.h"
#include "betting/Showdown.h"
#include "frame/Conversion.h"
#include "hand/HandRecord.h"

namespace noxi {

constexpr int ChunkBufferSize = 256;

// Looks at the chunk that starts at text. Returns -2 for null text; 0 where the record ends (a NUL, LF or CR,
// or an empty chunk: a semicolon, which leaves the empty text in the buffer); n (1..255) when a semicolon
// follows n characters without NUL, LF or CR, which are copied into the buffer with a terminator; -1 when a
// NUL, LF or CR comes first or no semicolon is within 256 characters. Never reads past a NUL.
int readChunk(const char* text, char (&buffer)[ChunkBufferSize]);

// One hand as it is taken in, each step's result kept apart: the record as the chunk parser filled it (with
// the error text), the decoded betting, the hand values of the seats still in and the showdown's payout. One
// TakenHand may take in hand after hand; it keeps its memory.
struct TakenHand {
    HandRecord record;
    DecodedHand decoded;
    HandValues values{};
    Payout payout;
    bool settled = false;  // values and payout are those of the hand taken in

    std::int32_t gameId() const { return record.gameId(); }
    const char* errorText() const { return record.errorText(); }
};

// Takes in the record that starts at text: chunks, betting, hand values, payout, completeness. Returns the
// offset just past its last semicolon for a usable hand, or 0 with the record's error text set. A caller
// that only needs to know whether the hand is usable passes settle false: the hand values and the payout are
// then left out (writeHistory works them out when it needs them).
int parseLine(TakenHand& hand, const char* text, const ConversionOptions& options, bool settle = true);

// Appends the history of a hand taken in (a usable one) to out, as the options ask; firstInFile leaves out
// the "starts." line that separates a hand from the one before it in the same file.
void writeHistory(const TakenHand& hand, std::string& out, const ConversionOptions& options,
                  bool firstInFile);

}  // namespace noxi
