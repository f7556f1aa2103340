#include "frame/BlockWriter.h"

#include <system_error>
#include <utility>

namespace noxi {

BlockWriter::~BlockWriter() {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !hasWaiting_ && !busy_; });
        ending_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

bool BlockWriter::writeHere(std::string_view bytes) {
    if (failed_) return false;
    failed_ = file_.write(bytes.data(), bytes.size()) != bytes.size();
    return !failed_;
}

bool BlockWriter::started() {
    if (!thread_.joinable() && !noThread_) {
        try {
            thread_ = std::thread(&BlockWriter::run, this);
        } catch (const std::system_error&) {
            noThread_ = true;
        }
    }
    return !noThread_;
}

bool BlockWriter::hand(std::string_view bytes) {
    if (bytes.empty()) return !failed_;
    if (!started()) return writeHere(bytes);
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !hasWaiting_ || failed_; });
        if (failed_) return false;
        waiting_.assign(bytes);
        hasWaiting_ = true;
    }
    changed_.notify_all();
    return true;
}

bool BlockWriter::take(std::string& block) {
    if (block.empty()) return !failed_;
    if (!started()) {
        const bool whole = writeHere(block);
        block.clear();
        return whole;
    }
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !hasWaiting_ || failed_; });
        if (failed_) {
            block.clear();
            return false;
        }
        waiting_.clear();
        std::swap(waiting_, block);
        hasWaiting_ = true;
    }
    changed_.notify_all();
    return true;
}

bool BlockWriter::wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !hasWaiting_ && !busy_; });
    const bool whole = !failed_;
    failed_ = false;
    return whole;
}

void BlockWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return hasWaiting_ || ending_; });
        if (!hasWaiting_) return;
        // The block is taken over by swapping, so that both buffers keep their room for the next blocks.
        std::swap(waiting_, writing_);
        hasWaiting_ = false;
        busy_ = true;
        const bool skip = failed_;
        lock.unlock();
        changed_.notify_all();
        const bool whole = skip || file_.write(writing_.data(), writing_.size()) == writing_.size();
        lock.lock();
        busy_ = false;
        if (!whole) failed_ = true;
        changed_.notify_all();
    }
}

}  // namespace noxi
