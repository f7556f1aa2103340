// The matching and the names behind the search for the Velmora log.
#include "common/LogFolders.h"

#include <gtest/gtest.h>

namespace common {
namespace {

TEST(MatchesWildcard, AsAWindowsFileSearch) {
    const struct {
        const char* name;
        const char* pattern;
        bool matches;
    } cases[] = {
        {"Velmora", "*Velmora*", true},
        {"My velmora Tables", "*Velmora*", true},
        {"VELMORAPRO", "*Velmora*", true},
        {"Velmor", "*Velmora*", false},
        {"Vel-mora", "*Velmora*", false},
        {"Noxi\222sVelmora", "*Velmora*", true},
        {"aXbXc", "a*b*c", true},
        {"aXbXd", "a*b*c", false},
        {"abcbc", "*bc", true},  // the star must give back what it took first
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"", "*", true},
        {"", "?", false},
        {"x", "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(matchesWildcard(c.name, c.pattern), c.matches) << c.name << " ~ " << c.pattern;
}

TEST(Utf8FromCodePage1252, EveryRangeOfTheCodePage) {
    EXPECT_EQ(utf8FromCodePage1252("VelmoraPro2"), "VelmoraPro2");
    EXPECT_EQ(utf8FromCodePage1252("Noxi\222sVelmora"), "Noxi\xE2\x80\x99sVelmora");  // U+2019
    EXPECT_EQ(utf8FromCodePage1252("\200\237"), "\xE2\x82\xAC\xC5\xB8");              // U+20AC, U+0178
    EXPECT_EQ(utf8FromCodePage1252("\201"), "\xC2\x81");                              // left out: U+0081
    EXPECT_EQ(utf8FromCodePage1252("caf\351 \377"), "caf\xC3\xA9 \xC3\xBF");          // U+00E9, U+00FF
}

}  // namespace
}  // namespace common
