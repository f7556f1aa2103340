// The line intake: one record of the log (one line) becomes one checked hand, ready to be written.
#pragma once

#include <cstdint>
#include <string>

#include "betting/DecodedHand.h"
#include "betting/Payout.h"
#include "betting/Showdown.h"
#include "frame/Conversion.h"
#include "frame/LogSource.h"
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

// Where a record read chunk by chunk stands.
struct ChunkReading {
    enum class State { Reading, Ended, Failed };
    int consumed = 0;     // the offset just past the last semicolon read
    int chunkNumber = 1;  // the number of the next chunk
    State state = State::Reading;
};

// Starts taking in the record that starts at text: false, with the record's error text set, for null text
// or a record that starts with a NUL; else the hand is reset for its chunks.
bool startRecord(TakenHand& hand, const char* text);

// Reads the chunks of the record from text, its byte at reading.consumed, up to end, where the record ends
// (its first NUL, LF or CR) or, when more is true, where the bytes at hand end though the record may go on.
// Each whole chunk goes to the chunk parser where it lies. Stops with state Ended or Failed (the error text
// set) when the record ends or fails; still Reading when more bytes are needed to go on.
void readChunks(HandRecord& hand, ChunkReading& reading, const char* text, const char* end, bool more);

// What follows the chunks: betting, completeness, and with settle the hand values and the payout. Returns
// consumed for a usable hand, or 0 with the record's error text set.
int finishRecord(TakenHand& hand, int consumed, const ConversionOptions& options, bool settle);

// Takes in the record that starts at text and ends at its first NUL, LF or CR: the three steps above.
// Returns the offset just past its last semicolon for a usable hand, or 0 with the record's error text set.
// A caller that only needs to know whether the hand is usable passes settle false: the hand values and the
// payout are then left out (writeHistory works them out when it needs them).
int parseLine(TakenHand& hand, const char* text, const ConversionOptions& options, bool settle = true);

// Works out the hand values and the payout of a usable hand taken in without them, keeping the hand's
// memory for the next one.
void settle(TakenHand& hand, const ConversionOptions& options);

// Appends the history of a hand taken in (a usable one) to out, as the options ask; firstInFile leaves out
// the "starts." line that separates a hand from the one before it in the same file.
void writeHistory(const TakenHand& hand, std::string& out, const ConversionOptions& options,
                  bool firstInFile);

// The first step of takeIn: the chunks of the record that starts at offset. Read when they were read whole
// (consumed is then what finishRecord takes), Failed with the record's error text set, or Unreadable when
// the log could not be read.
enum class Chunks { Read, Failed, Unreadable };
Chunks takeInChunks(LogSource& source, std::uint64_t offset, TakenHand& hand, int& consumed);

// Takes in the record that starts at offset of the log: whole when the source's window holds it, chunk by
// chunk when it is longer. Returns what parseLine returns, or -1 when the log could not be read.
int takeIn(LogSource& source, std::uint64_t offset, TakenHand& hand, const ConversionOptions& options,
           bool settle);

}  // namespace noxi
