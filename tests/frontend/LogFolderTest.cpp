#include "settings/LogFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"

namespace vlc {
namespace {

std::string currentFolder() {
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

std::string findLogFolder() {
    char path[MAX_PATH];
    EXPECT_TRUE(vlc::findLogFolder(path, sizeof path));
    return path;
}

// Works in the user's application-data folder, which the test run's private Wine prefix keeps to itself.
// It makes the candidate folders and removes exactly those; it refuses to run where Velmora folders exist.
class LogFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        appData = testing::specialFolder(CSIDL_APPDATA);
        ASSERT_FALSE(appData.empty());
        if (findSubfolder(appData.c_str(), nullptr, 0, "*Velmora*")) {
            GTEST_SKIP() << "the application-data folder holds Velmora folders of its own";
        }
    }

    void TearDown() override {
        for (auto made = created.rbegin(); made != created.rend(); ++made)
            testing::removeTree(appData + "\\" + *made);
    }

    // Makes appData\top and, when sub is given, appData\top\sub.
    void makeFolder(const std::string& top, const char* sub = "logs") {
        ASSERT_TRUE(CreateDirectoryA((appData + "\\" + top).c_str(), nullptr)) << top;
        created.push_back(top);
        if (sub != nullptr) {
            ASSERT_TRUE(CreateDirectoryA((appData + "\\" + top + "\\" + sub).c_str(), nullptr));
        }
    }

    std::string appData;
    std::vector<std::string> created;
};

// From nothing found to every candidate: a matching file is passed over, a match without logs gives the
// desktop, the wildcard finds a folder with the name in it in any case, and each candidate, from the last to
// the first, wins over what was there. The current folder stays as it was.
TEST_F(LogFolderTest, CandidatesAreTriedInOrderBeforeTheWildcard) {
    testing::TempFolder elsewhere;
    ASSERT_TRUE(SetCurrentDirectoryA(elsewhere.path.c_str()));
    const std::string before = currentFolder();
    testing::writeFile(appData + "\\Velmora notes.txt", "");
    created.push_back("Velmora notes.txt");
    EXPECT_FALSE(findSubfolder(appData.c_str(), nullptr, 0, "*Velmora*"));
    EXPECT_EQ(findLogFolder(), appData + "\\");
    makeFolder("Velmora Backup", nullptr);
    EXPECT_EQ(findLogFolder(), testing::specialFolder(CSIDL_DESKTOP));
    testing::removeTree(appData + "\\Velmora Backup");
    makeFolder("My VELMORA Tables");
    EXPECT_EQ(findLogFolder(), appData + "\\My VELMORA Tables\\logs");
    const std::string candidates[] = {"VelmoraPro2",     "VelmoraPro",     "Velmora",
                                      "VelmoraPro2Demo", "VelmoraProDemo", "Noxi\222sVelmora"};
    for (int i = 5; i >= 0; --i) {
        makeFolder(candidates[i]);
        EXPECT_EQ(findLogFolder(), appData + "\\" + candidates[i] + "\\logs");
    }
    char name[MAX_PATH];
    EXPECT_TRUE(findSubfolder(appData.c_str(), name, sizeof name, "*"));
    EXPECT_STRNE(name, ".");
    EXPECT_STRNE(name, "..");
    EXPECT_FALSE(findSubfolder((appData + "\\no such folder").c_str(), name, sizeof name, "*"));
    EXPECT_EQ(currentFolder(), before);
    SetCurrentDirectoryA(appData.c_str());  // lets the temporary folder go
}

// Names that do not fit the room are passed over.
TEST_F(LogFolderTest, ShortRoomAndMissingArguments) {
    makeFolder("Velmora");
    makeFolder("Velmora with a long name");
    char name[MAX_PATH] = "";
    ASSERT_TRUE(findSubfolder(appData.c_str(), name, 8, "*Velmora*"));
    EXPECT_STREQ(name, "Velmora");
    EXPECT_FALSE(findSubfolder(appData.c_str(), name, 7, "*Velmora*"));
    char path[MAX_PATH] = "unchanged";
    EXPECT_FALSE(vlc::findLogFolder(path, MAX_PATH - 1));
    EXPECT_STREQ(path, "");
    EXPECT_FALSE(findSubfolder(nullptr, path, sizeof path, "*"));
}

TEST(JoinPath, OneBackslashBetweenFolderAndName) {
    EXPECT_EQ(joinPath("C:\\", "GAMES_V3.LOG"), "C:\\GAMES_V3.LOG");
    EXPECT_EQ(joinPath("C:\\Logs", "a.txt"), "C:\\Logs\\a.txt");
    EXPECT_EQ(joinPath("", "a.txt"), "a.txt");
    EXPECT_EQ(joinPath("C:\\Logs", ""), "C:\\Logs\\");
}

TEST(FileExistsIn, FilesAndFoldersExistMissingTextsDoNot) {
    testing::TempFolder folder;
    testing::writeFile(folder / "GAMES_V3.LOG", "");
    EXPECT_TRUE(fileExistsIn((folder.path + "\\").c_str(), "games_v3.log"));
    EXPECT_FALSE(fileExistsIn(folder.path.c_str(), "other.log"));
    EXPECT_FALSE(fileExistsIn(nullptr, "GAMES_V3.LOG"));
    EXPECT_FALSE(fileExistsIn(folder.path.c_str(), nullptr));
}

}  // namespace
}  // namespace vlc
