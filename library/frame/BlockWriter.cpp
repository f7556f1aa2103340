#include "frame/BlockWriter.h"

namespace noxi {

bool BlockWriter::ready() {
    // A job that ran out of memory wrote nothing whole.
    if (!worker_.wait()) failed_ = true;
    onThread_ = onThread_ && worker_.start();
    return !failed_;
}

void BlockWriter::write() {
    const auto job = [this] {
        if (!failed_) failed_ = file_.write(writing_.data(), writing_.size()) != writing_.size();
    };
    if (onThread_) {
        worker_.run(job);
    } else {
        job();
    }
}

bool BlockWriter::hand(std::string_view bytes) {
    if (!ready()) return false;
    if (bytes.empty()) return true;
    writing_.assign(bytes);
    write();
    return true;
}

bool BlockWriter::take(std::string& block) {
    if (!ready()) {
        block.clear();
        return false;
    }
    if (block.empty()) return true;
    // The block's buffer is taken over; the one written before goes back, emptied, with its room.
    writing_.swap(block);
    block.clear();
    write();
    return true;
}

bool BlockWriter::wait() {
    const bool whole = ready();
    failed_ = false;
    return whole;
}

}  // namespace noxi
