#include "frame/SaveAhead.h"

#include <algorithm>

#include "frame/Retake.h"

namespace noxi {

SaveAhead::SaveAhead(const char* inPath, const char* outPath, const ConversionOptions& options,
                     const HandIndex& index, const Selection& selection, const LogSource::Settings& reading,
                     std::size_t writeBlockSize)
    : inPath_(inPath),
      options_(options),
      index_(index),
      selection_(selection),
      source_(reading),
      // The thread writes its own blocks: a third thread would only share the processors.
      sink_(outPath, inPath, selection.singleFile(), writeBlockSize, false) {}

SaveAhead::~SaveAhead() {
    stopping_ = true;
}

bool SaveAhead::start(const Plan& plan) {
    plan_ = plan;
    position_ = plan.firstPosition;
    if (plan.handsPerFile == 0 || !worker_.start()) return false;
    worker_.run([this] { run(); });
    return true;
}

std::uint32_t SaveAhead::finish() {
    // A job that ran out of memory ended its files where they were: those it finished whole count.
    worker_.wait();
    return filesDone_;
}

void SaveAhead::run() {
    // The thread reads the log through a file of its own: the saving step's window is its alone.
    if (source_.open(inPath_.c_str()) != LogSource::Opened::Yes) return;
    source_.lookBehind(true);
    std::uint64_t left = plan_.hands;
    for (std::uint32_t number = plan_.firstFile; left > 0; ++number) {
        const std::uint64_t hands = std::min<std::uint64_t>(left, plan_.handsPerFile);
        if (!writeFile(number, hands)) break;
        left -= hands;
        ++filesDone_;
    }
    source_.close();
}

bool SaveAhead::writeFile(std::uint32_t number, std::uint64_t hands) {
    if (!sink_.openFile(number)) return false;
    TakenHand hand;
    std::string history;
    for (std::uint64_t written = 0; written < hands; ++written) {
        if (stopping_.load(std::memory_order_relaxed) ||
            !retakeSelected(source_, index_, selection_, position_, options_, written == 0, hand, history) ||
            !sink_.addHand(history)) {
            return false;
        }
    }
    return sink_.endFile();
}

}  // namespace noxi
