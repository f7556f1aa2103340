// The core's interface for following a log while it grows (vlconvert --follow): what the log holds is
// converted, then every complete line appended to it, each new hand appended to the output as a whole hand
// in the order its line completed, so that a tracker's auto-import shows the hands during the session.
//
// - Only complete lines are taken: a line without its line end waits for it.
// - Each hand number is written once; a repeated number is skipped as a conversion skips it.
// - A state beside the output (FollowState) lets following resume after an exit or a crash without writing a
//   hand twice or missing one.
// - A log cut short or replaced (a new session of the poker program) is read again from its start; hands
//   written already are not written again.
// - Damaged lines are appended to the error log, numbered from the start of the log.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "frame/Conversion.h"

namespace noxi {

struct FollowSettings {
    std::string log;       // the log followed
    std::string output;    // the output file, or the name the numbered files are made from
    std::string folder;    // when not empty: one file per table and day in this folder instead of output
    std::string errorLog;  // damaged lines are appended here
    // The writer's choices and the split (SingleFile, or SplitByHandsPerFile with its value); the range is
    // not used: every hand is written.
    ConversionOptions options;
};

// What a step did, and what the session has done.
struct FollowProgress {
    std::uint64_t written = 0;         // hands written by the last step
    std::uint64_t skipped = 0;         // damaged records met by the last step
    std::uint64_t sessionWritten = 0;  // since start
    std::uint64_t sessionSkipped = 0;
    std::uint32_t lastHand = 0;  // the number of the last hand written, when any was
    std::string lastHandTime;    // its local start time as the history shows it ("14:30:00")
    bool restarted = false;      // the last step found the log cut short or replaced, and read it anew
};

class LogFollower {
public:
    explicit LogFollower(FollowSettings settings);
    ~LogFollower();
    LogFollower(const LogFollower&) = delete;
    LogFollower& operator=(const LogFollower&) = delete;

    // The state file kept beside the output (its journal of hand numbers lies beside it).
    std::string statePath() const;

    // Takes up where a former run stopped (the files' closing lines taken off), and opens the log. False
    // with error() when the state cannot be read or the files cannot be taken up. A log not there yet is
    // waited for.
    bool start();
    // Converts the complete lines appended since the last step and writes their hands; stop is asked
    // between hands, and a true answer ends the step after the hand being written, files and state
    // consistent. False with error() when the log cannot be read or a file cannot be written.
    bool step(FollowProgress& progress, const std::function<bool()>& stop = {});
    // Waits until the log may have changed, at most timeoutMs milliseconds.
    void wait(int timeoutMs);
    // Ends following: every file being written gets its closing line, and the state is saved. False with
    // error().
    bool finish();

    const std::string& error() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace noxi
