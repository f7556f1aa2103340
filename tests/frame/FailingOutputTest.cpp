// Output that fails under the converter: a full disk, a file size limit met in the middle of a hand, an
// output folder that vanishes between files, paths that cannot be written. The run reports the failure and
// never counts a hand that did not reach its file whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "frame/LogFixtures.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#endif

namespace noxi::test {
namespace {

struct Reports {
    std::vector<std::string> errors;
    int saving = 0;
    // Called at the first saving report after a hand was written; answers whether to go on.
    std::function<bool()> onFirstHand = [] { return true; };

    static bool callback(int stage, char* text, int percent, void* user) {
        auto* self = static_cast<Reports*>(user);
        if (stage == StageError) self->errors.push_back(text);
        return stage != StageSaving || percent == 0 || self->saving++ > 0 || self->onFirstHand();
    }
};

class FailingOutput : public ::testing::Test {
protected:
    void SetUp() override {
        resetOptions();
        SetFileSplit(SingleFile, 0);
        writeFile(temp.path() / "GAMES_V3.LOG", goodHands(1, 40));
    }

    int run(const std::string& out, std::size_t blockSize, Reports* reports = nullptr,
            bool writeAhead = true) {
        return convert(in(), out, reports != nullptr ? &Reports::callback : nullptr, reports,
                       {.writeBlockSize = blockSize, .writeAhead = writeAhead});
    }
    std::string in() const { return temp.file("GAMES_V3.LOG"); }
    static std::string cannot(const char* what, const std::string& out) {
        return std::string("ERROR: Couldn't ") + what + " hand history file \"" + out + "\".\n";
    }

    TempDir temp;
};

#ifndef _WIN32
TEST_F(FailingOutput, AFullDiskClaimsNoHand) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    for (bool writeAhead : {false, true}) {
        for (std::size_t blockSize : {std::size_t{1}, std::size_t{1} << 20}) {
            SCOPED_TRACE(::testing::Message() << blockSize << (writeAhead ? " written ahead" : ""));
            EXPECT_EQ(run("/dev/full", blockSize, nullptr, writeAhead), -1);
            EXPECT_EQ(std::string(GetErrorLog()), cannot("write", "/dev/full"));
            EXPECT_EQ(GetTotalHands(), 0u);
            EXPECT_EQ(GetNumFiles(), 1u);
        }
    }
    // A stop asked while the disk is full still tells of the failure, through the callback.
    Reports reports;
    reports.onFirstHand = [] { return false; };
    EXPECT_EQ(run("/dev/full", std::size_t{1} << 20, &reports), 0);
    EXPECT_EQ(reports.errors, std::vector<std::string>{"Couldn't write hand history file \"/dev/full\"."});
    EXPECT_EQ(GetTotalHands(), 0u);
}

// The file system refuses to let a file grow past a limit, as a small disk would: the write that crosses it
// is cut short, so a hand is left half written.
struct FileSizeLimit {
    rlimit old{};
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    bool set = false;
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit limit{bytes, old.rlim_max};
        set = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }
};

