// Where the hand histories go: the output file, or the numbered files of a split, each ended by its line
// "Table Closed". Hands reach a file in blocks of whole hands, never line by line, so a program watching
// the folder never sees half a hand; after a short write (a full disk) only the hands that reached the file
// whole count.
//
// Two ways behind one interface, chosen once per conversion:
// - DirectSink writes each file at its name while the hands are saved;
// - ScratchSink takes the hands while the log is still being read (written ahead, when they come in
//   order) into new files beside the outputs, which take the outputs' names one by one as the saving step
//   reaches them. Until then the outputs are as they were, and nothing is left behind if the run stops.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/BlockWriter.h"
#include "frame/Conversion.h"
#include "platform/Platform.h"

namespace noxi {

class HistorySink {
public:
    // outPath names the output (the split files are named after it); inPath is the log, which no output
    // may replace. singleFile: one file at exactly outPath, else the numbered files.
    HistorySink(std::string outPath, std::string inPath, bool singleFile, std::size_t blockSize);
    virtual ~HistorySink();
    HistorySink(const HistorySink&) = delete;
    HistorySink& operator=(const HistorySink&) = delete;

    // The name of file `number` (from 1).
    std::string fileName(std::uint32_t number) const;

    // Starts writing file `number`: false when it cannot be created.
    bool openFile(std::uint32_t number);
    // Adds one hand's history to the file being written; false when a block of hands did not reach the
    // file whole (the file is then closed, and the hands that did not reach it are counted as lost).
    bool addHand(std::string_view history);
    // Hands whole hands to the file at once, after those added before; ends tells where each hand ends in
    // hands. False as for addHand.
    bool writeHands(std::string_view hands, const std::vector<std::size_t>& ends);
    // As writeHands, but the sink may take the bytes without a copy: hands is left empty, perhaps with the
    // room of a block written before.
    bool writeHandsTaking(std::string& hands, const std::vector<std::size_t>& ends);
    // Ends the file being written with its closing line and closes it; false when any of it failed.
    bool endFile();
    // Hands added that never reached a file whole.
    std::uint64_t handsLost() const { return handsLost_; }
    bool isOpen() const { return file_.isOpen(); }

protected:
    // Opens file_ for file `number` named name; false when it cannot be created.
    virtual bool createFile(std::uint32_t number, const std::string& name) = 0;
    // A hand of the file being written ends at this size of the file.
    virtual void handEnded(std::uint64_t) {}
    // Hands bytes to the file; how many reached it (or will: see ScratchSink).
    virtual std::size_t put(std::string_view bytes) { return file_.write(bytes.data(), bytes.size()); }
    // As put, but the bytes may be taken without a copy (bytes is then left empty).
    virtual std::size_t putTaking(std::string& bytes) { return put(bytes); }
    // Waits until what put() took reached the file; false when some of it did not.
    virtual bool flush() { return true; }

    // Hands the buffered hands to the file.
    bool writeOut();
    // Hands a block of whole hands to the file, through put (or putTaking with take); see writeHands.
    bool writeBlock(std::string_view hands, const std::vector<std::size_t>& ends);
    bool writeBlockTaking(std::string& hands, const std::vector<std::size_t>& ends);
    // What the two have in common: written is what putting the block of size bytes reached.
    bool blockWritten(std::size_t size, std::size_t written, const std::vector<std::size_t>& ends);

    std::string outPath_;
    std::string inPath_;
    bool singleFile_;
    std::size_t blockSize_;
    platform::OutputFile file_;
    std::string buffer_;                   // whole hands not yet handed to the file
    std::vector<std::size_t> bufferEnds_;  // where each buffered hand ends in buffer_
    std::uint64_t handed_ = 0;             // the bytes handed to the file being written
    std::uint64_t handsLost_ = 0;
};

// Writes each file at its name.
class DirectSink : public HistorySink {
public:
    using HistorySink::HistorySink;

protected:
    bool createFile(std::uint32_t number, const std::string& name) override;
};

// Writes each file beside its name first; see above. Nobody waits for a scratch file while it is written,
// so its blocks are handed to the file on a thread of their own (a BlockWriter) while the hands that follow
// are taken in; a block that does not reach the file whole shows at the next block, or when the file ends.
class ScratchSink : public HistorySink {
public:
    // writeOnThread false writes each block at once, for a sink that is itself written on a second thread.
    ScratchSink(std::string outPath, std::string inPath, bool singleFile, std::size_t blockSize,
                bool writeOnThread = true)
        : HistorySink(std::move(outPath), std::move(inPath), singleFile, blockSize),
          writer_(file_, writeOnThread) {}
    ~ScratchSink() override;

    // Room for the hands a log of this size usually holds.
    void reserve(std::size_t hands) { handLengths_.reserve(hands); }

    // The saving step reaches file `number`: its scratch file takes the file's name, replacing what is
    // there. False when that cannot be done (the scratch file is then dropped), or when the next scratch
    // file is not file `number`'s.
    bool publish(std::uint32_t number);
    // Ends the output after the first `hands` hands this sink took: the last published file is cut after them
    // and gets its closing line; scratch files not published are dropped. False when the file could not be
    // written.
    bool keep(std::uint64_t hands);
    // Drops every scratch file not published.
    void discard();

protected:
    bool createFile(std::uint32_t number, const std::string& name) override;
    void handEnded(std::uint64_t end) override {
        handLengths_.push_back(static_cast<std::uint32_t>(end - lastEnd_));
        lastEnd_ = end;
    }
    std::size_t put(std::string_view bytes) override;
    std::size_t putTaking(std::string& bytes) override;
    bool flush() override { return writer_.wait(); }

private:
    struct Scratch {
        std::string path;          // the scratch file
        std::string target;        // the name it takes
        std::uint32_t number = 0;  // the number of the file it becomes
        bool existed = false;
        unsigned mode = 0;
        std::size_t firstHand = 0;  // its first hand's number
    };
    // Where hand `hand` ends in its file, whose first hand was `first`.
    std::uint64_t endOf(std::size_t hand, std::size_t first) const;

    std::vector<Scratch> scratches_;
    // The length of each hand written ahead: a hand's history is never near 4 GB, and a hand's end is needed
    // only where the output is cut.
    std::vector<std::uint32_t> handLengths_;
    std::uint64_t lastEnd_ = 0;  // where the last hand ended in the file being written
    std::size_t published_ = 0;  // scratch files that took their names
    BlockWriter writer_;         // ends before the file does
};

}  // namespace noxi
