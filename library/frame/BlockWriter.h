// Hands blocks of bytes to a file on a thread of its own, so that the conversion goes on taking hands in
// while the system copies the last block into the file. The file stays its owner's: the thread touches it
// only between the first hand() and the wait() that follows, and the owner touches it only after wait().
#pragma once

#include <string>
#include <string_view>

#include "frame/Worker.h"
#include "platform/Platform.h"

namespace noxi {

class BlockWriter {
public:
    // onThread false writes each block at once, on the caller's thread.
    explicit BlockWriter(platform::OutputFile& file, bool onThread = true)
        : file_(file), onThread_(onThread) {}
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    // Hands a copy of bytes over, to be written after the blocks before it once the block before is
    // written. False when a block before it did not reach the file whole (nothing more is written then,
    // until wait()).
    bool hand(std::string_view bytes);
    // As hand, but takes block's bytes without a copy, leaving block empty (with the room of a block
    // written before, for the next one).
    bool take(std::string& block);
    // Waits until every block handed over is written; false when one did not reach the file whole. The
    // file is the owner's again, and the next hand() starts afresh.
    bool wait();

private:
    // Waits for the block before; false when it (or one before it) fell short.
    bool ready();
    // Writes writing_, on the thread when there is one.
    void write();

    platform::OutputFile& file_;
    bool onThread_;
    std::string writing_;  // the block being written
    bool failed_ = false;  // a block did not reach the file whole; set by the job, read once it is done
    Worker worker_;        // ends (waiting for its block) before the buffer does
};

}  // namespace noxi
