#include "Summary.h"

#include <nlohmann/json.hpp>

#include "frame/Conversion.h"

namespace vlconvert {

std::string summaryText(const RunReport& report) {
    const noxi::ConversionResults& counts = report.counts;
    std::string text;
    // The files written: the library also counts a file it could not create.
    if (report.splitting) {
        text += report.files.size() == 1 ? "1 file created.\n"
                                         : std::to_string(report.files.size()) + " files created.\n";
    }
    text += counts.totalHands == 1
                ? "1 hand was converted successfully.\n"
                : std::to_string(counts.totalHands) + " hands were converted successfully.\n";
    if (counts.numBadHands == 1) {
        text += "1 hand was skipped due to errors.\n";
    } else if (counts.numBadHands != 0) {
        text += std::to_string(counts.numBadHands) + " hands were skipped due to errors.\n";
    }
    return text;
}

std::string summaryJson(const RunReport& report) {
    using json = nlohmann::ordered_json;
    static constexpr const char* results[] = {"finished", "interrupted", "failed"};
    json summary = {
        {"result", results[static_cast<int>(report.outcome)]},
        {"input", report.input ? json(*report.input) : json(nullptr)},
        {"files", report.files},
        {"handsConverted", report.counts.totalHands},
        {"handsSkipped", report.counts.numBadHands},
        {"errorLog", report.errorLog ? json(*report.errorLog) : json(nullptr)},
        {"error", report.error ? json(*report.error) : json(nullptr)},
    };
    // Paths and the library's messages need not be UTF-8 (the log's names are code page 1252): such bytes
    // are replaced rather than failing the whole summary.
    return summary.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
}

std::vector<std::string> writtenFiles(const std::string& output, bool splitting, std::uint32_t numFiles,
                                      bool lastFailed) {
    const std::uint32_t count = lastFailed && numFiles > 0 ? numFiles - 1 : numFiles;
    std::vector<std::string> files;
    if (!splitting) {
        if (count > 0) files.push_back(output);
        return files;
    }
    for (std::uint32_t number = 1; number <= count; ++number)
        files.push_back(noxi::splitFileName(output, number));
    return files;
}

}  // namespace vlconvert
