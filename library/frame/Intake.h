// The line intake: one record of the log (one line) becomes one checked hand.
#pragma once

#include "hand/HandRecord.h"

namespace noxi {

constexpr int ChunkBufferSize = 256;

// Looks at the chunk that starts at text. Returns -2 for null text; 0 where the record ends (a NUL, LF or CR,
// or an empty chunk: a semicolon, which leaves the empty text in the buffer); n (1..255) when a semicolon
// follows n characters without NUL, LF or CR, which are copied into the buffer with a terminator; -1 when a
// NUL, LF or CR comes first or no semicolon is within 256 characters. Never reads past a NUL.
int readChunk(const char* text, char (&buffer)[ChunkBufferSize]);

// Takes in the record that starts at text: chunks, hero seat, betting, evaluators, completeness. Returns the
// offset just past its last semicolon for a usable hand, or 0 with the record's error text set.
// A caller that only needs to know whether the hand is usable may leave the evaluators empty.
int parseLine(HandRecord& hand, const char* text, bool fixSmallBlind, bool evaluate = true);

}  // namespace noxi
