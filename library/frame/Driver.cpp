#include "frame/Driver.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "frame/HandIndex.h"
#include "frame/HistorySink.h"
#include "frame/Intake.h"
#include "frame/LogSource.h"
#include "frame/RecordStream.h"
#include "frame/Retake.h"
#include "frame/SaveAhead.h"
#include "hand/ChunkParser.h"
#include "hand/TextOut.h"

namespace noxi {
namespace {

std::string quoted(std::string_view format, std::string_view path) {
    std::string text(format);
    text.replace(text.find("%s"), 2, path);
    return text;
}

// How a step of a conversion ended: on to the next step, stopped by the callback, or failed with a message
// still to be told.
enum class Step { Go, Stop, Fail };

LogSource::Settings readingSettings(const DriverSettings& settings) {
    return {.blockSize = settings.readBlockSize,
            .mostWindow = std::max(settings.readBlockSize * 16, std::size_t{4096})};
}

// One conversion: the log source, the hand index, the history sink, and the caller's callback and results.
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
          settings_(settings),
          selection_(options),
          source_(readingSettings(settings)) {}

    RunResult run();

private:
    Step load();
    Step process();
    Step save();
    // Closes what the run left open, as the step that ended it asks, and tells what failed.
    RunResult close(Step step);

    // The callback's report; the text is copied into a buffer that keeps its room.
    bool report(int stage, std::string_view text, int percent) {
        if (callback_ == nullptr) return true;
        message_.assign(text);
        return callback_(stage, message_.data(), percent, user_);
    }
    // A file-level failure: to the callback when there is one, else into the error log.
    RunResult tell(const std::string& text) {
        if (callback_ == nullptr) {
            results_.errorLog += "ERROR: ";
            results_.errorLog += text;
            results_.errorLog += '\n';
            return RunResult::Failed;
        }
        return report(StageError, text, 0) ? RunResult::Failed : RunResult::Stopped;
    }
    Step failWith(std::string text) {
        failure_ = std::move(text);
        return Step::Fail;
    }
    Step readFailure() { return failWith(quoted("File \"%s\" could not be loaded.", inPath_)); }
    Step writeFailure() {
        results_.totalHands -= static_cast<std::uint32_t>(direct_ ? direct_->handsLost() : 0);
        direct_.reset();
        return failWith(quoted("Couldn't write hand history file \"%s\".", outPath_));
    }
    void pause() const {
        if (settings_.pauses) std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }

    void logBadRecord(const char* error);
    void startWriteAhead();
    // Makes file `number` the one written: its scratch file takes its name, or it is created.
    Step beginFile(std::uint32_t number);
    // Written ahead, a file that could not take its name ends writing ahead: the hands from the one being
    // saved on are taken in again and written at their names, which tells what fails.
    void writeTheRestDirectly();
    // Taken in again for several files, the second half of the files is written on a second thread.
    void startSaveAhead(std::uint32_t selected, std::uint32_t handsPerFile);
    // Makes file `number`, written on the second thread, the one written; false when the thread did not
    // write it whole or it could not take its name: the thread then ends, and the saving step writes the
    // file and the rest itself.
    bool publishSavedAhead(std::uint32_t number);
    // The index position of the selected hand that `hands` selected hands come before.
    std::size_t positionOfSelected(std::uint64_t hands) const;
    // Takes in again and writes the selected hand at index position position_.
    Step writeFromIndex();

    const char* inPath_;
    const char* outPath_;
    ProgressCallback callback_;
    void* user_;
    const ConversionOptions& options_;
    ConversionResults& results_;
    const DriverSettings& settings_;
    Selection selection_;
    std::string message_;
    std::string failure_;

    LogSource source_;
    HandIndex index_;
    TakenHand hand_;
    std::uint64_t recordCount_ = 0;

