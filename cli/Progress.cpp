#include "Progress.h"

#include <algorithm>

#include "Console.h"
#include "NoxiConverter.h"

namespace vlconvert {
namespace {

// At most about 20 redraws a second.
constexpr std::chrono::milliseconds RedrawInterval(50);
constexpr int WidestBar = 40;
constexpr std::size_t TextColumns = 32;

}  // namespace

ProgressDisplay::ProgressDisplay(std::FILE* stream, bool showBar)
    : stream_(stream), showBar_(showBar), width_(showBar ? terminalWidth(stream) : 80) {}

bool ProgressDisplay::callback(int stage, char* text, int percent, void* user) {
    auto& self = *static_cast<ProgressDisplay*>(user);
    if (stage == StageError) {
        // True makes the library report the failure as such (-1) rather than as a stop.
        self.failure_ = text;
        return true;
    }
    if (interruptRequested()) return false;
    if (self.showBar_ && (stage != self.stage_ || percent != self.percent_))
        self.update(stage, text, percent);
    return true;
}

void ProgressDisplay::update(int stage, const char* text, int percent) {
    const auto now = std::chrono::steady_clock::now();
    if (stage == stage_ && now - lastDraw_ < RedrawInterval) return;
    if (stage != stage_) {
        // The library's text lives only during the call.
        text_ = printable(text);
    }
    stage_ = stage;
    percent_ = percent;
    lastDraw_ = now;
    draw();
}

void ProgressDisplay::draw() {
    const int percent = std::clamp(percent_, 0, 100);
    const int room = width_ - 1;     // the last column is left free, so the terminal does not wrap
    const int numberWidth = 5;       // " 100%"
    if (room < numberWidth) return;  // not even the number fits
    std::string line = text_;
    // Stage texts padded to the longest one ("Saving hand histories to disk..."), so the bar keeps its place.
    if (line.size() < TextColumns && static_cast<int>(TextColumns) + numberWidth + 13 <= room)
        line.resize(TextColumns, ' ');
    const int barWidth = std::min(WidestBar, room - static_cast<int>(line.size()) - numberWidth - 3);
    if (barWidth >= 10) {
        const int filled = barWidth * percent / 100;
        line += " [";
        line.append(static_cast<std::size_t>(filled), '#');
        line.append(static_cast<std::size_t>(barWidth - filled), '.');
        line += ']';
    } else if (static_cast<int>(line.size()) > room - numberWidth) {
        line.resize(static_cast<std::size_t>(std::max(0, room - numberWidth)));
    }
    char number[8];
    std::snprintf(number, sizeof number, " %3d%%", percent);
    line += number;
    redrawLine(stream_, std::move(line), drawnLength_);
}

void ProgressDisplay::clear() {
    wipeLine(stream_, drawnLength_);
}

void redrawLine(std::FILE* stream, std::string text, std::size_t& drawnLength) {
    const std::size_t length = text.size();
    if (length < drawnLength) text.append(drawnLength - length, ' ');
    text.insert(text.begin(), '\r');
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
    drawnLength = length;
}

void wipeLine(std::FILE* stream, std::size_t& drawnLength) {
    if (drawnLength == 0) return;
    std::string blank = "\r";
    blank.append(drawnLength, ' ');
    blank += '\r';
    std::fwrite(blank.data(), 1, blank.size(), stream);
    std::fflush(stream);
    drawnLength = 0;
}

std::string printable(std::string_view text) {
    std::string shown(text);
    std::ranges::replace_if(
        shown, [](unsigned char c) { return c < 0x20 || c == 0x7F; }, '?');
    return shown;
}

}  // namespace vlconvert
