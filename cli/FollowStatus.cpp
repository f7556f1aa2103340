#include "FollowStatus.h"

#include <nlohmann/json.hpp>

#include "Console.h"
#include "Progress.h"
#include "common/Summary.h"

namespace vlconvert {
namespace {

// During a long step the line is redrawn about ten times a second at most.
constexpr std::chrono::milliseconds RedrawInterval(100);

using Json = nlohmann::ordered_json;

// Paths and the library's messages need not be UTF-8 (the log's names are code page 1252): such bytes are
// replaced rather than failing the whole line.
std::string jsonLine(const Json& object) {
    return object.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

Json orNull(const std::optional<std::string>& text) {
    return text ? Json(*text) : Json(nullptr);
}

}  // namespace

FollowStatus::FollowStatus(std::FILE* stream, bool show, std::string_view logName)
    : stream_(stream), show_(show), width_(show ? terminalWidth(stream) : 80), logName_(printable(logName)) {}

void FollowStatus::afterStep(const noxi::FollowProgress& progress) {
    if (show_) draw(progress.sessionWritten, progress.sessionSkipped, progress.lastHandTime);
}

void FollowStatus::duringStep(const noxi::FollowProgress& progress) {
    if (!show_ || std::chrono::steady_clock::now() - lastDraw_ < RedrawInterval) return;
    // The session's counts take in the step's only when it ends.
    draw(progress.sessionWritten + progress.written, progress.sessionSkipped + progress.skipped,
         progress.lastHandTime);
}

void FollowStatus::draw(std::uint64_t written, std::uint64_t skipped, const std::string& lastHandTime) {
    std::string line = followStatusText(logName_, written, skipped, printable(lastHandTime));
    // The last column is left free, so the terminal does not wrap.
    const auto room = static_cast<std::size_t>(std::max(width_ - 1, 0));
    if (line.size() > room) line.resize(room);
    redrawLine(stream_, std::move(line), drawnLength_);
    lastDraw_ = std::chrono::steady_clock::now();
}

void FollowStatus::clear() {
    wipeLine(stream_, drawnLength_);
}

std::string followStatusText(std::string_view logName, std::uint64_t written, std::uint64_t skipped,
                             const std::string& lastHandTime) {
    std::string text = "Following " + std::string(logName) + ": " + std::to_string(written) +
                       (written == 1 ? " hand" : " hands") + " written, " + std::to_string(skipped) +
                       " skipped";
    if (!lastHandTime.empty()) text += ", last hand at " + lastHandTime;
    return text;
}

std::string followStepJson(const noxi::FollowProgress& progress) {
    // Hand numbers are written as the histories show them: a log's negative numbers stay negative.
    const Json lastHand =
        progress.sessionWritten > 0 ? Json(static_cast<std::int32_t>(progress.lastHand)) : Json(nullptr);
    return jsonLine(
        {{"hands", progress.written},
         {"skipped", progress.skipped},
         {"lastHand", lastHand},
         {"lastHandTime", progress.sessionWritten > 0 ? Json(progress.lastHandTime) : Json(nullptr)},
         {"sessionHands", progress.sessionWritten},
         {"sessionSkipped", progress.sessionSkipped},
         {"logReadAnew", progress.restarted}});
}

std::string followSummaryText(const FollowReport& report) {
    std::string text = common::conversionSummary(true, 0, report.hands, report.skipped) + "\n";
    if (report.errorLog) text += "Errors were logged to " + *report.errorLog + ".\n";
    return text;
}

std::string followSummaryJson(const FollowReport& report) {
    return jsonLine({{"result", report.failed ? "failed" : "interrupted"},
                     {"input", report.input},
                     {"output", orNull(report.output)},
                     {"folder", orNull(report.folder)},
                     {"handsConverted", report.hands},
                     {"handsSkipped", report.skipped},
                     {"errorLog", orNull(report.errorLog)},
                     {"error", orNull(report.error)}});
}

}  // namespace vlconvert
