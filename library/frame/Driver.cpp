#include "frame/Driver.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <thread>
#include <vector>

#include "frame/Intake.h"
#include "frame/LogBuffer.h"
#include "frame/ScratchFile.h"
#include "hand/ChunkParser.h"
#include "hand/TextOut.h"
#include "writer/HistoryWriter.h"

namespace noxi {
namespace {

// A good hand as the store keeps it: where its record starts in the loaded text. It is taken in again when
// it is written, so the memory held per hand stays small for logs of millions of hands.
struct StoredHand {
    std::uint32_t id;
    std::uint64_t offset;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Seeks with 64-bit offsets, for logs above 2 GiB.
bool seek(std::FILE* file, int whence) {
#ifdef _WIN32
    return _fseeki64(file, 0, whence) == 0;
#else
    return fseeko(file, 0, whence) == 0;
#endif
}

std::int64_t fileSize(std::FILE* file) {
    if (!seek(file, SEEK_END)) return -1;
#ifdef _WIN32
    const std::int64_t size = _ftelli64(file);
#else
    const std::int64_t size = ftello(file);
#endif
    return seek(file, SEEK_SET) ? size : -1;
}

enum class Outcome { Go, Stop, Fail };

// One conversion: the caller's callback, the results it fills, and the output file being written.
class Conversion {
public:
    Conversion(const char* inPath, const char* outPath, ProgressCallback callback, void* user,
               const ConversionOptions& options, ConversionResults& results, const DriverSettings& settings)
        : inPath_(inPath),
          outPath_(outPath),
          callback_(callback),
          user_(user),
          options_(options),
          results_(results),
          settings_(settings) {}

    int run();

private:
    // Called for every record: the message is copied into a buffer that keeps its room.
    bool report(int stage, std::string_view text, int percent) {
        if (callback_ == nullptr) return true;
        message_.assign(text);
        return callback_(stage, message_.data(), percent, user_);
    }

    // A file-level failure: to the callback when there is one, else into the error log.
    int fail(const std::string& text) {
        if (callback_ == nullptr) {
            results_.errorLog += "ERROR: ";
            results_.errorLog += text;
            results_.errorLog += '\n';
            return -1;
        }
        return report(StageError, text, 0) ? -1 : 0;
    }

    void pause() const {
        if (settings_.pauses) std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }

    int load();
    int process();
    int save();

    // The log's text: all of it, or while hands are written ahead a window of whole lines that moves through
    // the file. text_[0] is the byte at file offset textStart_, and a NUL stands at textEnd_.
    const char* at(std::uint64_t offset) const { return text_ + (offset - textStart_); }
    bool isWhole() const { return static_cast<bool>(logText_); }
    bool loadWhole();
    bool moveWindow(std::uint64_t from);
    void dropWhatWasRead();
    int readFailure();

    // One record taken in by the reused hand, as a new one would take it.
    int takeIn(const char* record, bool evaluate) { return parseLine(hand_, record, options_, evaluate); }

    bool selected(std::size_t position, const StoredHand& hand) const;
    std::string firstOutputName() const {
        return options_.splitMode == SingleFile ? std::string(outPath_) : splitFileName(outPath_, 1);
    }
    bool canWriteAhead() const;
    void writeAhead();
    void abandonWriteAhead();
    int finishWriteAhead();
    bool openOutput(const std::string& path);
    bool writeOut();
    bool closeOutput();
    int writeFailure();

    const char* inPath_;
    const char* outPath_;
    ProgressCallback callback_;
    void* user_;
    const ConversionOptions& options_;
    ConversionResults& results_;
    const DriverSettings& settings_;

    std::string message_;
    FilePtr input_;
    std::uint64_t size_ = 0;
    LogBuffer logText_;
    std::vector<char> window_;
    const char* text_ = nullptr;
    std::uint64_t textStart_ = 0;
    std::uint64_t textEnd_ = 0;
    std::uint64_t readEnd_ = 0;  // how far the window has read the file
    char cutByte_ = 0;           // the byte the window's NUL stands in for
    std::uint64_t recordCount_ = 0;
    std::vector<StoredHand> hands_;
    TakenHand hand_;

    FilePtr output_;
    std::string buffer_;                 // whole hands not yet handed to the file
    std::vector<std::size_t> handEnds_;  // where each buffered hand ends in buffer_

