// Fuzz target: the line intake on arbitrary bytes. The bytes are one log (NUL-terminated, as the driver holds
// it); readChunk is checked against its contract at the first positions, and every record is taken in twice,
// by a fresh record and by one reused across records as the driver reuses it, which must agree to the byte
// (the fresh one takes it in without its payout, which the writer then works out).
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "HistoryCheck.h"
#include "frame/Intake.h"
#include "hand/ChunkParser.h"
#include "hand/Money.h"

namespace {

using noxi::ChunkBufferSize;
using noxi::TakenHand;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

void check(bool condition, const char* what) {
    if (!condition) fail(what);
}

bool endsRecord(char c) {
    return c == '\0' || c == '\n' || c == '\r';
}

void checkReadChunk(const char* text) {
    char buffer[ChunkBufferSize];
    std::memset(buffer, 'x', sizeof buffer);
    const int n = noxi::readChunk(text, buffer);
    check(n >= -1 && n < ChunkBufferSize, "readChunk result out of range");
    if (n > 0) {
        check(text[n] == ';', "a chunk ends at its semicolon");
        for (int i = 0; i < n; ++i)
            check(!endsRecord(text[i]) && text[i] != ';', "a chunk holds no line end, NUL or semicolon");
        check(std::memcmp(buffer, text, static_cast<std::size_t>(n)) == 0 && buffer[n] == '\0',
              "the chunk is copied with its terminator");
    } else if (n == 0) {
        check(endsRecord(text[0]) || text[0] == ';', "a record ends only at a line end, NUL or semicolon");
        if (text[0] == ';') check(buffer[0] == '\0', "an empty chunk leaves the empty text");
    } else {
        // -1: a line end or NUL before any semicolon, or no semicolon within 256 characters.
        int i = 1;
        while (i < ChunkBufferSize && !endsRecord(text[i]) && text[i] != ';')
            ++i;
        check(i == ChunkBufferSize || endsRecord(text[i]), "-1 only for an unclosed or overlong chunk");
    }
}

// Whether a reader can tell the seats apart by name and the names from the history's own lines: every name
// distinct, made of letters, digits, '_' and inner blanks, and not starting like a line of the history.
// Tracker-safe histories of such hands must pass the importer's checks.
bool namesReadable(const TakenHand& hand) {
    std::set<std::string> seen;
    for (const auto& name : hand.record.seatNames) {
        if (!name) continue;
        if (name->empty() || name->front() == ' ' || name->back() == ' ' || !seen.insert(*name).second)
            return false;
        for (const char c : *name) {
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != ' ') return false;
        }
        for (const char* start : {"Seat ", "Table ", "Dealt ", "Game ", "Total "}) {
            if (name->starts_with(start)) return false;
        }
    }
    return true;
}

struct Taken {
    int consumed = 0;
    std::string error;
    std::string history;
};

Taken takeIn(TakenHand& hand, const char* text, const noxi::ConversionOptions& options, bool firstInFile,
             bool settle) {
    Taken taken;
    taken.consumed = noxi::parseLine(hand, text, options, settle);
    taken.error = hand.errorText();
    if (taken.consumed > 0) {
        check(static_cast<std::size_t>(taken.consumed) <= std::strlen(text), "consumed stays in the record");
        check(text[taken.consumed - 1] == ';', "consumed ends just past a semicolon");
        check(hand.decoded.isComplete(hand.record), "a usable hand is complete");
        noxi::writeHistory(hand, taken.history, options, firstInFile);
        check(!taken.history.empty() && taken.history.ends_with("\r\n"), "a history is whole lines");
        check(taken.history.find('\0') == std::string::npos, "a history holds no NUL");
        check(taken.history.find("#Game No : ") != std::string::npos, "a history names its hand");
        if (options.trackerSafe && namesReadable(hand)) {
            const trackercheck::HandResult result =
                trackercheck::checkHand(taken.history, noxi::centsOf(hand.record.rake));
            if (!result.faults.empty()) fail(("tracker-safe history fails: " + result.faults[0]).c_str());
        }
    } else {
        check(taken.consumed == 0, "parseLine returns 0 for a rejected hand");
        check(!taken.error.empty(), "a rejected hand says why");
    }
    return taken;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "America/New_York", 1);
    noxi::refreshTimeZone();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string log(reinterpret_cast<const char*>(data), size);
    const char* text = log.c_str();
    const unsigned flags = size > 0 ? data[size - 1] : 0;
    noxi::ConversionOptions options;
    options.realMoney = (flags & 1) != 0;
    options.make6Max = (flags & 2) != 0;
    options.muckHands = (flags & 4) != 0;
    options.saveAllHole = (flags & 8) != 0;
    const bool firstInFile = (flags & 16) != 0;
    options.fixSmallBlind = (flags & 32) != 0;
    options.trackerSafe = (flags & 64) != 0;

    for (std::size_t at = 0; at < size && at < 512; ++at)
        checkReadChunk(text + at);

    TakenHand reused;
    std::size_t offset = 0;
    do {
        TakenHand fresh;
        // The fresh record leaves the payout to the writer, the reused one works it out when taking in.
        const Taken first = takeIn(fresh, text + offset, options, firstInFile, false);
        const Taken again = takeIn(reused, text + offset, options, firstInFile, true);
        check(first.consumed == again.consumed, "a reused record takes a record in like a new one");
        check(first.error == again.error, "a reused record gives the same error text");
        check(first.history == again.history, "a reused record writes the same history");
        offset += static_cast<std::size_t>(first.consumed);
        // Up to the line end, then over line ends and blanks; a NUL inside the log is stepped over.
        offset += std::strcspn(text + offset, "\n\r");
        if (text[offset] == '\0' && offset < size) ++offset;
        offset += std::strspn(text + offset, "\n\r ");
    } while (offset < size);
    return 0;
}
