#include "frame/LogSource.h"

#include <algorithm>
#include <cstring>

namespace noxi {
namespace {

// The least a jump reads: a few records.
constexpr std::size_t LeastJumpRead = std::size_t{4} << 10;

bool endsRecord(char c) {
    return c == '\0' || c == '\n' || c == '\r';
}

}  // namespace

LogSource::Opened LogSource::open(const char* path) {
    window_ = {};
    start_ = readEnd_ = wholeEnd_ = 0;
    jumpRead_ = settings_.blockSize;
    piecesServed_ = 0;
    if (!file_.open(path)) return Opened::Missing;
    const std::int64_t size = file_.size();
    if (size < 1) return Opened::Empty;
    size_ = static_cast<std::uint64_t>(size);
    // Text saved as UTF-16 starts with its byte-order mark; a failed read is left to the reading to tell.
    unsigned char mark[2] = {};
    if (file_.readAt(0, reinterpret_cast<char*>(mark), 2) == 2 &&
        ((mark[0] == 0xFF && mark[1] == 0xFE) || (mark[0] == 0xFE && mark[1] == 0xFF))) {
        return Opened::Utf16;
    }
    return Opened::Yes;
}

bool LogSource::fill(std::uint64_t offset) {
    std::size_t want = settings_.blockSize;
    std::uint64_t newStart = offset;
    std::size_t kept = 0;
    if (offset >= start_ && offset <= readEnd_) {
        newStart = std::max(start_, offset - std::min(offset, lookBehind_));
        kept = static_cast<std::size_t>(readEnd_ - newStart);
        if (kept > 0) std::memmove(window_.data(), at(newStart), kept);
    } else {
        if (piecesServed_ < 4) {
            jumpRead_ = std::max(LeastJumpRead, jumpRead_ / 8);
        } else if (piecesServed_ > 32) {
            jumpRead_ = settings_.blockSize;
        }
        want = jumpRead_;
        newStart = offset - std::min<std::uint64_t>(offset, want / 4);
    }
    piecesServed_ = 0;
    start_ = newStart;
    readEnd_ = newStart + kept;
    wholeEnd_ = newStart;
    std::uint64_t looked = std::max(readEnd_, offset);  // bytes before this hold no record end after offset
    for (;;) {
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(size_ - readEnd_, want));
        if (window_.size() < kept + wanted + 1) window_.resize(kept + wanted + 1);
        if (wanted > 0 &&
            file_.readAt(readEnd_, window_.data() + kept, wanted) != static_cast<std::int64_t>(wanted)) {
            return false;
        }
        kept += wanted;
        readEnd_ += wanted;
        window_[kept] = '\0';
        if (readEnd_ == size_) {
            wholeEnd_ = size_;
            return true;
        }
        const char* first = at(looked);
        for (const char* c = window_.data() + kept; c > first; --c) {
            if (endsRecord(c[-1])) {
                wholeEnd_ = start_ + static_cast<std::uint64_t>(c - window_.data());
                return true;
            }
        }
        looked = readEnd_;
        // A line longer than the widest window is given in pieces.
        if (kept >= settings_.mostWindow) return true;
        want = std::min(settings_.blockSize, settings_.mostWindow - kept);
    }
}

bool LogSource::pieceAt(std::uint64_t offset, Piece& piece) {
    if (!(holds(offset) && offset < wholeEnd_) && !fill(offset)) return false;
    ++piecesServed_;
    piece.text = at(offset);
    piece.end = at(readEnd_);
    piece.more = offset >= wholeEnd_;
    return true;
}

template <typename Skip>
bool LogSource::skipOver(std::uint64_t& offset, Skip skip) {
    while (offset < size_) {
        if (!holds(offset) && !fill(offset)) return false;
        const char* c = at(offset);
        const char* const end = at(readEnd_);
        while (c < end && skip(*c))
            ++c;
        offset = start_ + static_cast<std::uint64_t>(c - window_.data());
        if (c < end) break;
    }
    return true;
}

bool LogSource::nextRecord(std::uint64_t start, std::uint64_t consumed, std::uint64_t& next) {
    // Mostly a good record's chunks end at its line end, and the next record starts in the window.
    if (consumed > 0 && holds(start) && holds(start + consumed)) {
        const char* c = at(start + consumed);
        const char* const end = at(readEnd_);
        if (*c == '\n' || *c == '\r') {
            while (c < end && (*c == '\n' || *c == '\r' || *c == ' '))
                ++c;
            if (c < end) {
                next = start_ + static_cast<std::uint64_t>(c - window_.data());
                return true;
            }
        }
    }
    if (!holds(start) && !fill(start)) return false;
    std::uint64_t offset = start + consumed;
    // A run of NULs (a file zero-filled after a crash) is one record; any other record runs to its line end.
    const bool skipped = consumed == 0 && *at(start) == '\0'
                             ? skipOver(offset, [](char c) { return c == '\0'; })
                             : skipOver(offset, [](char c) { return !endsRecord(c); });
    if (!skipped || !skipLineEnds(offset)) return false;
    next = offset;
    return true;
}

bool LogSource::skipLineEnds(std::uint64_t& offset) {
    return skipOver(offset, [](char c) { return c == '\n' || c == '\r' || c == ' '; });
}

void LogSource::releaseWindow() {
    window_ = {};
    start_ = readEnd_ = wholeEnd_ = 0;
}

}  // namespace noxi
