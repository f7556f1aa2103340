// What following a log has done so far, kept beside the output so that following resumes after an exit or a
// crash without writing a hand twice or missing one: a small text file rewritten whole after every batch of
// hands (where the log was read to, the files being written and their sizes), and an append-only journal of
// the hand numbers written. Both are written only after the hands they tell of are on the disk; what the
// files hold beyond the sizes told is taken off when following resumes, and converted again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace noxi {

struct FollowState {
    // An output file still being written, and its size without its closing line.
    struct File {
        std::string path;
        std::uint64_t size = 0;
        std::uint32_t hands = 0;          // hands in it
        std::string table;                // the table whose day it holds, in a folder of tables
        platform::FileIdentity identity;  // which file it was: another under its name is not taken up
    };

    platform::FileIdentity log;  // the log followed
    std::uint64_t offset = 0;    // where the next record starts, past the last complete line taken
    std::uint64_t records = 0;   // records taken in so far, for the error log's line numbers
    std::string tail;            // the log's last bytes before offset: a log written anew differs there
    std::uint64_t journal = 0;   // bytes of the hand-number journal that count
    std::uint64_t errorLog = 0;  // bytes of the error log that count
    std::string errorLogPath;    // the error log those bytes are in
    platform::FileIdentity errorLogIdentity;
    std::uint32_t fileNumber = 0;  // the numbered file being written (1 for the first), 0 for none yet
    std::vector<File> files;
};

// Loads the state at path: true with a fresh state when there is none; false with the reason when it cannot
// be read or is not a state of this program.
bool loadFollowState(const std::string& path, FollowState& state, std::string& error);

// Saves the state at path in one step (a new file that takes the name), on the disk before it returns.
bool saveFollowState(const std::string& path, const FollowState& state);

// The hand numbers written, kept sorted; the journal beside the state holds them in the order written.
class WrittenHands {
public:
    // Reads the first `bytes` bytes of the journal at path (nothing when it is not there) and cuts it there;
    // false when it cannot be read or cut.
    bool open(const std::string& path, std::uint64_t bytes);
    bool contains(std::uint32_t id) const;
    // Notes a hand written; it reaches the journal with the next save.
    void add(std::uint32_t id);
    // Appends the numbers noted since the last save to the journal, on the disk before it returns.
    bool save();
    // The journal's length after the last save.
    std::uint64_t journalBytes() const { return journalBytes_; }

private:
    std::string path_;
    std::vector<std::uint32_t> sorted_;
    std::vector<std::uint32_t> pending_;
    std::uint64_t journalBytes_ = 0;
};

}  // namespace noxi
