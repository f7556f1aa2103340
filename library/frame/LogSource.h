// The log being converted: owns the input file and reads it in windows, never whole, giving the intake the
// text of each record where it starts in the file. Records are walked in the order of the file, and any
// record can be taken in again from its place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace noxi {

class LogSource {
public:
    struct Settings {
        // Bytes read at a time. A block small enough to stay in the processor's cache from the read to the
        // intake is a little faster than a large one.
        std::size_t blockSize = std::size_t{256} << 10;
        // A line longer than a block widens the window up to this; a longer record is given in pieces.
        std::size_t mostWindow = std::size_t{4} << 20;
    };

    enum class Opened { Yes, Missing, Empty, Utf16 };

    LogSource() = default;
    explicit LogSource(const Settings& settings) : settings_(settings) {}

    // Opens the log: Missing when it cannot be opened (or is a folder), Empty when it holds no byte, Utf16
    // when its first two bytes are a UTF-16 byte-order mark (a log saved by an editor in another encoding).
    Opened open(const char* path);
    // The log's size when it was opened: what a conversion reads.
    std::uint64_t size() const { return size_; }
    // The log's size now (it may have grown since it was opened); -1 when it cannot be told.
    std::int64_t fileSize() const { return file_.size(); }
    // Reads what the log grew to up to end: records are taken in up to there.
    void limit(std::uint64_t end) {
        size_ = end;
        start_ = readEnd_ = wholeEnd_ = 0;
    }
    // Fills bytes from offset on; how many were read.
    std::size_t readAt(std::uint64_t offset, std::string& bytes) const {
        const std::int64_t read = file_.readAt(offset, bytes.data(), bytes.size());
        return read > 0 ? static_cast<std::size_t>(read) : 0;
    }

    // The text from offset on as far as the window holds it, followed by a NUL at end. When more is false
    // the record that starts at offset ends at or before end (its first NUL, LF or CR is there, or the log
    // ends); when true the record runs past end and the next piece starts where its chunks were read to.
    struct Piece {
        const char* text = nullptr;
        const char* end = nullptr;
        bool more = false;
    };
    // False when the log could not be read there.
    bool pieceAt(std::uint64_t offset, Piece& piece);

    // Where the record after the one at start begins: past the rest of its line (from start + consumed, the
    // end of its chunks) or, for a record that starts with a NUL, past the whole run of NULs; then past the
    // LFs, CRs and blanks that follow. The log's size when it ends there. False when the log could not be
    // read.
    bool nextRecord(std::uint64_t start, std::uint64_t consumed, std::uint64_t& next);
    // Moves offset past the LFs, CRs and blanks there. False when the log could not be read.
    bool skipLineEnds(std::uint64_t& offset);

    // Lets go of the window's memory (the file stays open for taking records in again).
    void releaseWindow();
    // Lets go of the file and the window's memory.
    void close() {
        releaseWindow();
        file_.close();
    }
    // Records are about to be taken in by their places, mostly in the order of the file and now and then a
    // little before the one taken in last: each new window keeps a quarter block of what lies before.
    void lookBehind(bool keep) { lookBehind_ = keep ? settings_.blockSize / 4 : 0; }

private:
    // Makes the window start at offset (keeping what it holds from there), reading until a record end
    // follows offset, the window is as wide as it may be, or the log ends.
    bool fill(std::uint64_t offset);
    bool holds(std::uint64_t offset) const { return offset >= start_ && offset < readEnd_; }
    const char* at(std::uint64_t offset) const { return window_.data() + (offset - start_); }
    // Moves offset over the bytes that `skip` accepts, window after window; false on a read failure.
    template <typename Skip>
    bool skipOver(std::uint64_t& offset, Skip skip);

    Settings settings_;
    platform::InputFile file_;
    std::uint64_t size_ = 0;
    std::vector<char> window_;  // bytes [start_, readEnd_) of the log, then a NUL
    std::uint64_t start_ = 0;
    std::uint64_t readEnd_ = 0;
    // Just past the last NUL, LF or CR in the window: every record that starts before it ends inside.
    std::uint64_t wholeEnd_ = 0;
    // How much a jump to another place reads: a full block while the records taken in from the window are
    // many, less when they are few, so that taking hands in out of order does not read a block per hand.
    std::size_t jumpRead_ = 0;
    std::size_t piecesServed_ = 0;
    std::uint64_t lookBehind_ = 0;
};

}  // namespace noxi
