// What vlconvert --follow tells while it follows: one status line redrawn in place on a terminal, one JSON
// object on a line of its own for each batch of hands (for scripts), and what the session did at its end.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "frame/Follow.h"

namespace vlconvert {

// The status line: "Following GAMES_V3.LOG: 12 hands written, 1 skipped, last hand at 14:30:00", cut to
// the terminal's width.
class FollowStatus {
public:
    // With show false nothing is drawn.
    FollowStatus(std::FILE* stream, bool show, std::string_view logName);
    ~FollowStatus() { clear(); }
    FollowStatus(const FollowStatus&) = delete;
    FollowStatus& operator=(const FollowStatus&) = delete;

    // Draws the session's counts: at once after a step, at most about ten times a second during one (a
    // long first step on a large log).
    void afterStep(const noxi::FollowProgress& progress);
    void duringStep(const noxi::FollowProgress& progress);
    // Removes the line from the screen.
    void clear();

private:
    void draw(std::uint64_t written, std::uint64_t skipped, const std::string& lastHandTime);

    std::FILE* stream_;
    bool show_;
    int width_;
    std::string logName_;
    std::size_t drawnLength_ = 0;
    std::chrono::steady_clock::time_point lastDraw_;
};

// The text of the status line, before it is cut to the terminal.
std::string followStatusText(std::string_view logName, std::uint64_t written, std::uint64_t skipped,
                             const std::string& lastHandTime);

// One step's JSON line: hands, skipped, lastHand, lastHandTime, sessionHands, sessionSkipped, logReadAnew.
std::string followStepJson(const noxi::FollowProgress& progress);

// What a session of following did, told at its end.
struct FollowReport {
    bool failed = false;
    std::string input;
    std::optional<std::string> output;    // the output file, or the name the numbered files are made from
    std::optional<std::string> folder;    // the folder of tables, instead
    std::optional<std::string> errorLog;  // when this session wrote to it
    std::optional<std::string> error;
    std::uint64_t hands = 0;
    std::uint64_t skipped = 0;
};

// The summary in the desktop program's words, and the error log's line when this session wrote to it.
std::string followSummaryText(const FollowReport& report);
// The same as one JSON object: result ("interrupted" or "failed"), input, output, folder, handsConverted,
// handsSkipped, errorLog, error.
std::string followSummaryJson(const FollowReport& report);

}  // namespace vlconvert
