#include "common/Summary.h"

namespace common {

std::string conversionSummary(bool singleFile, std::uint64_t files, std::uint64_t hands,
                              std::uint64_t skipped) {
    std::string summary;
    if (!singleFile) summary = files == 1 ? "1 file created.\n" : std::to_string(files) + " files created.\n";
    summary += hands == 1 ? "1 hand was converted successfully."
                          : std::to_string(hands) + " hands were converted successfully.";
    if (skipped == 1) {
        summary += "\n1 hand was skipped due to errors.";
    } else if (skipped != 0) {
        // Appended piece by piece: GCC 12 at -O3 warns wrongly about a temporary built from a literal.
        summary += '\n';
        summary += std::to_string(skipped);
        summary += " hands were skipped due to errors.";
    }
    return summary;
}

}  // namespace common
