#include "Follow.h"

#include <iostream>

#include "Console.h"
#include "FollowStatus.h"
#include "Paths.h"
#include "frame/Conversion.h"
#include "frame/Follow.h"

namespace vlconvert {
namespace {

// The longest wait between two looks at the log when no change is told (on Linux every change is told at
// once; on Windows the platform looks at least four times a second).
constexpr int WaitMs = 1000;

// Prints a line for a script at once, so that it can act on each batch as it comes.
void printNow(const std::string& line) {
    std::cout << line << std::flush;
}

}  // namespace

int followLog(const CliOptions& options, const std::string& errorLog) {
    FollowReport report;
    report.input = *options.input;
    if (options.followFolder) {
        report.folder = options.followFolder;
    } else {
        report.output = options.output;
    }
    noxi::LogFollower follower({.log = *options.input,
                                .output = options.output,
                                .folder = options.followFolder.value_or(""),
                                .errorLog = errorLog,
                                .options = options.conversion});
    // Two programs following into the same place would both write every hand: the second is refused. The
    // journal of hand numbers is the file that lives as long as the state.
    FileLock lock;
    if (lock.lock(follower.statePath() + "-hands") == FileLock::Result::Busy) {
        report.failed = true;
        report.error = "another vlconvert is already following into '" +
                       options.followFolder.value_or(options.output) + "'";
        std::cerr << "vlconvert: " << *report.error << '\n';
        if (options.json) std::cout << followSummaryJson(report);
        return ExitFailure;
    }
    FollowStatus status(stderr, !options.quiet && isTerminal(stderr), noxi::fileNamePart(*options.input));
    catchStopRequests();

    noxi::FollowProgress progress;
    bool stopped = false;
    const auto stop = [&] {
        status.duringStep(progress);
        return interruptRequested();
    };
    bool good = follower.start();
    if (good) status.afterStep(progress);
    while (good && !stopped) {
        good = follower.step(progress, stop);
        if (progress.written > 0 || progress.skipped > 0) {
            status.afterStep(progress);
            if (options.json) printNow(followStepJson(progress));
        }
        stopped = interruptRequested();
        if (good && !stopped) follower.wait(WaitMs);
    }
    // Following ends only when stopped or failed. After a failure the files are left as the state tells of
    // them: the next run takes off what lies beyond and goes on from there.
    if (good) good = follower.finish();
    status.clear();

    report.hands = progress.sessionWritten;
    report.skipped = progress.sessionSkipped;
    if (report.skipped > 0) report.errorLog = errorLog;
    if (!good) {
        report.failed = true;
        report.error = follower.error();
        std::cerr << "vlconvert: " << *report.error << '\n';
    }
    std::cout << (options.json ? followSummaryJson(report) : report.failed ? "" : followSummaryText(report));
    return good ? ExitInterrupted : ExitFailure;
}

}  // namespace vlconvert
