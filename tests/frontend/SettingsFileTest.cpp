#include "settings/SettingsFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "TempFolder.h"

namespace vlc {
namespace {

// The non-empty lines of a file, without their line ends.
std::vector<std::string> linesOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

class SettingsFileTest : public ::testing::Test {
protected:
    SettingsFileTest() { settings.path = folder / "VLConverter.cfg"; }

    // Stores value under [Options] key through the platform, as a user's edit of the file would.
    void put(const char* key, const std::string& value) {
        ASSERT_TRUE(WritePrivateProfileStringA("Options", key, value.c_str(), settings.path->c_str()));
    }

    testing::TempFolder folder;
    SettingsFile settings;
};

// An absent flag or number leaves the result as it was: the caller applies the default.
TEST_F(SettingsFileTest, FlagsAndIntegers) {
    const struct {
        const char* value;
        bool present, result;
    } flags[] = {{"yEs", true, true}, {"y", true, true},       {"ON", true, true}, {"True", true, true},
                 {"1", true, false},  {"truely", true, false}, {"", false, false}};
    for (const auto& c : flags) {
        put("FixSmallBlind", c.value);
        bool result = !c.result;
        EXPECT_EQ(settings.readBool("Options", "FixSmallBlind", result), c.present) << c.value;
        EXPECT_EQ(result, c.present ? c.result : !c.result) << c.value;
    }
    const std::pair<const char*, std::int32_t> numbers[] = {
        {"-5", -5}, {"-", 0}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}};
    for (const auto& [value, number] : numbers) {
        put("FirstHandsValue", value);
        std::int32_t result = 12345;
        EXPECT_TRUE(settings.readInt("Options", "FirstHandsValue", result)) << value;
        EXPECT_EQ(result, number) << value;
    }
    for (const char* value : {"2147483648", "-2147483649", "12abc", "+12", ""}) {
        put("FirstHandsValue", value);
        std::int32_t result = 12345;
        EXPECT_FALSE(settings.readInt("Options", "FirstHandsValue", result)) << value;
        EXPECT_EQ(result, 12345) << value;
    }
}

// Words ignore case; long values are cut to the size of their read.
TEST_F(SettingsFileTest, WordsAndLongValues) {
    const std::pair<const char*, HandRange> ranges[] = {{"firsthands", HandRange::FirstHands},
                                                        {"RangeHands", HandRange::RangeHands},
                                                        {"FirstHands2", HandRange::AllHands}};
    for (const auto& [value, range] : ranges) {
        put("HandRange", value);
        EXPECT_EQ(settings.readHandRange(), range) << value;
    }
    put("FileSplitting", "splitfiles");
    EXPECT_EQ(settings.readFileSplitting(), FileSplitting::SplitFiles);
    put("FileSplitting", "Split");
    EXPECT_EQ(settings.readFileSplitting(), FileSplitting::OneBigFile);
    // A word longer than 62 characters is cut, and then no word.
    put("HandRange", "FirstHands" + std::string(60, ' ') + "x");
    EXPECT_EQ(settings.readHandRange(), HandRange::AllHands);
    // Only the first 63 characters of a number are read: 62 zeros and "125" read as 1.
    put("LastHandsValue", std::string(62, '0') + "125");
    std::int32_t value = 0;
    ASSERT_TRUE(settings.readInt("Options", "LastHandsValue", value));
    EXPECT_EQ(value, 1);
}

// Other lines stay; the least number and an empty text are written as they are; an empty text reads as
// absent.
TEST_F(SettingsFileTest, WritingReplacesOrAppendsAndKeepsOtherLines) {
    testing::writeFile(*settings.path, "; kept by hand\r\n[Paths]\r\nVelmoraLogFile=old.log\r\nOther=1\r\n");
    EXPECT_TRUE(settings.writeString(PathsSection, VelmoraLogFileKey, "GAMES_V3.LOG"));
    EXPECT_TRUE(settings.writeString(PathsSection, PartyPokerLogFileKey, ""));
    EXPECT_TRUE(settings.writeInt(OptionsSection, MaxRangeValueKey, INT32_MIN));
    const std::vector<std::string> expected = {
        "; kept by hand",     "[Paths]",   "VelmoraLogFile=GAMES_V3.LOG", "Other=1",
        "PartyPokerLogFile=", "[Options]", "MaxRangeValue=-2147483648"};
    EXPECT_EQ(linesOf(*settings.path), expected);
    char name[PathReadSize];
    EXPECT_FALSE(settings.readString(PathsSection, PartyPokerLogFileKey, name, PathReadSize));
}

// Nothing is written without a path or a folder for the file. The program's first run reads no file.
TEST_F(SettingsFileTest, UnwritableFileIsReportedAsFailure) {
    EXPECT_FALSE(SettingsFile{}.writeInt("Options", "Key", 1));
    settings.path = folder / "no such folder\\VLConverter.cfg";
    EXPECT_FALSE(settings.writeString(OptionsSection, MuckHandsKey, "yes"));
    EXPECT_FALSE(settings.writeInt(OptionsSection, SplitFilesValueKey, 2));
}

}  // namespace
}  // namespace vlc
