// The progress callback of vlconvert: a progress bar on a terminal, file-level failures, and Ctrl-C.
#pragma once

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace vlconvert {

// Draws text in place of the line drawn before (drawnLength columns of it, blanked where the text is
// shorter), starting with a carriage return; drawnLength becomes the text's length.
void redrawLine(std::FILE* stream, std::string text, std::size_t& drawnLength);
// Blanks the line drawn and puts the cursor back at its start.
void wipeLine(std::FILE* stream, std::size_t& drawnLength);
// Text fit for a line redrawn in place: control characters (from a file's name) would move the cursor off
// it; they are shown as '?'.
std::string printable(std::string_view text);

// Receives the library's progress reports. The library calls back after every record and every hand
// written, so a report that changes nothing on screen returns at once.
class ProgressDisplay {
public:
    // With showBar false nothing is drawn; failures and Ctrl-C are still handled.
    ProgressDisplay(std::FILE* stream, bool showBar);
    ~ProgressDisplay() { clear(); }
    ProgressDisplay(const ProgressDisplay&) = delete;
    ProgressDisplay& operator=(const ProgressDisplay&) = delete;

    // The library's ProgressCallback; user is the ProgressDisplay.
    static bool callback(int stage, char* text, int percent, void* user);

    // Removes the bar from the screen.
    void clear();

    // The library's message for a file-level failure, when there was one.
    const std::optional<std::string>& failure() const { return failure_; }

private:
    void update(int stage, const char* text, int percent);
    void draw();

    std::FILE* stream_;
    bool showBar_;
    int width_;  // the terminal's columns
    int stage_ = -1;
    int percent_ = -1;
    std::string text_;
    std::size_t drawnLength_ = 0;
    std::chrono::steady_clock::time_point lastDraw_;
    std::optional<std::string> failure_;
};

}  // namespace vlconvert
