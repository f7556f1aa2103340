// Hands written while the log is first read, so that no hand is taken in twice. Each good hand is written
// as it is taken in, in ascending number order: a hand that comes a little out of order (a player at many
// tables, whose hands end in another order than they start) is put in its place among the hands not yet
// handed to the file. A hand that comes later than that, or a file that cannot be made or written, ends
// writing ahead; the saving step then takes every hand in again from the hand index.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "frame/HandIndex.h"
#include "frame/HistorySink.h"
#include "frame/Intake.h"

namespace noxi {

class WriteAhead {
public:
    // How far hands may come out of order: they are held back until this many bytes of histories, and this
    // many hands, follow them.
    struct Limits {
        std::size_t bytes = std::size_t{256} << 10;
        std::size_t hands = 4096;
    };

    // Hands are handed to the sink in blocks of about blockSize bytes. The index holds every good hand taken
    // in, the one offered last included.
    WriteAhead(const ConversionOptions& options, const HandIndex& index, ScratchSink& sink, Limits limits,
               std::size_t blockSize);

    // Opens the first file; false when it cannot be made (then nothing is written ahead).
    bool start();
    // False once hands are no longer written ahead.
    bool active() const { return active_; }

    // Takes the good hand numbered id, just taken in without its evaluators and added last to the index:
    // evaluated and written when it may be selected. A number that came before is dropped (the first one
    // stays).
    void offer(TakenHand& hand, std::uint32_t id);
    // Hands over the hands still held and ends the last file; false when that failed (then nothing is
    // written ahead).
    bool finish();

    // The selected hands written, in the saving order.
    std::uint32_t handsWritten() const { return written_; }

private:
    struct Held {
        std::uint32_t id;
        std::size_t end;  // where its history ends in text_; it starts where the one before ends
    };

    // Hands the first `count` hands held to the sink, in order.
    void letOut(std::size_t count);
    void stop();

    const ConversionOptions& options_;
    const HandIndex& index_;
    Selection selection_;
    ScratchSink& sink_;
    Limits limits_;
    std::size_t blockSize_;
    bool active_ = false;

    std::string text_;               // the histories held, ascending by number; empty for a hand not written
    std::vector<Held> held_;         // ascending by number
    std::string late_;               // the history of a hand that came out of order
    std::string spare_;              // the hands still held move here when a block goes to the file
    std::uint32_t lastLetOut_ = 0;   // the number let out last, when position_ is above 0
    std::vector<std::size_t> ends_;  // a block's hand ends, for the sink
    std::size_t position_ = 0;       // hands let out, selected or not
    std::uint32_t written_ = 0;
    std::uint32_t files_ = 0;
    std::uint32_t handsPerFile_ = 0;
    bool firstInFile_ = true;
};

}  // namespace noxi
