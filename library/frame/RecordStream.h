// The records of the log taken in one after another, in the order of the log, for the processing step. The
// chunks of a batch of records are read while a second thread decodes the betting of the batch before, so
// that where nothing else runs beside the conversion (the hands are taken in again for saving) the second
// processor takes a share of the work. What the caller sees is what taking each record in turn gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "frame/Conversion.h"
#include "frame/Intake.h"
#include "frame/LogSource.h"
#include "frame/Worker.h"

namespace noxi {

class RecordStream {
public:
    // One record taken in: where it starts and where the next one does, and what takeIn returned for it.
    struct Record {
        TakenHand* hand = nullptr;  // valid until the next call of next()
        std::uint64_t start = 0;
        std::uint64_t next = 0;
        int result = 0;        // the offset past its chunks for a usable hand, else 0 (the error text set)
        bool nextRead = true;  // false when the log could not be read to find the next record
    };
    enum class Got { Record, End, Unreadable };

    // batch records at a time, decoded on a second thread when onThread and one can be started.
    RecordStream(LogSource& source, const ConversionOptions& options, std::size_t batch, bool onThread);

    // The next record: Record, End after the record that ends the log (or whose next could not be found),
    // Unreadable when the log could not be read where the next record starts.
    Got next(Record& record);

private:
    struct Slot {
        TakenHand hand;
        std::uint64_t start = 0;
        std::uint64_t next = 0;
        int consumed = 0;
        Chunks chunks = Chunks::Failed;
        int result = 0;
        bool nextRead = true;
    };
    struct Batch {
        std::vector<Slot> slots;
        std::size_t count = 0;
        bool unreadable = false;  // the log could not be read after its records
    };

    // Reads the chunks of the records that come next into the batch.
    void fill(Batch& batch);
    // Decodes the betting of the batch's records.
    void decode(Batch& batch) const;
    // Decodes batch b on the second thread (or here, without one); finishDecoding waits for it.
    void startDecoding(int b);
    void finishDecoding(int b);

    LogSource& source_;
    const ConversionOptions& options_;
    Batch batches_[2];
    std::unique_ptr<Worker> worker_;
    int current_ = -1;  // the batch whose records are handed out
    int pending_ = -1;  // the batch being decoded
    std::size_t position_ = 0;
    std::uint64_t offset_ = 0;  // where the next record to read starts
    bool ended_ = false;        // no record is left to read
};

}  // namespace noxi
