#include "frame/Follow.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <string_view>

#include "frame/FollowState.h"
#include "frame/Intake.h"
#include "frame/LiveOutput.h"
#include "frame/LogSource.h"
#include "hand/ChunkParser.h"
#include "hand/TextOut.h"
#include "platform/Platform.h"
#include "writer/HistoryWriter.h"

namespace noxi {
namespace {

// How much of the log before the place reached is kept in the state: a log written anew differs there.
constexpr std::size_t TailBytes = 64;
// Hands are put on the disk, and the state saved, at least every so many bytes of histories, so that the
// first step on a large log holds little in memory.
constexpr std::size_t BatchBytes = std::size_t{4} << 20;
// How long a file held by another program is waited for.
constexpr std::chrono::seconds BusyPatience{60};

// The state beside the output: beside the output file, or in the folder of tables.
std::string statePathOf(const FollowSettings& settings) {
    return settings.folder.empty() ? settings.output + ".follow" : settings.folder + "/vlconvert.follow";
}

}  // namespace

struct LogFollower::Impl {
    explicit Impl(FollowSettings s)
        : settings(std::move(s)),
          output({.output = settings.output,
                  .folder = settings.folder,
                  .singleFile = settings.options.splitMode != SplitByHandsPerFile,
                  .handsPerFile =
                      settings.options.splitMode == SplitByHandsPerFile ? settings.options.splitValue : 0}) {}

    bool fail(std::string text) {
        error = std::move(text);
        return false;
    }
    bool logFailure() { return fail("cannot read the log '" + settings.log + "'"); }

    // Opens the log when it is there; a log not there is waited for.
    bool openLog();
    // Starts reading the log from its start: it was cut short, replaced, or written anew.
    void restart(FollowProgress& progress);
    // The bytes of the log just before offset, as far as TailBytes.
    std::string tailBefore(std::uint64_t offset);
    // Just past the last line end of the log's first `size` bytes, from `from` on; `from` when there is none.
    std::uint64_t completeEnd(std::uint64_t from, std::uint64_t size);
    bool saveBatch();

    FollowSettings settings;
    LiveOutput output;
    LogSource source;
    platform::FileWatch watch;
    FollowState state;
    WrittenHands written;
    TakenHand hand;
    std::string history;
    std::string errorLines;
    std::size_t batchBytes = 0;
    std::optional<std::chrono::steady_clock::time_point> busySince;  // a file held by another program
    bool logOpen = false;
    bool freshErrorLog = true;  // not the error log of a former run: written anew at the first damaged line
    std::string error;
};

bool LogFollower::Impl::openLog() {
    logOpen = false;
    const LogSource::Opened opened = source.open(settings.log.c_str());
    if (opened == LogSource::Opened::Utf16) {
        return fail("the log '" + settings.log + "' is not a Velmora hand log (it is saved as UTF-16 text)");
    }
    logOpen = opened != LogSource::Opened::Missing;
    return true;
}

void LogFollower::Impl::restart(FollowProgress& progress) {
    state.offset = 0;
    state.records = 0;
    state.tail.clear();
    progress.restarted = true;
}

std::string LogFollower::Impl::tailBefore(std::uint64_t offset) {
    const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(offset, TailBytes));
    std::string bytes(size, '\0');
    if (source.readAt(offset - size, bytes) != bytes.size()) bytes.clear();
    return bytes;
}

std::uint64_t LogFollower::Impl::completeEnd(std::uint64_t from, std::uint64_t size) {
    std::string block;
    for (std::uint64_t end = size; end > from;) {
        const std::uint64_t start = std::max(from, end - std::min<std::uint64_t>(end, 64 << 10));
        block.resize(static_cast<std::size_t>(end - start));
        if (source.readAt(start, block) != block.size()) return from;
        const std::size_t lineEnd = block.find_last_of("\r\n");
        if (lineEnd != std::string::npos) return start + lineEnd + 1;
        end = start;
    }
    return from;
}

bool LogFollower::Impl::saveBatch() {
    batchBytes = 0;
    const LiveOutput::Flushed flushed = output.flush(error);
    if (flushed == LiveOutput::Flushed::Failed) return false;
    if (flushed == LiveOutput::Flushed::Busy) {
        // A file a tracker holds while it imports it: its hands wait for the next batch, and nothing that
        // tells of them is saved meanwhile (after a crash they are converted again). A file held for long
        // is a failure.
        const auto now = std::chrono::steady_clock::now();
        if (!busySince) busySince = now;
        if (now - *busySince < BusyPatience) return true;
        error += ": held by another program for a minute";
        return false;
    }
    busySince.reset();
    if (!errorLines.empty()) {
        platform::OutputFile file;
        // The error log of a former conversion is replaced at the first damaged line; this run's is appended
        // to.
        const bool opened = freshErrorLog ? file.create(settings.errorLog.c_str())
                                          : file.openForAppend(settings.errorLog.c_str()) ||
                                                file.create(settings.errorLog.c_str());
        if (!opened || file.write(errorLines.data(), errorLines.size()) != errorLines.size() ||
            !file.sync()) {
            return fail("cannot write the error log '" + settings.errorLog + "'");
        }
        state.errorLog = file.size();
        file.close();
        platform::fileIdentity(settings.errorLog.c_str(), state.errorLogIdentity);
        errorLines.clear();
        freshErrorLog = false;
    }
    if (!written.save()) return fail("cannot write the follow state '" + statePathOf(settings) + "-hands'");
    state.journal = written.journalBytes();
    // The place reached moves only in a step, while the log is open; after it the tail told stays true.
    if (logOpen) state.tail = tailBefore(state.offset);
    output.describe(state);
    if (!saveFollowState(statePathOf(settings), state)) {
        return fail("cannot write the follow state '" + statePathOf(settings) + "'");
    }
    return true;
}

