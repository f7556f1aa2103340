#include "frame/HistorySink.h"

#include <algorithm>
#include <atomic>
#include <utility>

#include "hand/TextOut.h"

namespace noxi {
namespace {

std::atomic<unsigned> scratchCounter{0};

constexpr std::string_view TableClosed = "Table Closed";

}  // namespace

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

HistorySink::HistorySink(std::string outPath, std::string inPath, bool singleFile, std::size_t blockSize)
    : outPath_(std::move(outPath)),
      inPath_(std::move(inPath)),
      singleFile_(singleFile),
      blockSize_(blockSize) {}

HistorySink::~HistorySink() = default;

std::string HistorySink::fileName(std::uint32_t number) const {
    return singleFile_ ? outPath_ : splitFileName(outPath_, number);
}

bool HistorySink::openFile(std::uint32_t number) {
    buffer_.clear();
    bufferEnds_.clear();
    handed_ = 0;
    return createFile(number, fileName(number));
}

bool HistorySink::addHand(std::string_view history) {
    buffer_ += history;
    bufferEnds_.push_back(buffer_.size());
    return buffer_.size() < blockSize_ || writeOut();
}

bool HistorySink::writeOut() {
    const bool whole = writeBlockTaking(buffer_, bufferEnds_);
    buffer_.clear();
    bufferEnds_.clear();
    return whole;
}

bool HistorySink::writeHands(std::string_view hands, const std::vector<std::size_t>& ends) {
    return writeOut() && writeBlock(hands, ends);
}

bool HistorySink::writeHandsTaking(std::string& hands, const std::vector<std::size_t>& ends) {
    return writeOut() && writeBlockTaking(hands, ends);
}

bool HistorySink::writeBlock(std::string_view hands, const std::vector<std::size_t>& ends) {
    if (hands.empty()) return true;
    for (const std::size_t end : ends)
        handEnded(handed_ + end);
    return blockWritten(hands.size(), put(hands), ends);
}

bool HistorySink::writeBlockTaking(std::string& hands, const std::vector<std::size_t>& ends) {
    if (hands.empty()) return true;
    for (const std::size_t end : ends)
        handEnded(handed_ + end);
    const std::size_t size = hands.size();
    return blockWritten(size, putTaking(hands), ends);
}

bool HistorySink::blockWritten(std::size_t size, std::size_t written, const std::vector<std::size_t>& ends) {
    handed_ += written;
    if (written == size) return true;
    const auto reached = std::upper_bound(ends.begin(), ends.end(), written) - ends.begin();
    handsLost_ += ends.size() - static_cast<std::size_t>(reached);
    file_.close();
    return false;
}

bool HistorySink::endFile() {
    buffer_ += TableClosed;
    buffer_ += LineEnd;
    const bool written = writeOut();
    const bool flushed = flush();
    const bool closed = file_.close();
    return written && flushed && closed;
}

bool DirectSink::createFile(std::uint32_t, const std::string& name) {
    // Replacing the log being converted would destroy it: that output file cannot be created.
    if (platform::sameFile(name.c_str(), inPath_.c_str()) == platform::Sameness::Same) return false;
    return file_.create(name.c_str());
}

ScratchSink::~ScratchSink() {
    discard();
}

std::size_t ScratchSink::put(std::string_view bytes) {
    if (writer_.hand(bytes)) return bytes.size();
    // An earlier block fell short: the file is the sink's again, to be closed, and dropped at the end.
    writer_.wait();
    return 0;
}

std::size_t ScratchSink::putTaking(std::string& bytes) {
    const std::size_t size = bytes.size();
    if (writer_.take(bytes)) return size;
    writer_.wait();
    return 0;
}

bool ScratchSink::createFile(std::uint32_t number, const std::string& name) {
    writer_.wait();
    // Only a plain file of ours (or none) is replaced, and never the log itself: a link, a second name of a
    // file, someone else's file keep their nature only when written where they are.
    platform::PathFacts facts;
    if (!platform::pathFacts(name.c_str(), facts)) return false;
    if (facts.exists && (!facts.replaceable || platform::sameFile(name.c_str(), inPath_.c_str()) !=
                                                   platform::Sameness::Different)) {
        return false;
    }
    Scratch scratch{.path = {},
                    .target = name,
                    .number = number,
                    .existed = facts.exists,
                    .mode = facts.mode,
                    .firstHand = handLengths_.size()};
    for (int attempt = 0; attempt < 16; ++attempt) {
        scratch.path = name + ".vlc" + std::to_string(platform::processId()) + "-" +
                       std::to_string(scratchCounter++) + ".part";
        const auto created = file_.createNew(scratch.path.c_str());
        if (created == platform::OutputFile::Created::Yes) {
            scratches_.push_back(std::move(scratch));
            lastEnd_ = 0;
            return true;
        }
        if (created == platform::OutputFile::Created::Failed) break;
    }
    return false;
}

bool ScratchSink::publish(std::uint32_t number) {
    writer_.wait();
    file_.close();
    if (published_ >= scratches_.size() || scratches_[published_].number != number) return false;
    Scratch& scratch = scratches_[published_];
    if (!platform::replaceFile(scratch.path.c_str(), scratch.target.c_str(), scratch.existed, scratch.mode)) {
        platform::removeFile(scratch.path.c_str());
        scratch.path.clear();
        return false;
    }
    scratch.path.clear();
    ++published_;
    return true;
}

bool ScratchSink::keep(std::uint64_t hands) {
    discard();
    // Every file published whole already ends with its closing line.
    if (published_ == 0 || (published_ == scratches_.size() && hands == handLengths_.size())) return true;
    const Scratch& last = scratches_[published_ - 1];
    const std::uint64_t end =
        hands > last.firstHand ? endOf(static_cast<std::size_t>(hands - 1), last.firstHand) : 0;
    if (!file_.openForAppend(last.target.c_str()) || !file_.truncate(end)) {
        file_.close();
        return false;
    }
    handed_ = end;
    buffer_.clear();
    bufferEnds_.clear();
    return endFile();
}

std::uint64_t ScratchSink::endOf(std::size_t hand, std::size_t first) const {
    std::uint64_t end = 0;
    for (std::size_t k = first; k <= hand; ++k)
        end += handLengths_[k];
    return end;
}

void ScratchSink::discard() {
    writer_.wait();
    file_.close();
    for (std::size_t k = published_; k < scratches_.size(); ++k) {
        if (!scratches_[k].path.empty()) platform::removeFile(scratches_[k].path.c_str());
        scratches_[k].path.clear();
    }
}

}  // namespace noxi
