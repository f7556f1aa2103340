// Reads one "key=value" chunk of a log line into the hand record.
#pragma once

#include "hand/HandRecord.h"

namespace noxi {

// Accepts the chunk (true) or rejects the hand (false, with the record's error text set). The chunk is
// `length` characters at `text` without its closing semicolon; it needs no terminator. An unknown key
// leaves a message in the error text but is accepted.
bool parseChunk(HandRecord& hand, const char* text, int length, int chunkNumber);

// Digits with an optional leading '-' (a lone "-" passes); false for a length of 0 or less.
bool isInteger(const char* text, int length);
// Digits with an optional leading '-' and at most one '.' anywhere (a lone "-" or "." passes).
bool isDecimal(const char* text, int length);

// The local standard time zone's offset west of UTC in minutes, as read when refreshTimeZone last ran (it
// runs on first use). The driver refreshes it at the start of every conversion.
int localStandardOffsetMinutes();
void refreshTimeZone();
// How often refreshTimeZone has run: what was worked out from the zone before the last refresh is stale.
unsigned timeZoneRefreshes();

}  // namespace noxi
