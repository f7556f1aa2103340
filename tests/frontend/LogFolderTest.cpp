#include "settings/LogFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"

namespace vlc {
namespace {

using testing::removeTree;
using testing::specialFolder;
using testing::TempFolder;
using testing::writeFile;

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
        appData = specialFolder(CSIDL_APPDATA);
        ASSERT_FALSE(appData.empty());
        if (findSubfolder(appData.c_str(), nullptr, 0, "*Velmora*")) {
            GTEST_SKIP() << "the application-data folder holds Velmora folders of its own";
        }
    }

    void TearDown() override {
        for (auto made = created.rbegin(); made != created.rend(); ++made)
            removeTree(appData + "\\" + *made);
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

TEST_F(LogFolderTest, CandidatesAreTriedInOrderBeforeTheWildcard) {
    const std::string candidates[] = {"VelmoraPro2",     "VelmoraPro",     "Velmora",
                                      "VelmoraPro2Demo", "VelmoraProDemo", "Noxi\222sVelmora"};
    // The wildcard finds a folder with the name in it in any case.
    makeFolder("My VELMORA Tables");
    EXPECT_EQ(findLogFolder(), appData + "\\My VELMORA Tables\\logs");
    // Adding the candidates from the last to the first: each new one wins.
    for (int i = 5; i >= 0; --i) {
        makeFolder(candidates[i]);
        EXPECT_EQ(findLogFolder(), appData + "\\" + candidates[i] + "\\logs");
    }
}

TEST_F(LogFolderTest, SixthCandidateHasTheTypographicApostrophe) {
    if (GetACP() != 1252) GTEST_SKIP() << "the ANSI code page is " << GetACP() << ", not 1252";
    makeFolder("Noxi\222sVelmora");
    // The byte 0x92 of code page 1252 is U+2019, the right single quotation mark.
    const std::string expected = appData + "\\Noxi\222sVelmora\\logs";
    EXPECT_EQ(findLogFolder(), expected);
    std::wstring wide(MAX_PATH, L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(1252, 0, expected.c_str(), -1, wide.data(), MAX_PATH) - 1));
    EXPECT_NE(wide.find(L"Noxi\u2019sVelmora"), std::wstring::npos);
    EXPECT_NE(GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);
}

// With nothing found, the application-data folder with its backslash.
TEST_F(LogFolderTest, MatchingFileIsPassedOver) {
    writeFile(appData + "\\Velmora notes.txt", "");
    created.push_back("Velmora notes.txt");
    char name[MAX_PATH] = "";
    EXPECT_FALSE(findSubfolder(appData.c_str(), name, sizeof name, "*Velmora*"));
    EXPECT_EQ(findLogFolder(), appData + "\\");
    makeFolder("The Velmora Folder");
    EXPECT_TRUE(findSubfolder(appData.c_str(), name, sizeof name, "*Velmora*"));
    EXPECT_STREQ(name, "The Velmora Folder");
    EXPECT_EQ(findLogFolder(), appData + "\\The Velmora Folder\\logs");
}

TEST_F(LogFolderTest, MatchWithoutLogsFallsBackToTheDesktop) {
    makeFolder("Velmora Backup", nullptr);
    EXPECT_EQ(findLogFolder(), specialFolder(CSIDL_DESKTOP));
}

TEST_F(LogFolderTest, NamesThatDoNotFitTheRoomArePassedOver) {
    makeFolder("Velmora");
    makeFolder("Velmora with a long name");
    char name[MAX_PATH] = "";
    ASSERT_TRUE(findSubfolder(appData.c_str(), name, 8, "*Velmora*"));
    EXPECT_STREQ(name, "Velmora");
    EXPECT_FALSE(findSubfolder(appData.c_str(), name, 7, "*Velmora*"));
    EXPECT_FALSE(findSubfolder(appData.c_str(), name, 0, "*Velmora*"));
    EXPECT_TRUE(findSubfolder(appData.c_str(), nullptr, 0, "*long*"));
}

TEST_F(LogFolderTest, CurrentFolderIsRestored) {
    TempFolder elsewhere;
    ASSERT_TRUE(SetCurrentDirectoryA(elsewhere.path.c_str()));
    const std::string before = currentFolder();
    makeFolder("Velmora Backup", nullptr);
    findLogFolder();
    EXPECT_EQ(currentFolder(), before);
    char name[MAX_PATH];
    EXPECT_TRUE(findSubfolder(appData.c_str(), name, sizeof name, "*"));
    EXPECT_STRNE(name, ".");
    EXPECT_STRNE(name, "..");
    EXPECT_EQ(currentFolder(), before);
    EXPECT_FALSE(findSubfolder((appData + "\\no such folder").c_str(), name, sizeof name, "*"));
    EXPECT_EQ(currentFolder(), before);
    SetCurrentDirectoryA(appData.c_str());  // lets the temporary folder go
}

TEST_F(LogFolderTest, MissingArgumentsAndShortBuffers) {
    char path[MAX_PATH] = "unchanged";
    EXPECT_FALSE(vlc::findLogFolder(path, MAX_PATH - 1));
    EXPECT_STREQ(path, "");
    EXPECT_FALSE(findSubfolder(nullptr, path, sizeof path, "*"));
    EXPECT_FALSE(findSubfolder(appData.c_str(), path, sizeof path, nullptr));
}

TEST(JoinPath, OneBackslashBetweenFolderAndName) {
    struct {
        const char* folder;
        const char* name;
        const char* joined;
    } cases[] = {{"C:\\", "GAMES_V3.LOG", "C:\\GAMES_V3.LOG"},
                 {"C:\\Logs", "GAMES_V3.LOG", "C:\\Logs\\GAMES_V3.LOG"},
                 {"C:\\Logs\\", "a.txt", "C:\\Logs\\a.txt"},
                 {"", "a.txt", "a.txt"},
                 {"C:\\Logs", "", "C:\\Logs\\"}};
    for (const auto& c : cases)
        EXPECT_EQ(joinPath(c.folder, c.name), c.joined) << c.folder << " + " << c.name;
}

TEST(FileExistsIn, FilesAndFoldersExistMissingTextsDoNot) {
    TempFolder folder;
    writeFile(folder / "GAMES_V3.LOG", "");
    ASSERT_TRUE(CreateDirectoryA((folder / "logs").c_str(), nullptr));
    EXPECT_TRUE(fileExistsIn(folder.path.c_str(), "GAMES_V3.LOG"));
    EXPECT_TRUE(fileExistsIn((folder.path + "\\").c_str(), "games_v3.log"));
    EXPECT_TRUE(fileExistsIn(folder.path.c_str(), "logs"));
    EXPECT_FALSE(fileExistsIn(folder.path.c_str(), "other.log"));
    EXPECT_FALSE(fileExistsIn(nullptr, "GAMES_V3.LOG"));
    EXPECT_FALSE(fileExistsIn(folder.path.c_str(), nullptr));
}

}  // namespace
}  // namespace vlc
