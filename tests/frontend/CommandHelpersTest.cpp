#include "windows/CommandHelpers.h"

#include <gtest/gtest.h>

#include <string>

namespace vlc {
namespace {

TEST(LeadingInteger, ReadsTheNumberAtTheStartOfTheText) {
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {{"25", 25},
                 {"", 0},
                 {"abc", 0},
                 {"12abc", 12},
                 {"  7", 7},
                 {"-5", -5},
                 {"+12", 12},
                 {"0", 0},
                 {"- 3", 0},
                 {"2147483647", 2147483647},
                 {"99999999999999999999", 2147483647},
                 {"-99999999999999999999", -2147483647 - 1}};
    for (const auto& c : cases)
        EXPECT_EQ(leadingInteger(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(leadingInteger(nullptr), 0);
}

TEST(SplitChosenPath, NameAfterTheLastBackslashAndTheFolderBeforeIt) {
    const struct {
        const char* path;
        const char* folder;
        const char* file;
    } cases[] = {{"C:\\GAMES_V3.LOG", "C:\\", "GAMES_V3.LOG"},
                 {"C:\\logs\\GAMES_V3.LOG", "C:\\logs", "GAMES_V3.LOG"},
                 {"C:\\a\\b.c\\out.txt", "C:\\a\\b.c", "out.txt"},
                 {"\\out.txt", "\\", "out.txt"},
                 {"\\\\server\\share\\out.txt", "\\\\server\\share", "out.txt"}};
    for (const auto& c : cases) {
        char folder[261] = "old";
        char file[261] = "old";
        ASSERT_TRUE(splitChosenPath(c.path, folder, sizeof folder, file, sizeof file)) << c.path;
        EXPECT_STREQ(folder, c.folder) << c.path;
        EXPECT_STREQ(file, c.file) << c.path;
    }
}

TEST(SplitChosenPath, PathsThatCannotBeSplitLeaveBothBuffersAlone) {
    char folder[8] = "old";
    char file[8] = "old";
    EXPECT_FALSE(splitChosenPath("out.txt", folder, sizeof folder, file, sizeof file));
    EXPECT_FALSE(splitChosenPath(nullptr, folder, sizeof folder, file, sizeof file));
    EXPECT_FALSE(
        splitChosenPath("C:\\folder\\x", folder, sizeof folder, file, sizeof file));  // folder too long
    EXPECT_FALSE(splitChosenPath("C:\\longname.txt", folder, sizeof folder, file, sizeof file));
    EXPECT_STREQ(folder, "old");
    EXPECT_STREQ(file, "old");
}

TEST(SettingsPathFor, ExeAtTheLastFullStopBecomesCfg) {
    EXPECT_EQ(settingsPathFor("C:\\Program Files\\VLC\\VLConverter.exe"),
              "C:\\Program Files\\VLC\\VLConverter.cfg");
    EXPECT_EQ(settingsPathFor("C:\\a.b\\VLConverter.EXE"), "C:\\a.b\\VLConverter.cfg");
    EXPECT_EQ(settingsPathFor("C:\\a.b\\VLConverter"), std::nullopt);
    EXPECT_EQ(settingsPathFor("C:\\x\\VLConverter.exe.bak"), std::nullopt);
    EXPECT_EQ(settingsPathFor("C:\\x\\VLConverter.exes"), std::nullopt);
    EXPECT_EQ(settingsPathFor("VLConverter"), std::nullopt);
    EXPECT_EQ(settingsPathFor(nullptr), std::nullopt);
}

TEST(BesideProgram, ReplacesEverythingAfterTheLastBackslash) {
    EXPECT_EQ(besideProgram("C:\\tools\\VLConverter.exe", "errorLog.txt"), "C:\\tools\\errorLog.txt");
    EXPECT_EQ(besideProgram("VLConverter.exe", "errorLog.txt"), std::nullopt);
    const std::string deep = "C:\\" + std::string(250, 'd') + "\\VLConverter.exe";
    EXPECT_EQ(besideProgram(deep.c_str(), "errorLog.txt"), std::nullopt);  // beyond a path buffer
}

TEST(SummaryText, SingularAndPluralForms) {
    const struct {
        bool singleFile;
        unsigned long files, hands, skipped;
        const char* text;
    } cases[] = {
        {false, 1, 1, 0, "1 file created.\n1 hand was converted successfully."},
        {true, 1, 12, 3, "12 hands were converted successfully.\n3 hands were skipped due to errors."},
        {true, 1, 1, 1, "1 hand was converted successfully.\n1 hand was skipped due to errors."},
        {true, 0, 0, 0, "0 hands were converted successfully."},
        {false, 0, 0, 5,
         "0 files created.\n0 hands were converted successfully.\n5 hands were skipped due to errors."},
        {false, 4, 10, 0, "4 files created.\n10 hands were converted successfully."}};
    for (const auto& c : cases) {
        EXPECT_EQ(summaryText(c.singleFile, c.files, c.hands, c.skipped), c.text);
    }
}

}  // namespace
}  // namespace vlc
