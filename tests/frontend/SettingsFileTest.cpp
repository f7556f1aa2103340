#include "settings/SettingsFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "TempFolder.h"

namespace vlc {
namespace {

using testing::TempFolder;
using testing::writeFile;

// The non-empty lines of a file, without their line ends.
std::vector<std::string> linesOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

class SettingsFileTest : public ::testing::Test {
protected:
    SettingsFileTest() { settings.path = folder / "VLConverter.cfg"; }

    // Stores value under [Options] key through the platform, as a user's edit of the file would.
    void put(const char* key, const char* value) {
        ASSERT_TRUE(WritePrivateProfileStringA("Options", key, value, settings.path->c_str()));
    }

    TempFolder folder;
    SettingsFile settings;
};

TEST_F(SettingsFileTest, FlagWords) {
    struct {
        const char* value;
        bool present, result;
    } cases[] = {{"Yes", true, true},     {"ON", true, true},   {"True", true, true},
                 {"y", true, true},       {"yEs", true, true},  {"1", true, false},
                 {"no", true, false},     {"off", true, false}, {"yes please", true, false},
                 {"truely", true, false}, {"", false, false}};
    for (const auto& c : cases) {
        put("FixSmallBlind", c.value);
        bool result = !c.result;
        const bool present = settings.readBool("Options", "FixSmallBlind", result);
        EXPECT_EQ(present, c.present) << c.value;
        // An absent flag leaves the result as it was: the caller applies the default.
        EXPECT_EQ(result, c.present ? c.result : !c.result) << c.value;
    }
    bool untouched = true;
    EXPECT_FALSE(settings.readBool("Options", "SaveAllHoleCards", untouched));
    EXPECT_TRUE(untouched);
}

TEST_F(SettingsFileTest, Integers) {
    struct {
        const char* value;
        bool valid;
        std::int32_t result;
    } cases[] = {{"25", true, 25},
                 {"-5", true, -5},
                 {"0", true, 0},
                 {"-", true, 0},
                 {"007", true, 7},
                 {"2147483647", true, 2147483647},
                 {"-2147483648", true, -2147483647 - 1},
                 {"2147483648", false, 0},
                 {"-2147483649", false, 0},
                 {"99999999999999999999", false, 0},
                 {"12abc", false, 0},
                 {"+12", false, 0},
                 {"1 2", false, 0},
                 {"1.5", false, 0},
                 {"--1", false, 0},
                 {"", false, 0}};
    for (const auto& c : cases) {
        put("FirstHandsValue", c.value);
        std::int32_t result = 12345;
        EXPECT_EQ(settings.readInt("Options", "FirstHandsValue", result), c.valid) << c.value;
        EXPECT_EQ(result, c.valid ? c.result : 12345) << c.value;
    }
}

TEST_F(SettingsFileTest, WordsIgnoreCase) {
    EXPECT_EQ(settings.readHandRange(), HandRange::AllHands);
    EXPECT_EQ(settings.readFileSplitting(), FileSplitting::OneBigFile);
    struct {
        const char* value;
        HandRange range;
    } ranges[] = {{"firsthands", HandRange::FirstHands},
                  {"LASTHANDS", HandRange::LastHands},
                  {"RangeHands", HandRange::RangeHands},
                  {"AllHands", HandRange::AllHands},
                  {"First", HandRange::AllHands},
                  {"FirstHands2", HandRange::AllHands},
                  {"", HandRange::AllHands}};
    for (const auto& c : ranges) {
        put("HandRange", c.value);
        EXPECT_EQ(settings.readHandRange(), c.range) << c.value;
    }
    struct {
        const char* value;
        FileSplitting splitting;
    } splits[] = {{"splitfiles", FileSplitting::SplitFiles},
                  {"HANDSPERFILE", FileSplitting::HandsPerFile},
                  {"OneBigFile", FileSplitting::OneBigFile},
                  {"Split", FileSplitting::OneBigFile}};
    for (const auto& c : splits) {
        put("FileSplitting", c.value);
        EXPECT_EQ(settings.readFileSplitting(), c.splitting) << c.value;
    }
    // The words written back are the ones read.
    for (auto range :
         {HandRange::AllHands, HandRange::FirstHands, HandRange::LastHands, HandRange::RangeHands}) {
        EXPECT_EQ(handRangeFromWord(handRangeWord(range)), range);
    }
    for (auto split : {FileSplitting::OneBigFile, FileSplitting::SplitFiles, FileSplitting::HandsPerFile}) {
        EXPECT_EQ(fileSplittingFromWord(fileSplittingWord(split)), split);
    }
}

TEST_F(SettingsFileTest, ReadSizesCutLongValues) {
    const std::string longPath = "C:\\" + std::string(300, 'p');
    ASSERT_TRUE(settings.writeString("Paths", "VelmoraLogFolder", longPath.c_str()));
    char path[PathReadSize + 10];
    ASSERT_TRUE(settings.readString("Paths", "VelmoraLogFolder", path, PathReadSize));
    EXPECT_EQ(std::string(path), longPath.substr(0, PathReadSize - 1));

    // A word longer than 62 characters is cut, and then no word.
    put("HandRange", ("FirstHands" + std::string(60, ' ') + "x").c_str());
    EXPECT_EQ(settings.readHandRange(), HandRange::AllHands);

    // Only the first 63 characters of a number are read: 62 zeros and "125" read as 1.
    put("LastHandsValue", (std::string(62, '0') + "125").c_str());
    std::int32_t value = 0;
    ASSERT_TRUE(settings.readInt("Options", "LastHandsValue", value));
    EXPECT_EQ(value, 1);

    // Flags read seven characters: "yes please" is "yes ple".
    put("Make6Max", "yes please");
    char flag[16];
    ASSERT_TRUE(settings.readString("Options", "Make6Max", flag, FlagReadSize));
    EXPECT_STREQ(flag, "yes ple");
}

// Nothing is read from an absent file, and nothing is written without names or a path.
TEST_F(SettingsFileTest, AbsentFileAndMissingNamesOrPath) {
    char text[64] = "unchanged";
    bool flag = true;
    std::int32_t number = 3;
    EXPECT_FALSE(settings.readString("Paths", "VelmoraLogFile", text, sizeof text));
    EXPECT_STREQ(text, "");
    EXPECT_FALSE(settings.readBool("Options", "MuckHands", flag));
    EXPECT_FALSE(settings.readInt("Options", "SplitFilesValue", number));
    EXPECT_TRUE(flag);
    EXPECT_EQ(number, 3);
    EXPECT_FALSE(settings.writeString(nullptr, "Key", "v"));
    EXPECT_FALSE(settings.writeString("Options", nullptr, "v"));
    EXPECT_FALSE(settings.writeString("Options", "Key", nullptr));
    EXPECT_FALSE(settings.readString("Options", nullptr, text, sizeof text));
    EXPECT_EQ(GetFileAttributesA(settings.path->c_str()), INVALID_FILE_ATTRIBUTES);
    SettingsFile noPath;
    EXPECT_FALSE(noPath.writeInt("Options", "Key", 1));
    EXPECT_FALSE(noPath.readString("Options", "Key", text, sizeof text));
}

// Every key the main window saves is read back by ProgramTest; here the numbers at the ends of their range
// and an empty text.
TEST_F(SettingsFileTest, NumbersAndEmptyTextsReadBackAsWritten) {
    for (const std::int32_t number : {0, -5, -2147483647 - 1, 2147483647}) {
        EXPECT_TRUE(settings.writeInt(OptionsSection, MaxRangeValueKey, number));
        std::int32_t read = 1;
        EXPECT_TRUE(settings.readInt(OptionsSection, MaxRangeValueKey, read));
        EXPECT_EQ(read, number);
    }
    EXPECT_TRUE(settings.writeString(PathsSection, PartyPokerLogFileKey, ""));
    const std::vector<std::string> expected = {"[Options]", "MaxRangeValue=2147483647", "[Paths]",
                                               "PartyPokerLogFile="};
    EXPECT_EQ(linesOf(*settings.path), expected);
    char name[PathReadSize];
    EXPECT_FALSE(settings.readString(PathsSection, PartyPokerLogFileKey, name, PathReadSize));
}

TEST_F(SettingsFileTest, WritingReplacesOrAppendsAndKeepsOtherLines) {
    writeFile(
        *settings.path,
        "; kept by hand\r\n[Paths]\r\nVelmoraLogFile=old.log\r\nOther=1\r\n[Options]\r\nMuckHands=no\r\n");
    EXPECT_TRUE(settings.writeString(PathsSection, VelmoraLogFileKey, "GAMES_V3.LOG"));
    EXPECT_TRUE(settings.writeString(OptionsSection, RealMoneyKey, "yes"));
    const std::vector<std::string> expected = {"; kept by hand", "[Paths]",   "VelmoraLogFile=GAMES_V3.LOG",
                                               "Other=1",        "[Options]", "MuckHands=no",
                                               "RealMoney=yes"};
    EXPECT_EQ(linesOf(*settings.path), expected);
}

TEST_F(SettingsFileTest, UnwritableFileIsReportedAsFailure) {
    settings.path = folder / "no such folder\\VLConverter.cfg";
    EXPECT_FALSE(settings.writeString(OptionsSection, MuckHandsKey, "yes"));
    EXPECT_FALSE(settings.writeInt(OptionsSection, SplitFilesValueKey, 2));
}

}  // namespace
}  // namespace vlc
