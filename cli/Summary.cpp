#include "Summary.h"

#include <nlohmann/json.hpp>

#include "common/Summary.h"
#include "frame/Conversion.h"

namespace vlconvert {

std::string summaryText(const RunReport& report) {
    // The files line counts the files made: the library also counts one it could not create.
    return common::conversionSummary(!report.splitting, report.files.size(), report.counts.totalHands,
                                     report.counts.numBadHands) +
           "\n";
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
