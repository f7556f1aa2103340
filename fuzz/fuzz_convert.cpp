// Fuzz target: the whole conversion. The first eight bytes choose the options, the callback's answers and the
// write block size; the rest is the log, written to a file and converted. The outputs are read back and held
// against the counters, the error log and an independent walk over the log's records.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "frame/Intake.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using noxi::test::readFile;
using noxi::test::writeFile;

constexpr std::size_t HeaderSize = 8;

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
    std::abort();
}

void check(bool condition, const std::string& what) {
    if (!condition) fail(what);
}

fs::path root;

struct Answers {
    int calls = 0;
    int stopAt = 0;  // the call (from 1) answered false; 0 for none
    bool answerToError = true;
    int errors = 0;
    int lastStage = -1;
    std::string errorText;

    static bool callback(int stage, char* text, int percent, void* user) {
        auto* self = static_cast<Answers*>(user);
        ++self->calls;
        check(text != nullptr, "the callback gets a text");
        check(stage >= StageError && stage <= StageSaving, "a known stage");
        check(percent >= 0 && percent <= 100, "percent within 0..100, got " + std::to_string(percent));
        check(stage == StageError || stage >= self->lastStage, "stages come in order");
        if (stage == StageError) {
            ++self->errors;
            self->errorText = text;
            return self->answerToError;
        }
        self->lastStage = stage;
        return self->calls != self->stopAt;
    }
};

// The hand numbers in a history, in the order written; a hand starts on a line of its own.
void gameIds(const std::string& history, std::vector<std::uint32_t>& ids) {
    const std::string marker = "\n#Game No : ";
    for (std::size_t at = history.find(marker); at != std::string::npos; at = history.find(marker, at + 1)) {
        ids.push_back(
            static_cast<std::uint32_t>(std::strtoll(history.c_str() + at + marker.size(), nullptr, 10)));
    }
}

