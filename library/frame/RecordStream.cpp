#include "frame/RecordStream.h"

#include <algorithm>

namespace noxi {

RecordStream::RecordStream(LogSource& source, const ConversionOptions& options, std::size_t batch,
                           bool onThread)
    : source_(source), options_(options) {
    const std::size_t size = std::max<std::size_t>(batch, 1);
    if (onThread) {
        worker_ = std::make_unique<Worker>();
        if (!worker_->start()) worker_.reset();
    }
    for (Batch& b : batches_)
        b.slots.resize(size);
}

void RecordStream::fill(Batch& batch) {
    batch.count = 0;
    batch.unreadable = false;
    while (!ended_ && batch.count < batch.slots.size()) {
        Slot& slot = batch.slots[batch.count];
        slot.start = offset_;
        slot.chunks = takeInChunks(source_, offset_, slot.hand, slot.consumed);
        if (slot.chunks == Chunks::Unreadable) {
            batch.unreadable = true;
            ended_ = true;
            break;
        }
        // The next record starts past the rest of this one's line, found from the end of its chunks or
        // from its start alike.
        const std::uint64_t consumed =
            slot.chunks == Chunks::Read && slot.consumed > 0 ? static_cast<std::uint64_t>(slot.consumed) : 0;
        slot.nextRead = source_.nextRecord(offset_, consumed, slot.next);
        ++batch.count;
        if (!slot.nextRead || slot.next >= source_.size()) {
            ended_ = true;
        } else {
            offset_ = slot.next;
        }
    }
}

void RecordStream::decode(Batch& batch) const {
    for (std::size_t k = 0; k < batch.count; ++k) {
        Slot& slot = batch.slots[k];
        slot.result =
            slot.chunks == Chunks::Read ? finishRecord(slot.hand, slot.consumed, options_, false) : 0;
    }
}

void RecordStream::startDecoding(int b) {
    pending_ = b;
    if (worker_) {
        worker_->run([this, b] { decode(batches_[b]); });
    } else {
        decode(batches_[b]);
    }
}

void RecordStream::finishDecoding(int b) {
    // A batch whose decoding ran out of memory on the thread is decoded here, where it fails as it would.
    if (worker_ && !worker_->wait()) decode(batches_[b]);
    pending_ = -1;
}

RecordStream::Got RecordStream::next(Record& record) {
    if (current_ < 0 && pending_ < 0 && !ended_) {
        fill(batches_[0]);
        startDecoding(0);
    }
    while (current_ < 0 || position_ == batches_[current_].count) {
        if (current_ >= 0 && batches_[current_].unreadable) return Got::Unreadable;
        if (pending_ < 0) return Got::End;
        // The batch used up takes the records that follow while the other one is decoded.
        const int decoded = pending_;
        const int free = decoded ^ 1;
        bool filled = false;
        if (!ended_) {
            fill(batches_[free]);
            filled = batches_[free].count > 0 || batches_[free].unreadable;
        }
        finishDecoding(decoded);
        if (filled) startDecoding(free);
        current_ = decoded;
        position_ = 0;
    }
    Slot& slot = batches_[current_].slots[position_++];
    record.hand = &slot.hand;
    record.start = slot.start;
    record.next = slot.next;
    record.result = slot.result;
    record.nextRead = slot.nextRead;
    return Got::Record;
}

}  // namespace noxi