    // Writing ahead: while the good hands come in ascending order, each is written as it is first read,
    // into a scratch file that becomes the output when the saving step opens it.
    ScratchFile ahead_;
    std::vector<std::uint64_t> aheadEnds_;  // where each hand written ahead ends in the scratch file
    std::uint64_t aheadPosition_ = 0;       // hands kept so far, repeated numbers left out
    std::uint32_t aheadLastId_ = 0;
    bool aheadStarted_ = false;
};

std::string quoted(const char* format, std::string_view path) {
    std::string text(format);
    const std::size_t at = text.find("%s");
    text.replace(at, 2, path);
    return text;
}

int Conversion::run() {
    results_.totalHands = 0;
    results_.numBadHands = 0;
    results_.numFiles = 0;
    const std::string name(fileNamePart(inPath_ != nullptr ? inPath_ : ""));
    if (!report(StageTitle, "Converting " + name, 0)) return 0;
    if (!report(StageLoading, "Loading file " + name + "...", 0)) return 0;
    results_.errorLog.clear();
    if (inPath_ == nullptr || outPath_ == nullptr) {
        results_.errorLog += "ERROR: Converter failure!\n";
        return -1;
    }
    refreshTimeZone();

    if (const int result = load(); result != 1) return result;
    if (!report(StageLoading, "Loading file " + name + "...", 100)) return 0;
    pause();

    if (const int result = process(); result != 1) return result;
    pause();

    if (!hands_.empty()) {
        if (const int result = save(); result != 1) return result;
    }
    pause();
    return 1;
}

int Conversion::load() {
    std::error_code error;
    input_.reset(std::filesystem::is_directory(inPath_, error) ? nullptr : std::fopen(inPath_, "rb"));
    if (!input_) return fail(quoted("File \"%s\" could not be found.", inPath_));
    const std::int64_t size = fileSize(input_.get());
    if (size < 1) return fail(quoted("File \"%s\" doesn't contain any hand histories.", inPath_));
    size_ = static_cast<std::uint64_t>(size);
    // Hands written ahead need no more of the log than the line being taken in; otherwise it is loaded whole.
    const bool loaded = settings_.writeAhead && canWriteAhead() ? moveWindow(0) : loadWhole();
    return loaded ? 1 : readFailure();
}

// Nothing read so far is written: the scratch file goes, with the hands and the log's text.
void Conversion::dropWhatWasRead() {
    abandonWriteAhead();
    hands_.clear();
    logText_.release();
    window_ = {};
}

int Conversion::readFailure() {
    dropWhatWasRead();
    return fail(quoted("File \"%s\" could not be loaded.", inPath_));
}

// The whole log from its start: at the outset, for a line too long for a window, or in the saving step when
// the hands read in windows are written the usual way after all (the log is then read a second time).
bool Conversion::loadWhole() {
    window_ = {};
    if (size_ >= SIZE_MAX || !logText_.allocate(static_cast<std::size_t>(size_))) return false;
    if (!seek(input_.get(), SEEK_SET) ||
        std::fread(logText_.data(), 1, static_cast<std::size_t>(size_), input_.get()) != size_) {
        logText_.release();
        return false;
    }
    logText_.data()[size_] = '\0';
    text_ = logText_.data();
    textStart_ = 0;
    textEnd_ = size_;
    readEnd_ = size_;
    return true;
}

// Moves the window on to start at file offset `from`, the end of its lines so far: the bytes read past them
// are kept, more are read behind, and the window ends after its last LF, or with the log.
bool Conversion::moveWindow(std::uint64_t from) {
    auto kept = static_cast<std::size_t>(readEnd_ - from);
    if (!window_.empty()) {
        window_[static_cast<std::size_t>(textEnd_ - textStart_)] = cutByte_;
        std::memmove(window_.data(), window_.data() + (from - textStart_), kept);
    }
    textStart_ = from;
    std::size_t lineEnd = std::string_view::npos;
    while (lineEnd == std::string_view::npos) {
        // A line longer than the window widens it, up to sixteen blocks: a longer one (megabytes of junk
        // without a line end) has the log loaded whole rather than a window that outgrows it.
        if (window_.size() < kept + settings_.readBlockSize + 1) {
            const std::size_t widened = std::max(kept + settings_.readBlockSize + 1, window_.size() * 2);
            if (widened > 16 * settings_.readBlockSize) return loadWhole();
            window_.resize(widened);
        }
        const std::size_t room = window_.size() - 1 - kept;
        const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(size_ - readEnd_, room));
        if (std::fread(window_.data() + kept, 1, wanted, input_.get()) != wanted) return false;
        const std::size_t lookedAt = kept;
        kept += wanted;
        readEnd_ += wanted;
        if (readEnd_ == size_) {
            lineEnd = kept;
        } else if (const std::size_t lf =
                       std::string_view(window_.data() + lookedAt, kept - lookedAt).rfind('\n');
                   lf != std::string_view::npos) {
            lineEnd = lookedAt + lf + 1;
        }
    }
    textEnd_ = from + lineEnd;
    cutByte_ = window_[lineEnd];
    window_[lineEnd] = '\0';
    text_ = window_.data();
    return true;
}

int Conversion::process() {
    if (!report(StageProcessing, "Processing hand histories...", 0)) return 0;
    if (settings_.writeAhead && canWriteAhead()) ahead_.create(firstOutputName(), inPath_);
    // Room for as many hands as a log of this size usually holds, so that the lists are seldom moved (and
    // their pages touched afresh) as they grow; rooms not reached are never touched. Capped, so that a huge
    // log of junk does not ask for much memory it will never use: beyond the cap the lists grow as usual.
    constexpr std::uint64_t UsualHandBytes = 256;
    constexpr std::uint64_t MostHandsForeseen = std::uint64_t{1} << 22;
    const auto usualHands = static_cast<std::size_t>(std::min(size_ / UsualHandBytes, MostHandsForeseen));
    hands_.reserve(usualHands);
    if (ahead_.isOpen()) aheadEnds_.reserve(usualHands);
    std::uint64_t offset = 0;
    do {
        // Only writing needs the hands evaluated; otherwise it is enough to know which records are good.
        const int consumed = takeIn(at(offset), ahead_.isOpen());
        bool startsAtNul = false;
        if (consumed > 0) {
            hands_.push_back({static_cast<std::uint32_t>(hand_.gameId()), offset});
            offset += static_cast<std::uint64_t>(consumed);
            if (ahead_.isOpen()) writeAhead();
        } else {
            const char* error = hand_.errorText();
            results_.errorLog += "ERROR on Line ";
            std::string number;
            appendInt(number, static_cast<std::int64_t>(recordCount_ + 1));
            results_.errorLog += number;
            results_.errorLog += std::string_view(error).starts_with("Chunk") ? ", " : ": ";
            results_.errorLog += error;
            results_.errorLog += '\n';
            ++results_.numBadHands;
            startsAtNul = *at(offset) == '\0';
        }
        offset += skipToNextRecord(at(offset));
        // A NUL inside the log cannot be skipped like a line end: step over it, and over the line ends and
        // blanks after it, so later hands still count.
        if (startsAtNul && offset < size_) offset += 1 + skipLineEnds(at(offset + 1));
        // The window ends after a line end: line ends and blanks that run on are skipped in the next one.
        while (offset == textEnd_ && offset < size_) {
            if (!moveWindow(offset)) return readFailure();
            offset += skipLineEnds(at(offset));
        }
        ++recordCount_;
        if (callback_ != nullptr) {
            const int percent =
                static_cast<int>(static_cast<double>(offset) / static_cast<double>(size_) * 100);
            if (!report(StageProcessing, "Processing hand histories...", percent)) {
                dropWhatWasRead();
                return 0;
            }
        }
    } while (offset < size_);
    window_ = {};

    if (ahead_.isOpen()) {
        if (hands_.empty() || !ahead_.write(buffer_.data(), buffer_.size())) abandonWriteAhead();
        buffer_.clear();
    }

    // Ascending hand numbers; of several records with one number the first in the log stays. Logs are
    // mostly in order already, and then the sort and its buffer are spared.
    const auto byId = [](const StoredHand& a, const StoredHand& b) { return a.id < b.id; };
    if (!std::is_sorted(hands_.begin(), hands_.end(), byId))
        std::stable_sort(hands_.begin(), hands_.end(), byId);
    hands_.erase(std::unique(hands_.begin(), hands_.end(),
                             [](const StoredHand& a, const StoredHand& b) { return a.id == b.id; }),
                 hands_.end());
    return 1;
}

bool Conversion::selected(std::size_t position, const StoredHand& hand) const {
    switch (options_.rangeType) {
        case RangeAll:
            return true;
        case RangeFirst:
            return position < options_.rangeFrom;
        case RangeLast:
            return hands_.size() < options_.rangeFrom || position >= hands_.size() - options_.rangeFrom;
        case RangeBetween:
            return options_.rangeFrom <= hand.id && hand.id <= options_.rangeTo;
        default:
            return false;
    }
}

// Writing ahead gives the same files only when each hand's text and place depend on nothing that comes
// later in the log: a range that needs the number of hands, or more than one file, rules it out.
bool Conversion::canWriteAhead() const {
    const bool range = options_.rangeType == RangeAll || options_.rangeType == RangeFirst ||
                       options_.rangeType == RangeBetween;
    const bool oneFile =
        (options_.splitMode != SplitByFileCount && options_.splitMode != SplitByHandsPerFile) ||
        options_.splitValue == 0;
    return range && oneFile;
}

// The hand just taken in, written ahead when it comes after every hand before it. A hand repeating the last
// number is dropped as the store drops it; an earlier number means the order is not the file order, and the
// hands are written the usual way after all.
void Conversion::writeAhead() {
    const auto id = static_cast<std::uint32_t>(hand_.gameId());
    if (aheadStarted_ && id <= aheadLastId_) {
        if (id < aheadLastId_) abandonWriteAhead();
        return;
    }
    aheadStarted_ = true;
    aheadLastId_ = id;
    if (!selected(aheadPosition_++, StoredHand{id, 0})) return;
    writeHistory(hand_, buffer_, options_, aheadEnds_.empty());
    aheadEnds_.push_back(ahead_.size() + buffer_.size());
    if (buffer_.size() >= settings_.writeBlockSize) {
        if (!ahead_.write(buffer_.data(), buffer_.size())) abandonWriteAhead();
        buffer_.clear();
    }
}

void Conversion::abandonWriteAhead() {
    ahead_.discard();
    aheadEnds_.clear();
    aheadEnds_.shrink_to_fit();
    buffer_.clear();
}

// The saving step for hands written ahead: the scratch file takes the output's name, and the hands are
// counted and reported as they would be written; a stop leaves the file with the hands counted so far.
int Conversion::finishWriteAhead() {
    const auto selectedCount = static_cast<std::uint32_t>(aheadEnds_.size());
    const std::string tableClosed = "Table Closed" + std::string(LineEnd);
    for (std::uint32_t k = 0; k < selectedCount; ++k) {
        ++results_.totalHands;
        if (callback_ == nullptr) continue;
        const int percent = static_cast<int>(static_cast<double>(results_.totalHands) /
                                             static_cast<double>(selectedCount) * 100);
        if (!report(StageSaving, "Saving hand histories to disk...", percent)) {
            const bool closed = ahead_.truncate(aheadEnds_[k]) &&
                                ahead_.write(tableClosed.data(), tableClosed.size()) && ahead_.close();
            ahead_.discard();
            hands_.clear();
            logText_.release();
            if (!closed) fail(quoted("Couldn't write hand history file \"%s\".", outPath_));
            return 0;
        }
    }
    hands_.clear();
    const bool closed = ahead_.write(tableClosed.data(), tableClosed.size()) && ahead_.close();
    ahead_.discard();
    if (!closed) {
        logText_.release();
        return fail(quoted("Couldn't write hand history file \"%s\".", outPath_));
    }
    return 1;
}

bool Conversion::openOutput(const std::string& path) {
    ++results_.numFiles;
    // Replacing the log being converted would destroy it: that output file cannot be created.
    std::error_code error;
    if (std::filesystem::equivalent(path, inPath_, error)) return false;
    output_.reset(std::fopen(path.c_str(), "wb"));
    if (!output_) return false;
    // The driver hands over whole blocks of hands itself; the stream adds no buffering of its own.
    std::setvbuf(output_.get(), nullptr, _IONBF, 0);
    return true;
}

// Hands the buffered hands to the file. On a short write only the hands that reached the file whole count.
bool Conversion::writeOut() {
    if (buffer_.empty()) return true;
    const std::size_t written = std::fwrite(buffer_.data(), 1, buffer_.size(), output_.get());
    if (written != buffer_.size()) {
        const auto whole = std::upper_bound(handEnds_.begin(), handEnds_.end(), written) - handEnds_.begin();
        results_.totalHands -= static_cast<std::uint32_t>(handEnds_.size() - static_cast<std::size_t>(whole));
        buffer_.clear();
        handEnds_.clear();
        return false;
    }
    buffer_.clear();
    handEnds_.clear();
    return true;
}

// Ends the current file with its closing line and closes it; false when any of it failed.
bool Conversion::closeOutput() {
    buffer_ += "Table Closed";
    buffer_ += LineEnd;
    const bool written = writeOut();
    const bool closed = std::fclose(output_.release()) == 0;
    return written && closed;
}

int Conversion::writeFailure() {
    output_.reset();
    hands_.clear();
    logText_.release();
    return fail(quoted("Couldn't write hand history file \"%s\".", outPath_));
}

int Conversion::save() {
    if (!report(StageSaving, "Saving hand histories to disk...", 0)) {
        abandonWriteAhead();
        hands_.clear();
        logText_.release();
        return 0;
    }
    if (ahead_.isOpen()) {
        if (ahead_.promote()) {
            ++results_.numFiles;
            return finishWriteAhead();
        }
        // The scratch file could not take the output's name: the usual way reports what fails.
        abandonWriteAhead();
    }
    if (!isWhole() && !loadWhole()) return readFailure();
    bool firstInFile = true;

    std::uint32_t selectedCount = 0;
    for (std::size_t position = 0; position < hands_.size(); ++position) {
        selectedCount += selected(position, hands_[position]) ? 1 : 0;
    }
    std::uint32_t handsPerFile = 0;
    if (options_.splitMode == SplitByFileCount) {
        if (options_.splitValue > 0) {
            handsPerFile =
                static_cast<std::uint32_t>(static_cast<double>(selectedCount) / options_.splitValue + 0.5);
        }
    } else if (options_.splitMode == SplitByHandsPerFile) {
        handsPerFile = options_.splitValue;
    }

    if (!openOutput(firstOutputName())) {
        hands_.clear();
        logText_.release();
        return fail(quoted("Couldn't create hand history file \"%s\".", outPath_));
    }

    for (std::size_t position = 0; position < hands_.size(); ++position) {
        if (!selected(position, hands_[position])) continue;
        if (handsPerFile > 0 && results_.totalHands / handsPerFile >= results_.numFiles) {
            if (!closeOutput()) return writeFailure();
            if (!openOutput(splitFileName(outPath_, results_.numFiles + 1))) {
                hands_.clear();
                logText_.release();
                return fail(quoted("Couldn't create hand history file \"%s\".", outPath_));
            }
            firstInFile = true;
        }
        // The record was taken in once already; taking it in again gives the same hand.
        if (takeIn(at(hands_[position].offset), true) <= 0) continue;
        writeHistory(hand_, buffer_, options_, firstInFile);
        handEnds_.push_back(buffer_.size());
        firstInFile = false;
        ++results_.totalHands;
        if (buffer_.size() >= settings_.writeBlockSize && !writeOut()) return writeFailure();

        if (callback_ != nullptr) {
            const int percent = static_cast<int>(static_cast<double>(results_.totalHands) /
                                                 static_cast<double>(selectedCount) * 100);
            if (!report(StageSaving, "Saving hand histories to disk...", percent)) {
                const bool closed = closeOutput();
                hands_.clear();
                logText_.release();
                if (!closed) fail(quoted("Couldn't write hand history file \"%s\".", outPath_));
                return 0;
            }
        }
    }
    hands_.clear();
    if (!closeOutput()) return writeFailure();
    return 1;
}

}  // namespace

std::size_t skipLineEnds(const char* text) {
    std::size_t n = 0;
    while (text[n] == '\n' || text[n] == '\r' || text[n] == ' ')
        ++n;
    return n;
}

std::size_t skipToNextRecord(const char* text) {
    std::size_t n = 0;
    while (text[n] != '\0' && text[n] != '\n' && text[n] != '\r')
        ++n;
    return n + skipLineEnds(text + n);
}

std::string_view fileNamePart(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string splitFileName(std::string_view outPath, std::uint32_t number) {
    const std::size_t nameStart = outPath.size() - fileNamePart(outPath).size();
    const std::size_t dot = outPath.find_last_of('.');
    std::string name(
        outPath.substr(0, dot != std::string_view::npos && dot >= nameStart ? dot : outPath.size()));
    appendInt(name, number);
    name += ".txt";
    return name;
}

int convertHands(const char* inPath, const char* outPath, ProgressCallback callback, void* user,
                 const ConversionOptions& options, ConversionResults& results,
                 const DriverSettings& settings) {
    Conversion conversion(inPath, outPath, callback, user, options, results, settings);
    return conversion.run();
}

RunResult convertLog(const char* inPath, const char* outPath, const ConversionOptions& options,
                     ProgressCallback callback, void* user, ConversionResults& results, bool pauses) {
    DriverSettings settings;
    settings.pauses = pauses;
    const int result = convertHands(inPath, outPath, callback, user, options, results, settings);
    return result > 0 ? RunResult::Finished : result == 0 ? RunResult::Stopped : RunResult::Failed;
}

}  // namespace noxi