    std::unique_ptr<ScratchSink> scratch_;
    std::unique_ptr<WriteAhead> ahead_;
    std::unique_ptr<DirectSink> direct_;
    std::unique_ptr<SaveAhead> saveAhead_;
    std::uint64_t savedAheadFrom_ = 0;  // the selected hands before the second thread's first file
    std::string history_;
    std::size_t position_ = 0;  // the index position of the next hand to look at for saving
    bool firstInFile_ = true;
    bool fileWrittenAhead_ = false;  // the hands of the file being saved are in it already
    bool saving_ = false;            // a file of the output has been begun
};

RunResult Conversion::run() {
    results_.totalHands = 0;
    results_.numBadHands = 0;
    results_.numFiles = 0;
    const std::string name(fileNamePart(inPath_ != nullptr ? inPath_ : ""));
    if (!report(StageTitle, "Converting " + name, 0)) return RunResult::Stopped;
    if (!report(StageLoading, "Loading file " + name + "...", 0)) return RunResult::Stopped;
    results_.errorLog.clear();
    if (inPath_ == nullptr || outPath_ == nullptr) {
        results_.errorLog += "ERROR: Converter failure!\n";
        return RunResult::Failed;
    }
    refreshTimeZone();

    Step step = load();
    if (step == Step::Go) {
        if (!report(StageLoading, "Loading file " + name + "...", 100)) return close(Step::Stop);
        pause();
        step = process();
    }
    if (step == Step::Go) {
        pause();
        if (!index_.empty()) step = save();
    }
    return close(step);
}

Step Conversion::load() {
    switch (source_.open(inPath_)) {
        case LogSource::Opened::Missing:
            return failWith(quoted("File \"%s\" could not be found.", inPath_));
        case LogSource::Opened::Empty:
            return failWith(quoted("File \"%s\" doesn't contain any hand histories.", inPath_));
        case LogSource::Opened::Utf16:
            return failWith(
                quoted("File \"%s\" is not a Velmora hand log (it is saved as UTF-16 text).", inPath_));
        case LogSource::Opened::Yes:
            break;
    }
    LogSource::Piece first;
    return source_.pieceAt(0, first) ? Step::Go : readFailure();
}

void Conversion::logBadRecord(const char* error) {
    results_.errorLog += "ERROR on Line ";
    appendInt(results_.errorLog, static_cast<std::int64_t>(recordCount_ + 1));
    results_.errorLog += std::string_view(error).starts_with("Chunk") ? ", " : ": ";
    results_.errorLog += error;
    results_.errorLog += '\n';
    ++results_.numBadHands;
}

// Hands are written ahead only where their selection and their files depend on nothing later in the log:
// not for the last hands, nor for a number of files, which need the count of hands. (Written ahead, the
// later files of a split would have to be copied out of one file: after a pause the system writes slowly,
// and writing them twice costs more than taking their hands in again.)
void Conversion::startWriteAhead() {
    if (!settings_.writeAhead || !selection_.knownRange() || selection_.selectionNeedsCount() ||
        selection_.filesNeedCount()) {
        return;
    }
    scratch_ =
        std::make_unique<ScratchSink>(outPath_, inPath_, selection_.singleFile(), settings_.writeBlockSize);
    ahead_ =
        std::make_unique<WriteAhead>(options_, index_, *scratch_, settings_.window, settings_.writeBlockSize);
    if (!ahead_->start()) {
        ahead_.reset();
        scratch_.reset();
    }
}

Step Conversion::process() {
    if (!report(StageProcessing, "Processing hand histories...", 0)) return Step::Stop;
    startWriteAhead();
    // Room for as many hands as a log of this size usually holds, so that the index is seldom moved (and its
    // pages touched afresh) as it grows; room not reached is never touched. Capped, so that a huge log of
    // junk does not ask for much memory it will never use.
    constexpr std::uint64_t UsualHandBytes = 256;
    constexpr std::uint64_t MostHandsForeseen = std::uint64_t{1} << 22;
    const auto usualHands =
        static_cast<std::size_t>(std::min(source_.size() / UsualHandBytes, MostHandsForeseen));
    index_.reserve(usualHands);
    if (scratch_) scratch_->reserve(usualHands);

    // Written ahead, the second processor takes the scratch file's blocks; else it decodes the betting.
    const bool decodeOnThread = settings_.decodeOnThread && !ahead_;
    RecordStream records(source_, options_, decodeOnThread ? settings_.decodeBatch : 1, decodeOnThread);
    RecordStream::Record record;
    for (;;) {
        const RecordStream::Got got = records.next(record);
        if (got == RecordStream::Got::End) break;
        if (got == RecordStream::Got::Unreadable) return readFailure();
        if (record.result > 0) {
            const auto id = static_cast<std::uint32_t>(record.hand->gameId());
            index_.add(id, record.start);
            if (ahead_) ahead_->offer(*record.hand, id);
        } else {
            logBadRecord(record.hand->errorText());
        }
        if (!record.nextRead) return readFailure();
        ++recordCount_;
        if (callback_ != nullptr) {
            const auto percent = static_cast<int>(static_cast<double>(record.next) /
                                                  static_cast<double>(source_.size()) * 100);
            if (!report(StageProcessing, "Processing hand histories...", percent)) return Step::Stop;
        }
    }

    if (ahead_ && !ahead_->finish()) {
        ahead_.reset();
        scratch_.reset();
    }
    // Written ahead, the hands need no order of their own.
    if (!ahead_) index_.order();
    return Step::Go;
}

Step Conversion::beginFile(std::uint32_t number) {
    firstInFile_ = true;
    fileWrittenAhead_ = false;
    if (ahead_) {
        if (scratch_->publish(number)) {
            ++results_.numFiles;
            saving_ = fileWrittenAhead_ = true;
            return Step::Go;
        }
        writeTheRestDirectly();
    } else if (saveAhead_ && number >= saveAhead_->firstFile() && publishSavedAhead(number)) {
        ++results_.numFiles;
        saving_ = fileWrittenAhead_ = true;
        return Step::Go;
    }
    ++results_.numFiles;
    if (!direct_->openFile(number))
        return failWith(quoted("Couldn't create hand history file \"%s\".", outPath_));
    saving_ = true;
    return Step::Go;
}

void Conversion::writeTheRestDirectly() {
    ahead_.reset();
    scratch_->discard();
    index_.order();
    direct_ =
        std::make_unique<DirectSink>(outPath_, inPath_, selection_.singleFile(), settings_.writeBlockSize);
    // The hands saved so far were the first selected ones.
    position_ = positionOfSelected(results_.totalHands);
}

std::size_t Conversion::positionOfSelected(std::uint64_t hands) const {
    std::uint64_t skipped = 0;
    std::size_t position = 0;
    for (; position < index_.size(); ++position) {
        if (!selection_.selects(position, index_[position].id, index_.size())) continue;
        if (skipped++ == hands) break;
    }
    return position;
}

void Conversion::startSaveAhead(std::uint32_t selected, std::uint32_t handsPerFile) {
    if (!settings_.saveAhead || handsPerFile == 0) return;
    const std::uint64_t files = (std::uint64_t{selected} + handsPerFile - 1) / handsPerFile;
    if (files < 2) return;
    const auto firstFile = static_cast<std::uint32_t>(files / 2 + 1);
    savedAheadFrom_ = std::uint64_t{firstFile - 1} * handsPerFile;
    saveAhead_ = std::make_unique<SaveAhead>(inPath_, outPath_, options_, index_, selection_,
                                             readingSettings(settings_), settings_.writeBlockSize);
    const SaveAhead::Plan plan{.firstFile = firstFile,
                               .firstPosition = positionOfSelected(savedAheadFrom_),
                               .hands = selected - savedAheadFrom_,
                               .handsPerFile = handsPerFile};
    if (!saveAhead_->start(plan)) saveAhead_.reset();
}

bool Conversion::publishSavedAhead(std::uint32_t number) {
    const std::uint32_t done = saveAhead_->finish();
    if (number - saveAhead_->firstFile() < done && saveAhead_->sink().publish(number)) return true;
    saveAhead_.reset();
    position_ = positionOfSelected(results_.totalHands);
    return false;
}

Step Conversion::writeFromIndex() {
    // The record was taken in once already; one that does not come back the same means the log changed
    // under the conversion.
    if (!retakeSelected(source_, index_, selection_, position_, options_, firstInFile_, hand_, history_))
        return readFailure();
    firstInFile_ = false;
    ++results_.totalHands;
    return direct_->addHand(history_) ? Step::Go : writeFailure();
}

Step Conversion::save() {
    if (!report(StageSaving, "Saving hand histories to disk...", 0)) return Step::Stop;
    std::uint32_t selected = 0;
    if (ahead_) {
        selected = ahead_->handsWritten();
    } else {
        for (std::size_t position = 0; position < index_.size(); ++position)
            selected += selection_.selects(position, index_[position].id, index_.size()) ? 1 : 0;
        direct_ = std::make_unique<DirectSink>(outPath_, inPath_, selection_.singleFile(),
                                               settings_.writeBlockSize);
    }
    const std::uint32_t handsPerFile = selection_.handsPerFile(selected);
    source_.lookBehind(true);
    if (!ahead_) startSaveAhead(selected, handsPerFile);

    if (const Step step = beginFile(1); step != Step::Go) return step;
    while (results_.totalHands < selected) {
        // A new file starts just before the first hand that would overflow the current one.
        if (handsPerFile > 0 && results_.totalHands / handsPerFile >= results_.numFiles) {
            if (!fileWrittenAhead_ && !direct_->endFile()) return writeFailure();
            if (const Step step = beginFile(results_.numFiles + 1); step != Step::Go) return step;
        }
        if (fileWrittenAhead_) {
            ++results_.totalHands;
        } else if (const Step step = writeFromIndex(); step != Step::Go) {
            return step;
        }
        if (callback_ != nullptr) {
            const auto percent = static_cast<int>(static_cast<double>(results_.totalHands) /
                                                  static_cast<double>(selected) * 100);
            if (!report(StageSaving, "Saving hand histories to disk...", percent)) return Step::Stop;
        }
    }
    return Step::Go;
}

RunResult Conversion::close(Step step) {
    // Whatever ended the run, the file being written keeps the hands counted so far and its closing line;
    // hands written ahead beyond them, and scratch files not reached, are dropped.
    if (step != Step::Fail && saving_) {
        const bool closed = ahead_ ? scratch_->keep(results_.totalHands)
                            : fileWrittenAhead_
                                ? saveAhead_->sink().keep(results_.totalHands - savedAheadFrom_)
                                : direct_->endFile();
        if (!closed) {
            writeFailure();
            // A stop stays a stop, though the failure is told.
            if (step == Step::Stop) tell(failure_);
            if (step == Step::Go) step = Step::Fail;
        }
    }
    ahead_.reset();
    scratch_.reset();
    direct_.reset();
    saveAhead_.reset();
    index_.release();
    source_.releaseWindow();
    switch (step) {
        case Step::Go:
            pause();
            return RunResult::Finished;
        case Step::Stop:
            return RunResult::Stopped;
        case Step::Fail:
            break;
    }
    return tell(failure_);
}

}  // namespace

RunResult convertHands(const char* inPath, const char* outPath, ProgressCallback callback, void* user,
                       const ConversionOptions& options, ConversionResults& results,
                       const DriverSettings& settings) {
    Conversion conversion(inPath, outPath, callback, user, options, results, settings);
    return conversion.run();
}

RunResult convertLog(const char* inPath, const char* outPath, const ConversionOptions& options,
                     ProgressCallback callback, void* user, ConversionResults& results, bool pauses) {
    DriverSettings settings;
    settings.pauses = pauses;
    return convertHands(inPath, outPath, callback, user, options, results, settings);
}

}  // namespace noxi