LogFollower::LogFollower(FollowSettings settings) : impl_(std::make_unique<Impl>(std::move(settings))) {}

LogFollower::~LogFollower() = default;

std::string LogFollower::statePath() const {
    return statePathOf(impl_->settings);
}

bool LogFollower::start() {
    Impl& self = *impl_;
    refreshTimeZone();
    if (!loadFollowState(statePath(), self.state, self.error)) return false;
    // The error log the former run wrote (not another the user names now, nor one a conversion wrote since)
    // keeps what the state tells of; any other is written anew at the first damaged line.
    platform::FileIdentity errorLog;
    self.freshErrorLog = self.state.errorLog == 0 || self.state.errorLogPath != self.settings.errorLog ||
                         !platform::fileIdentity(self.settings.errorLog.c_str(), errorLog) ||
                         !(errorLog == self.state.errorLogIdentity);
    self.state.errorLogPath = self.settings.errorLog;
    if (!self.written.open(statePath() + "-hands", self.state.journal)) {
        return self.fail("cannot read the follow state '" + statePath() + "-hands'");
    }
    if (!self.output.resume(self.state, self.error)) return false;
    // Lines written after the state was saved come again.
    if (!self.freshErrorLog) {
        platform::OutputFile errors;
        if (errors.openForAppend(self.settings.errorLog.c_str()) && errors.size() > self.state.errorLog &&
            !errors.truncate(self.state.errorLog)) {
            return self.fail("cannot write the error log '" + self.settings.errorLog + "'");
        }
    }
    self.watch.watch(self.settings.log.c_str());
    return self.openLog();
}

bool LogFollower::step(FollowProgress& progress, const std::function<bool()>& stop) {
    Impl& self = *impl_;
    progress.written = progress.skipped = 0;
    progress.restarted = false;
    // Hands waiting for a file another program holds are tried again, new lines or not.
    if (self.busySince && !self.saveBatch()) return false;
    // The log is held open only during a step: on Windows an open file's name cannot be taken by another
    // file, so the poker program could neither put a new log in its place nor make one after deleting it.
    struct CloseLog {
        Impl& self;
        ~CloseLog() {
            self.source.close();
            self.logOpen = false;
        }
    } closeLog{self};

    // The log as it is now: another file under its name, cut short, or written anew is read from its start.
    platform::FileIdentity now;
    if (!platform::fileIdentity(self.settings.log.c_str(), now)) {
        self.logOpen = false;  // gone for now: waited for
        return true;
    }
    if (!self.logOpen || !(now == self.state.log)) {
        if (!self.openLog()) return false;
        if (!self.logOpen) return true;
        if (!(now == self.state.log) && self.state.log != platform::FileIdentity{}) self.restart(progress);
        self.state.log = now;
    }
    std::int64_t size = self.source.fileSize();
    if (size < 0) return self.logFailure();
    if (static_cast<std::uint64_t>(size) < self.state.offset ||
        (self.state.offset > 0 && self.tailBefore(self.state.offset) != self.state.tail)) {
        self.restart(progress);
    }
    const std::uint64_t end = self.completeEnd(self.state.offset, static_cast<std::uint64_t>(size));
    if (end <= self.state.offset) return true;
    self.source.limit(end);

    std::uint64_t offset = self.state.offset;
    // Between lines the line ends and blanks are passed over; only the log's first record starts where it
    // does.
    if (offset > 0 && !self.source.skipLineEnds(offset)) return self.logFailure();
    while (offset < end) {
        const int consumed = takeIn(self.source, offset, self.hand, self.settings.options, false);
        if (consumed < 0) return self.logFailure();
        ++self.state.records;
        if (consumed > 0) {
            const auto id = static_cast<std::uint32_t>(self.hand.gameId());
            if (!self.written.contains(id)) {
                self.history.clear();
                settle(self.hand, self.settings.options);
                writeHistory(self.hand, self.history, self.settings.options, false);
                self.output.add(self.history, self.hand.record.tableName.value_or(""),
                                startTimeFields(self.hand.record.startTime));
                self.written.add(id);
                self.batchBytes += self.history.size();
                ++progress.written;
                progress.lastHand = id;
                const std::string when = formatStartTime(self.hand.record.startTime);
                const std::size_t clock = when.find(':');
                progress.lastHandTime = clock >= 2 ? when.substr(clock - 2, 8) : when;
            }
        } else {
            self.errorLines += "ERROR on Line ";
            appendInt(self.errorLines, static_cast<std::int64_t>(self.state.records));
            self.errorLines += std::string_view(self.hand.errorText()).starts_with("Chunk") ? ", " : ": ";
            self.errorLines += self.hand.errorText();
            // The file the programs write of a conversion's error log is a text file of the platform.
            self.errorLines += platform::TextLineEnd;
            ++progress.skipped;
        }
        if (!self.source.nextRecord(offset, consumed > 0 ? static_cast<std::uint64_t>(consumed) : 0,
                                    offset)) {
            return self.logFailure();
        }
        self.state.offset = offset;
        if (self.batchBytes >= BatchBytes && !self.saveBatch()) return false;
        if (stop && stop()) break;
    }
    progress.sessionWritten += progress.written;
    progress.sessionSkipped += progress.skipped;
    return self.saveBatch();
}

void LogFollower::wait(int timeoutMs) {
    impl_->watch.wait(timeoutMs);
}

bool LogFollower::finish() {
    Impl& self = *impl_;
    if (!self.saveBatch()) return false;
    if (!self.output.closeAll(self.error)) return false;
    return true;
}

const std::string& LogFollower::error() const {
    return impl_->error;
}

}  // namespace noxi
