// The summary both programs show after a conversion.
#include "common/Summary.h"

#include <gtest/gtest.h>

namespace common {
namespace {

TEST(ConversionSummary, LinesAndTheirSingularForms) {
    const struct {
        bool singleFile;
        std::uint64_t files, hands, skipped;
        const char* text;
    } cases[] = {
        {false, 1, 1, 0, "1 file created.\n1 hand was converted successfully."},
        {true, 1, 12, 3, "12 hands were converted successfully.\n3 hands were skipped due to errors."},
        {true, 0, 0, 1, "0 hands were converted successfully.\n1 hand was skipped due to errors."},
        {false, 0, 0, 5,
         "0 files created.\n0 hands were converted successfully.\n5 hands were skipped due to errors."},
        {false, 4294967295, 4294967295, 0,
         "4294967295 files created.\n4294967295 hands were converted successfully."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(conversionSummary(c.singleFile, c.files, c.hands, c.skipped), c.text);
}

}  // namespace
}  // namespace common
