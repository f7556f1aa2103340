#include "windows/CommandHelpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace vlc {
namespace {

TEST(LeadingInteger, ReadsTheNumberAtTheStartOfTheText) {
    EXPECT_EQ(leadingInteger(""), 0);
    EXPECT_EQ(leadingInteger("- 3"), 0);
    EXPECT_EQ(leadingInteger("12abc"), 12);
    EXPECT_EQ(leadingInteger("  -5"), -5);
    EXPECT_EQ(leadingInteger("+12"), 12);
    EXPECT_EQ(leadingInteger("99999999999999999999"), INT32_MAX);
    EXPECT_EQ(leadingInteger("-99999999999999999999"), INT32_MIN);
    EXPECT_EQ(leadingInteger(nullptr), 0);
}

TEST(SplitChosenPath, AtTheLastBackslashOrNotAtAll) {
    const struct {
        const char* path;
        bool split;
        const char* folder;
        const char* file;
    } cases[] = {{"C:\\out.txt", true, "C:\\", "out.txt"},
                 {"C:\\a\\b.c\\x.txt", true, "C:\\a\\b.c", "x.txt"},
                 {"out.txt", false, "old", "old"},
                 {"\\out.txt", true, "\\", "out.txt"},
                 {"C:\\long folder\\x", false, "old", "old"},  // the folder does not fit
                 {"C:\\longname.txt", false, "old", "old"}};
    for (const auto& c : cases) {
        char folder[12] = "old";
        char file[12] = "old";
        EXPECT_EQ(splitChosenPath(c.path, folder, sizeof folder, file, sizeof file), c.split) << c.path;
        EXPECT_STREQ(folder, c.folder) << c.path;
        EXPECT_STREQ(file, c.file) << c.path;
    }
    char folder[12] = "old";
    EXPECT_FALSE(splitChosenPath(nullptr, folder, sizeof folder, folder, sizeof folder));
    EXPECT_STREQ(folder, "old");
}

TEST(SettingsPathFor, ExeAtTheLastFullStopBecomesCfg) {
    EXPECT_EQ(settingsPathFor("C:\\a.b\\VLConverter.EXE"), "C:\\a.b\\VLConverter.cfg");
    EXPECT_EQ(settingsPathFor("C:\\a.b\\VLConverter"), std::nullopt);
    EXPECT_EQ(settingsPathFor("C:\\x\\VLConverter.exe.bak"), std::nullopt);
    EXPECT_EQ(settingsPathFor(nullptr), std::nullopt);
}

TEST(BesideProgram, NoneWithoutABackslashOrRoom) {
    EXPECT_EQ(besideProgram("VLConverter.exe", "errorLog.txt"), std::nullopt);
    const std::string deep = "C:\\" + std::string(250, 'd') + "\\VLConverter.exe";
    EXPECT_EQ(besideProgram(deep.c_str(), "errorLog.txt"), std::nullopt);  // beyond a path buffer
}

}  // namespace
}  // namespace vlc
