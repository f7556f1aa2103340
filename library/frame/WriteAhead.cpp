#include "frame/WriteAhead.h"

#include <algorithm>
#include <string_view>

#include "frame/Intake.h"

namespace noxi {
namespace {

// How many hands before a repeated number are looked through for the hand it repeats.
constexpr std::size_t RepeatsLookedFor = 1 << 16;

}  // namespace

WriteAhead::WriteAhead(const ConversionOptions& options, const HandIndex& index, ScratchSink& sink,
                       Limits limits, std::size_t blockSize)
    : options_(options),
      index_(index),
      selection_(options),
      sink_(sink),
      limits_(limits),
      blockSize_(blockSize),
      // Hands are written ahead only where the files do not depend on how many hands there are.
      handsPerFile_(selection_.handsPerFile(0)) {}

bool WriteAhead::start() {
    files_ = 1;
    firstInFile_ = true;
    active_ = sink_.openFile(1);
    if (!active_) sink_.discard();
    return active_;
}

void WriteAhead::offer(TakenHand& hand, std::uint32_t id) {
    if (!active_) return;
    if (position_ > 0 && id <= lastLetOut_) {
        // A number taken in before is a repeated one; any other came too late. Repeats come soon after the
        // hand they repeat: one not found among the hands just before ends writing ahead, as a late one does.
        if (!index_.lastRepeats(RepeatsLookedFor)) stop();
        return;
    }
    // Mostly the hand comes after every hand held, and is written where the histories end.
    std::size_t at = held_.size();
    if (!held_.empty() && id <= held_.back().id) {
        at = static_cast<std::size_t>(
            std::lower_bound(held_.begin(), held_.end(), id,
                             [](const Held& held, std::uint32_t number) { return held.id < number; }) -
            held_.begin());
        if (held_[at].id == id) return;
    }
    const bool write = selection_.mayWrite(position_, id);
    if (write) settle(hand, options_);
    if (at == held_.size()) {
        if (write) writeHistory(hand, text_, options_, false);
        held_.push_back({id, text_.size()});
    } else {
        late_.clear();
        if (write) writeHistory(hand, late_, options_, false);
        const std::size_t begin = at == 0 ? 0 : held_[at - 1].end;
        text_.insert(begin, late_);
        for (std::size_t k = at; k < held_.size(); ++k)
            held_[k].end += late_.size();
        held_.insert(held_.begin() + static_cast<std::ptrdiff_t>(at), Held{id, begin + late_.size()});
    }

    // A block at a time, the hands that enough hands or bytes of histories follow go to the file.
    // Handing over blocks several times the size of the window keeps the copying of the held hands small.
    if (text_.size() < limits_.bytes + blockSize_ && held_.size() < 2 * limits_.hands) return;
    std::size_t count = 0;
    while (count < held_.size() &&
           (held_.size() - count - 1 >= limits_.hands || text_.size() - held_[count].end >= limits_.bytes))
        ++count;
    letOut(count);
}

void WriteAhead::letOut(std::size_t count) {
    std::size_t begin = 0;     // where the hand being looked at starts in text_
    std::size_t runStart = 0;  // the start of the bytes not yet handed over
    ends_.clear();
    // Hands over text_ from runStart up to runEnd, with the ends of the hands in it.
    const auto handOver = [&](std::size_t runEnd) {
        const bool whole =
            runEnd == runStart ||
            sink_.writeHands(std::string_view(text_).substr(runStart, runEnd - runStart), ends_);
        ends_.clear();
        runStart = runEnd;
        return whole;
    };
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint32_t id = held_[k].id;
        const std::size_t end = held_[k].end;
        lastLetOut_ = id;
        const std::size_t position = position_++;
        if (end == begin || !selection_.selects(position, id, 0)) {
            if (!handOver(begin)) return stop();
            runStart = begin = end;
            continue;
        }
        if (handsPerFile_ > 0 && written_ / handsPerFile_ >= files_) {
            if (!handOver(begin) || !sink_.endFile() || !sink_.openFile(++files_)) return stop();
            firstInFile_ = true;
        }
        if (firstInFile_) {
            // The first hand of a file goes without the line that parts it from the hand before.
            if (!handOver(begin)) return stop();
            runStart = text_.find("\r\n", begin) + 2;
            firstInFile_ = false;
        }
        ends_.push_back(end - runStart);
        ++written_;
        begin = end;
    }
    // The block goes to the file without a copy: the hands still held move to another buffer (one that
    // took a block before, with its room), and the block's own buffer is handed over.
    spare_.assign(text_, begin);
    text_.resize(begin);
    text_.swap(spare_);
    if (begin > runStart) {
        spare_.erase(0, runStart);
        if (!sink_.writeHandsTaking(spare_, ends_)) return stop();
    }
    spare_.clear();
    ends_.clear();
    held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(count));
    for (Held& held : held_)
        held.end -= begin;
}

bool WriteAhead::finish() {
    if (active_) letOut(held_.size());
    if (active_ && !sink_.endFile()) stop();
    text_ = {};
    held_ = {};
    late_ = {};
    spare_ = {};
    ends_ = {};
    return active_;
}

void WriteAhead::stop() {
    active_ = false;
    text_ = {};
    spare_ = {};
    held_ = {};
    sink_.discard();
}

}  // namespace noxi