// The hands a finished run must write, found by a walk of its own: good records in log order, the first of
// each number kept, then ordered and selected by range.
std::vector<std::uint32_t> expectedIds(const std::string& log, const noxi::ConversionOptions& options) {
    std::vector<std::uint32_t> ids;
    std::set<std::uint32_t> seen;
    const char* text = log.c_str();
    std::size_t offset = 0;
    do {
        noxi::TakenHand hand;
        const int consumed = noxi::parseLine(hand, text + offset, options, false);
        if (consumed > 0) {
            const auto id = static_cast<std::uint32_t>(hand.gameId());
            if (seen.insert(id).second) ids.push_back(id);
            offset += static_cast<std::size_t>(consumed);
        }
        const bool atNul = consumed == 0 && text[offset] == '\0';
        // Up to the line end, then over line ends and blanks.
        while (text[offset] != '\0' && text[offset] != '\n' && text[offset] != '\r')
            ++offset;
        if (atNul && offset < log.size()) ++offset;
        while (text[offset] == '\n' || text[offset] == '\r' || text[offset] == ' ')
            ++offset;
    } while (offset < log.size());
    std::sort(ids.begin(), ids.end());
    std::vector<std::uint32_t> selected;
    for (std::size_t position = 0; position < ids.size(); ++position) {
        bool take = false;
        switch (options.rangeType) {
            case RangeAll:
                take = true;
                break;
            case RangeFirst:
                take = position < options.rangeFrom;
                break;
            case RangeLast:
                take = ids.size() < options.rangeFrom || position >= ids.size() - options.rangeFrom;
                break;
            case RangeBetween:
                take = options.rangeFrom <= ids[position] && ids[position] <= options.rangeTo;
                break;
        }
        if (take) selected.push_back(ids[position]);
    }
    return selected;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "America/New_York", 1);
    noxi::refreshTimeZone();
    root = fs::temp_directory_path() / ("noxi-fuzz-" + std::to_string(getpid()));
    fs::create_directories(root);
    std::atexit([] {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint8_t header[HeaderSize] = {};
    std::memcpy(header, data, std::min(size, HeaderSize));
    const std::string log =
        size > HeaderSize ? std::string(reinterpret_cast<const char*>(data) + HeaderSize, size - HeaderSize)
                          : std::string();

    noxi::ConversionOptions options;
    static constexpr std::uint8_t RangeTypes[] = {RangeAll, RangeFirst, RangeLast, RangeBetween, 9};
    options.rangeType = RangeTypes[header[0] % 5];
    options.rangeFrom = header[1] < 200 ? header[1] % 8 : static_cast<std::uint32_t>(header[1]) << 24;
    options.rangeTo = header[2] < 128 ? header[2] : 0xFFFFFFFFu - header[2];
    static constexpr std::uint8_t SplitModes[] = {0, SplitByFileCount, SplitByHandsPerFile, SingleFile, 7};
    options.splitMode = SplitModes[header[3] % 5];
    options.splitValue = header[3] / 5 % 5;
    options.fixSmallBlind = header[4] & 1;
    options.realMoney = header[4] & 2;
    options.make6Max = header[4] & 4;
    options.muckHands = header[4] & 8;
    options.saveAllHole = header[4] & 16;
    const bool withCallback = header[4] & 32;
    Answers answers;
    answers.answerToError = header[4] & 64;
    answers.stopAt = header[5];
    noxi::DriverSettings settings;
    settings.pauses = false;
    if (header[4] & 128) settings.writeBlockSize = 1 + std::size_t{header[6]} * 16;

    const fs::path run = root / "run";
    std::error_code ignored;
    fs::remove_all(run, ignored);
    fs::create_directories(run / "out");
    const fs::path in = run / "GAMES_V3.LOG";
    writeFile(in, log);
    const fs::path out = run / "out" / ((header[7] & 1) ? "hh" : "hh.txt");

    noxi::ConversionResults results;
    results.errorLog = "left from an earlier run\n";
    const int result = noxi::exportedResult(noxi::convertHands(in.c_str(), out.c_str(),
                                                               withCallback ? &Answers::callback : nullptr,
                                                               &answers, options, results, settings));
    check(result >= -1 && result <= 1, "result is -1, 0 or 1");

    // Only the files the run says it made, named as the split mode names them.
    const bool single = options.splitMode == SingleFile;
    std::vector<std::uint32_t> written;
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(run / "out")) {
        const std::string name = entry.path().filename().string();
        bool known = single && name == out.filename().string();
        for (std::uint32_t k = 1; !single && k <= results.numFiles; ++k)
            known = known || name == "hh" + std::to_string(k) + ".txt";
        check(known, "unexpected output file " + name);
        const std::string history = readFile(entry.path());
        check(history.ends_with("Table Closed\r\n"), "every output file ends with Table Closed");
        ++files;
    }
    for (std::uint32_t k = 1; k <= results.numFiles; ++k) {
        const fs::path file = single ? out : run / "out" / ("hh" + std::to_string(k) + ".txt");
        if (fs::exists(file)) gameIds(readFile(file), written);
    }
    check(files == results.numFiles, "numFiles counts the files made");
    check(written.size() == results.totalHands, "totalHands counts the hands in the files");
    check(std::is_sorted(written.begin(), written.end()), "hands are written in ascending number order");
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(run))
        ++entries;
    check(entries == 2, "nothing written beside the log and the output folder");

    const bool stoppedAtOpening = withCallback && answers.stopAt >= 1 && answers.stopAt <= 2;
    // A log saved as UTF-16 is refused as a whole, like an empty one.
    const bool utf16 =
        log.size() >= 2 && ((log[0] == '\xFF' && log[1] == '\xFE') || (log[0] == '\xFE' && log[1] == '\xFF'));
    if (log.empty() || utf16) {
        if (stoppedAtOpening) {
            check(result == 0 && answers.errors == 0, "a stop at the opening reports comes first");
        } else {
            check(result == (withCallback && !answers.answerToError ? 0 : -1), "an empty log fails");
        }
        return 0;
    }
    check(answers.errors == 0, "no file-level failure for a log that is there");
    if (stoppedAtOpening) {
        check(result == 0 && results.errorLog == "left from an earlier run\n",
              "a stop at the opening reports keeps the previous error log");
        return 0;
    }
    check(std::count(results.errorLog.begin(), results.errorLog.end(), '\n') ==
              static_cast<std::ptrdiff_t>(results.numBadHands),
          "one error-log line per bad hand");
    for (std::size_t at = 0; at < results.errorLog.size(); at = results.errorLog.find('\n', at) + 1) {
        check(results.errorLog.compare(at, 14, "ERROR on Line ") == 0, "error-log lines name their record");
    }
    if (result == 1) {
        check(written == expectedIds(log, options), "the run writes exactly the good hands selected");
    }
    return 0;
}