TEST_F(FailingOutput, AFileSizeLimitInTheSecondFileOfASplitCountsOnlyTheWholeHands) {
    // Five short hands, then five with long table names, five to a file: only the second file meets the
    // limit, inside a hand.
    std::string log = goodHands(1, 5);
    for (int id = 6; id <= 10; ++id)
        log += handWith(id, {{"TABLE", "TABLE=" + std::string(200, 't')}}) + "\r\n";
    writeFile(in(), log);
    SetFileSplit(SplitByHandsPerFile, 5);
    ASSERT_EQ(run(temp.file("hh.txt"), std::size_t{1} << 20), 1);
    const std::string first = readFile(temp.file("hh1.txt"));
    const std::string second = readFile(temp.file("hh2.txt"));
    // Where each hand ends: before the next hand's "Game #N starts." line, the last before "Table Closed".
    std::vector<std::size_t> ends;
    for (std::size_t at = second.find("\r\nGame #", 1); at != std::string::npos;
         at = second.find("\r\nGame #", at + 1))
        ends.push_back(at);
    ends.push_back(second.rfind("Table Closed"));
    ASSERT_EQ(ends.size(), 5u);
    const std::size_t limit = std::max(first.size(), ends[0] + 1);
    ASSERT_LT(limit, ends[4]);
    const auto whole =
        static_cast<unsigned long>(std::upper_bound(ends.begin(), ends.end(), limit) - ends.begin());
    // Written ahead, and taken in again with the second file written on a second thread (which meets the
    // limit first, so that the saving step writes the file itself and meets it again).
    for (bool writeAhead : {true, false}) {
        for (std::size_t blockSize : {std::size_t{1}, std::size_t{64}, std::size_t{1} << 20}) {
            SCOPED_TRACE(::testing::Message() << blockSize << (writeAhead ? " written ahead" : ""));
            {
                FileSizeLimit size(limit);
                if (!size.set) GTEST_SKIP() << "cannot limit the file size here";
                EXPECT_EQ(run(temp.file("hh.txt"), blockSize, nullptr, writeAhead), -1);
            }
            EXPECT_EQ(std::string(GetErrorLog()), cannot("write", temp.file("hh.txt")));
            EXPECT_EQ(GetNumFiles(), 2u);
            EXPECT_EQ(GetTotalHands(), 5 + whole);
            EXPECT_EQ(readFile(temp.file("hh1.txt")), first);
            EXPECT_EQ(readFile(temp.file("hh2.txt")), second.substr(0, limit));
            EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator{}), 3);
        }
    }
}

TEST_F(FailingOutput, TheOutputFolderIsReplacedByAFileBetweenFiles) {
    const fs::path folder = temp.path() / "out";
    fs::create_directories(folder);
    SetFileSplit(SplitByHandsPerFile, 2);
    Reports reports;
    reports.onFirstHand = [&] {
        fs::remove_all(folder);
        writeFile(folder, "in the way");
        return true;
    };
    const std::string out = (folder / "hh.txt").string();
    EXPECT_EQ(run(out, std::size_t{1} << 20, &reports), -1);
    EXPECT_EQ(reports.errors, std::vector<std::string>{"Couldn't create hand history file \"" + out + "\"."});
    EXPECT_STREQ(GetErrorLog(), "");
    // The two hands of the first file went into it before it vanished; the second file was never made.
    EXPECT_EQ(GetNumFiles(), 2u);
    EXPECT_EQ(GetTotalHands(), 2u);
}

TEST_F(FailingOutput, AReadOnlyFileIsLeftAsItWas) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes through any permission";
    const std::string file = temp.file("locked.txt");
    writeFile(file, "keep me");
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_EQ(run(file, 64), -1);
    EXPECT_EQ(std::string(GetErrorLog()), cannot("create", file));
    EXPECT_EQ(readFile(file), "keep me");
}
#endif

// A folder, a missing folder, or the log itself (which is never replaced) cannot be made the output.
TEST_F(FailingOutput, PathsThatCannotBeCreated) {
    const std::string log = readFile(in());
    for (const std::string& out : {temp.path().string(), temp.file("missing/hh.txt"), in()}) {
        EXPECT_EQ(run(out, 64), -1);
        EXPECT_EQ(std::string(GetErrorLog()), cannot("create", out));
        EXPECT_EQ(GetTotalHands(), 0u);
        EXPECT_EQ(GetNumFiles(), 1u);
    }
    EXPECT_EQ(readFile(in()), log);

    // Nor as a later file of a split: a log named like the second file.
    const std::string second = temp.file("hh2.txt");
    writeFile(second, log);
    SetFileSplit(SplitByHandsPerFile, 30);
    EXPECT_EQ(convert(second, temp.file("hh.txt")), -1);
    EXPECT_EQ(std::string(GetErrorLog()), cannot("create", temp.file("hh.txt")));
    EXPECT_EQ(readFile(second), log);
    EXPECT_EQ(GetTotalHands(), 30u);
    EXPECT_EQ(writtenIds(readFile(temp.file("hh1.txt"))), idRange(1, 30));
}

}  // namespace
}  // namespace noxi::test
