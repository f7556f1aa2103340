// Hands blocks of bytes to a file on a thread of its own, so that the conversion goes on taking hands in
// while the system copies the last block into the file. The file stays its owner's: the thread touches it
// only between the first hand() and the wait() that follows, and the owner touches it only after wait().
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "platform/Platform.h"

namespace noxi {

class BlockWriter {
public:
    // onThread false writes each block at once, on the caller's thread.
    explicit BlockWriter(platform::OutputFile& file, bool onThread = true)
        : file_(file), noThread_(!onThread) {}
    // Waits for the blocks handed over, and ends the thread.
    ~BlockWriter();
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    // Hands a copy of bytes over, to be written after the blocks before it; waits while a block is still
    // waiting for the thread. False when a block before it did not reach the file whole (nothing more is
    // written then, until wait()).
    bool hand(std::string_view bytes);
    // As hand, but takes block's bytes without a copy, leaving block empty (with the room of a block
    // written before, for the next one).
    bool take(std::string& block);
    // Waits until every block handed over is written; false when one did not reach the file whole. The
    // file is the owner's again, and the next hand() starts afresh.
    bool wait();

private:
    void run();
    // Starts the thread on the first block; false when it cannot be started (blocks are then written here).
    bool started();
    // Writes synchronously when no thread could be started.
    bool writeHere(std::string_view bytes);

    platform::OutputFile& file_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string waiting_;  // the block handed over, not yet taken by the thread
    std::string writing_;  // the block the thread writes
    bool hasWaiting_ = false;
    bool busy_ = false;    // the thread is writing a block
    bool failed_ = false;  // a block did not reach the file whole
    bool ending_ = false;
    bool noThread_ = false;
    std::thread thread_;
};

}  // namespace noxi
