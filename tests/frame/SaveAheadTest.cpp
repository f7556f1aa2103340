// A split whose hands are taken in again from their places writes its later files on a second thread: they
// must come out as the saving step alone writes them, and what the thread cannot write the saving step
// writes itself. (The differential test in WriteAheadTest compares every range, split and stop.)
#include <gtest/gtest.h>

#include <map>

#include "frame/LogFixtures.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace noxi::test {
namespace {

// Every file in the output folder, by name.
std::map<std::string, std::string> folderOf(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = readFile(entry.path());
    return files;
}

class SaveAheadSplit : public ::testing::Test {
protected:
    void SetUp() override {
        resetOptions();
        SetRangeType(RangeAll);
        // Forty hands to a file: hands out of order, a repeated number and a damaged line, which take the
        // hands in again from their places.
        std::string log = goodHands(101, 160) + goodHand(5) + "\r\nID=7;\r\n" + goodHands(1, 100);
        writeFile(temp.path() / "GAMES_V3.LOG", log);
        SetFileSplit(SplitByFileCount, 4);
    }
    int run(const fs::path& folder, bool saveAhead) {
        fs::create_directories(folder);
        return convert(temp.file("GAMES_V3.LOG"), (folder / "hh.txt").string(), nullptr, nullptr,
                       {.saveAhead = saveAhead});
    }
    TempDir temp;
};

#ifndef _WIN32
ino_t inodeOf(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

// An earlier file written at its name keeps its inode; one that a scratch file replaced has the scratch
// file's. So the first half of the files shows the saving step's hand, the second half the thread's.
TEST_F(SaveAheadSplit, TheSecondHalfOfTheFilesIsWrittenOnTheThreadAndComesOutTheSame) {
    const fs::path alone = temp.path() / "alone";
    const fs::path ahead = temp.path() / "ahead";
    ASSERT_EQ(run(alone, false), 1);
    std::map<std::string, ino_t> before;
    fs::create_directories(ahead);
    for (const char* name : {"hh1.txt", "hh2.txt", "hh3.txt", "hh4.txt"}) {
        writeFile(ahead / name, "old history");
        before[name] = inodeOf(ahead / name);
        ASSERT_NE(before[name], 0u);
    }
    ASSERT_EQ(run(ahead, true), 1);
    EXPECT_EQ(GetNumFiles(), 4u);
    EXPECT_EQ(GetTotalHands(), 160u);
    EXPECT_EQ(folderOf(ahead), folderOf(alone));
    EXPECT_EQ(inodeOf(ahead / "hh1.txt"), before["hh1.txt"]);
    EXPECT_EQ(inodeOf(ahead / "hh2.txt"), before["hh2.txt"]);
    EXPECT_NE(inodeOf(ahead / "hh3.txt"), before["hh3.txt"]);
    EXPECT_NE(inodeOf(ahead / "hh4.txt"), before["hh4.txt"]);
}

// The thread replaces no link: the file reached through one is written by the saving step, through the
// link, after the thread's earlier file took its name.
TEST_F(SaveAheadSplit, AFileTheThreadMayNotReplaceIsWrittenByTheSavingStep) {
    const fs::path alone = temp.path() / "alone";
    const fs::path ahead = temp.path() / "ahead";
    ASSERT_EQ(run(alone, false), 1);
    fs::create_directories(ahead);
    writeFile(temp.path() / "real.txt", "old history");
    fs::create_symlink(temp.path() / "real.txt", ahead / "hh4.txt");
    ASSERT_EQ(run(ahead, true), 1);
    EXPECT_EQ(GetNumFiles(), 4u);
    EXPECT_TRUE(fs::is_symlink(ahead / "hh4.txt"));
    EXPECT_EQ(readFile(temp.path() / "real.txt"), readFile(alone / "hh4.txt"));
    EXPECT_EQ(folderOf(ahead), folderOf(alone));
}
#endif

// A log that changed under the conversion fails as it does without the thread. Here the lines of the later
// files' hands change (to other numbers of the same length) as the saving step starts: the thread finds
// them changed and stops, and the saving step, which writes the earlier files as they were, finds the
// change itself when it reaches the later files.
TEST_F(SaveAheadSplit, ALogChangedUnderTheLaterFilesFailsAsWithoutTheThread) {
    struct Changer {
        fs::path log;
        static bool callback(int stage, char*, int percent, void* user) {
            if (stage == StageSaving && percent == 0)
                writeFile(static_cast<Changer*>(user)->log, goodHands(201, 260) + goodHands(1, 100));
            return true;
        }
    };
    std::map<bool, std::map<std::string, std::string>> folders;
    for (bool saveAhead : {false, true}) {
        SCOPED_TRACE(saveAhead);
        const fs::path folder = temp.path() / (saveAhead ? "ahead" : "alone");
        fs::create_directories(folder);
        writeFile(temp.path() / "GAMES_V3.LOG", goodHands(101, 160) + goodHands(1, 100));
        Changer changer{temp.path() / "GAMES_V3.LOG"};
        EXPECT_EQ(convert(temp.file("GAMES_V3.LOG"), (folder / "hh.txt").string(), &Changer::callback,
                          &changer, {.saveAhead = saveAhead, .readBlockSize = 64}),
                  -1);
        EXPECT_EQ(GetNumFiles(), 3u);
        EXPECT_EQ(GetTotalHands(), 100u);
        folders[saveAhead] = folderOf(folder);
    }
    EXPECT_EQ(folders[true], folders[false]);
    EXPECT_EQ(folders[true].size(), 3u);
}

}  // namespace
}  // namespace noxi::test
