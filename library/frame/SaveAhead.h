// The later files of a split, saved on a second thread while the saving step writes the earlier ones. Hands
// taken in again from their places cost as much as the first time; where the index holds the hands of
// several files, the files after the first half are each written into a scratch file beside their names (a
// ScratchSink) at the same time, and take their names when the saving step reaches them. What the thread
// could not write (a read, a file or a disk that failed) the saving step writes itself, as it would without
// the thread, so that the files, counters, error log and reports are the same either way.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "frame/Conversion.h"
#include "frame/HandIndex.h"
#include "frame/HistorySink.h"
#include "frame/LogSource.h"
#include "frame/Worker.h"

namespace noxi {

class SaveAhead {
public:
    // What the thread writes: files firstFile on, from the selected hand at index position firstPosition,
    // hands in all, handsPerFile to a file.
    struct Plan {
        std::uint32_t firstFile = 0;
        std::size_t firstPosition = 0;
        std::uint64_t hands = 0;
        std::uint32_t handsPerFile = 0;
    };

    // The index, the selection and the options are only read, and must outlive this.
    SaveAhead(const char* inPath, const char* outPath, const ConversionOptions& options,
              const HandIndex& index, const Selection& selection, const LogSource::Settings& reading,
              std::size_t writeBlockSize);
    // Stops the thread where it is; the scratch files not published go with it.
    ~SaveAhead();
    SaveAhead(const SaveAhead&) = delete;
    SaveAhead& operator=(const SaveAhead&) = delete;

    // Starts writing on the thread; false when it could not be started.
    bool start(const Plan& plan);
    // Waits for the thread to end; then the files it wrote whole (from plan.firstFile on) can be published.
    std::uint32_t finish();
    std::uint32_t firstFile() const { return plan_.firstFile; }
    // The sink holding the files written; for use once finish has returned.
    ScratchSink& sink() { return sink_; }

private:
    void run();
    // Writes one file of the plan; false when anything failed or a stop was asked.
    bool writeFile(std::uint32_t number, std::uint64_t hands);

    std::string inPath_;
    const ConversionOptions& options_;
    const HandIndex& index_;
    const Selection& selection_;
    LogSource source_;
    ScratchSink sink_;
    Plan plan_;
    std::size_t position_ = 0;
    std::atomic<bool> stopping_{false};
    std::uint32_t filesDone_ = 0;  // written by the thread, read once its job is done
    Worker worker_;                // ends (waiting for its job) before what the job uses
};

}  // namespace noxi
