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
    // Called at the first saving report after a hand was written.
    std::function<void()> onFirstHand;
    bool stopAfterFirstHand = false;

    static bool callback(int stage, char* text, int percent, void* user) {
        auto* self = static_cast<Reports*>(user);
        if (stage == StageError) {
            self->errors.push_back(text);
            return true;
        }
        if (stage == StageSaving && percent > 0 && self->saving++ == 0) {
            if (self->onFirstHand) self->onFirstHand();
            if (self->stopAfterFirstHand) return false;
        }
        return true;
    }
};

class FailingOutput : public ::testing::Test {
protected:
    void SetUp() override {
        resetOptions();
        writeFile(temp.path() / "GAMES_V3.LOG", goodHands(1, 40));
    }

    int run(const std::string& out, std::size_t blockSize, Reports* reports = nullptr,
            bool writeAhead = true) {
        return convert(in(), out, reports != nullptr ? &Reports::callback : nullptr, reports,
                       {.writeBlockSize = blockSize, .writeAhead = writeAhead});
    }

    std::string in() const { return temp.file("GAMES_V3.LOG"); }

    TempDir temp;
};

#ifndef _WIN32
TEST_F(FailingOutput, AFullDiskClaimsNoHand) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    SetFileSplit(SingleFile, 0);
    for (bool writeAhead : {false, true}) {
        for (std::size_t blockSize : {std::size_t{1}, std::size_t{700}, std::size_t{1} << 20}) {
            SCOPED_TRACE(::testing::Message() << blockSize << (writeAhead ? " written ahead" : ""));
            EXPECT_EQ(run("/dev/full", blockSize, nullptr, writeAhead), -1);
            EXPECT_EQ(std::string(GetErrorLog()), "ERROR: Couldn't write hand history file \"/dev/full\".\n");
            EXPECT_EQ(GetTotalHands(), 0u);
            EXPECT_EQ(GetNumFiles(), 1u);
        }
    }

    // A stop asked while the disk is full still tells of the failure, through the callback.
    Reports reports;
    reports.stopAfterFirstHand = true;
    EXPECT_EQ(run("/dev/full", std::size_t{1} << 20, &reports), 0);
    EXPECT_EQ(reports.errors, std::vector<std::string>{"Couldn't write hand history file \"/dev/full\"."});
    EXPECT_EQ(GetTotalHands(), 0u);
}

// Where each hand of a history ends: just before the next hand's "Game #N starts." line, and the last one
// just before "Table Closed".
std::vector<std::size_t> handEnds(const std::string& history) {
    std::vector<std::size_t> ends;
    for (std::size_t at = history.find("\r\nGame #", 1); at != std::string::npos;
         at = history.find("\r\nGame #", at + 1))
        ends.push_back(at);
    ends.push_back(history.rfind("Table Closed"));
    return ends;
}

// The file system refuses to let the file grow past a limit, as a small disk would: the write that crosses it
// is cut short, so a hand is left half written.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        set_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool set() const { return set_; }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
    bool set_ = false;
};

TEST_F(FailingOutput, APartialWriteCountsOnlyTheWholeHands) {
    SetFileSplit(SingleFile, 0);
    ASSERT_EQ(run(temp.file("full.txt"), std::size_t{1} << 20), 1);
    const std::string full = readFile(temp.file("full.txt"));
    const std::vector<std::size_t> ends = handEnds(full);
    ASSERT_EQ(ends.size(), 40u);

    constexpr std::size_t Limit = 5000;
    std::size_t wholeHands = 0;
    while (wholeHands < ends.size() && ends[wholeHands] <= Limit)
        ++wholeHands;
    ASSERT_GT(wholeHands, 1u);
    ASSERT_LT(ends[wholeHands - 1], Limit);  // the limit falls inside a hand

    for (std::size_t blockSize : {std::size_t{1}, std::size_t{1500}, std::size_t{1} << 20}) {
        SCOPED_TRACE(blockSize);
        const std::string out = temp.file("cut.txt");
        int result = 0;
        {
            FileSizeLimit limit(Limit);
            if (!limit.set()) GTEST_SKIP() << "cannot limit the file size here";
            result = run(out, blockSize);
        }
        EXPECT_EQ(result, -1);
        EXPECT_EQ(std::string(GetErrorLog()), "ERROR: Couldn't write hand history file \"" + out + "\".\n");
        const std::string cut = readFile(out);
        EXPECT_EQ(cut.size(), Limit);
        EXPECT_EQ(cut, full.substr(0, Limit));
        EXPECT_EQ(GetTotalHands(), wholeHands);
    }
}

TEST_F(FailingOutput, AFileSizeLimitInTheSecondFileOfASplit) {
    // Five short hands, then five with long table names, five to a file: only the second file meets the
    // limit.
    std::string log = goodHands(1, 5);
    for (int id = 6; id <= 10; ++id)
        log += handWith(id, {{"TABLE", "TABLE=" + std::string(200, 't')}}) + "\r\n";
    writeFile(in(), log);
    SetFileSplit(SplitByHandsPerFile, 5);
    ASSERT_EQ(run(temp.file("hh.txt"), std::size_t{1} << 20), 1);
    const std::string first = readFile(temp.file("hh1.txt"));
    const std::vector<std::size_t> ends = handEnds(readFile(temp.file("hh2.txt")));
    ASSERT_EQ(ends.size(), 5u);
    const std::size_t limit = std::max(first.size(), ends[0] + 1);
    ASSERT_LT(limit, ends[4]);
    const auto whole =
        static_cast<unsigned long>(std::upper_bound(ends.begin(), ends.end(), limit) - ends.begin());
    {
        FileSizeLimit size(limit);
        if (!size.set()) GTEST_SKIP() << "cannot limit the file size here";
        EXPECT_EQ(run(temp.file("hh.txt"), 64), -1);
    }
    EXPECT_EQ(GetNumFiles(), 2u);
    EXPECT_EQ(GetTotalHands(), 5 + whole);
    EXPECT_EQ(readFile(temp.file("hh1.txt")), first);
    EXPECT_EQ(readFile(temp.file("hh2.txt")).size(), limit);
}

TEST_F(FailingOutput, TheOutputFolderVanishesBetweenFiles) {
    const fs::path folder = temp.path() / "out";
    for (bool replacedByAFile : {false, true}) {
        SCOPED_TRACE(replacedByAFile);
        fs::create_directories(folder);
        SetFileSplit(SplitByHandsPerFile, 2);
        Reports reports;
        reports.onFirstHand = [&] {
            fs::remove_all(folder);
            if (replacedByAFile) writeFile(folder, "in the way");
        };
        const std::string out = (folder / "hh.txt").string();
        EXPECT_EQ(run(out, std::size_t{1} << 20, &reports), -1);
        EXPECT_EQ(reports.errors,
                  std::vector<std::string>{"Couldn't create hand history file \"" + out + "\"."});
        EXPECT_STREQ(GetErrorLog(), "");
        // The two hands of the first file went into it before it vanished; the second file was never made.
        EXPECT_EQ(GetNumFiles(), 2u);
        EXPECT_EQ(GetTotalHands(), 2u);
        EXPECT_FALSE(fs::exists(folder / "hh2.txt"));
        fs::remove_all(folder);
    }
}

TEST_F(FailingOutput, ReadOnlyFileOrFolder) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes through any permission";
    SetFileSplit(SingleFile, 0);
    const std::string file = temp.file("locked.txt");
    writeFile(file, "keep me");
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_EQ(run(file, 64), -1);
    EXPECT_EQ(std::string(GetErrorLog()), "ERROR: Couldn't create hand history file \"" + file + "\".\n");
    EXPECT_EQ(readFile(file), "keep me");

    const fs::path folder = temp.path() / "locked";
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    const std::string out = (folder / "hh.txt").string();
    EXPECT_EQ(run(out, 64), -1);
    EXPECT_EQ(std::string(GetErrorLog()), "ERROR: Couldn't create hand history file \"" + out + "\".\n");
    fs::permissions(folder, fs::perms::owner_all);
}
#endif

TEST_F(FailingOutput, AFolderOrAMissingFolderForTheOutput) {
    SetFileSplit(SingleFile, 0);
    for (const std::string& out : {temp.path().string(), temp.file("missing/hh.txt")}) {
        EXPECT_EQ(run(out, 64), -1);
        EXPECT_EQ(std::string(GetErrorLog()), "ERROR: Couldn't create hand history file \"" + out + "\".\n");
        EXPECT_EQ(GetTotalHands(), 0u);
        EXPECT_EQ(GetNumFiles(), 1u);
    }
}

TEST_F(FailingOutput, TheLogItselfIsNeverReplaced) {
    const std::string log = readFile(in());
    SetFileSplit(SingleFile, 0);
    EXPECT_EQ(run(in(), 64), -1);
    EXPECT_EQ(std::string(GetErrorLog()), "ERROR: Couldn't create hand history file \"" + in() + "\".\n");
    EXPECT_EQ(readFile(in()), log);

    // Nor as a later file of a split: a log named like the second file.
    const std::string second = temp.file("hh2.txt");
    writeFile(second, log);
    SetFileSplit(SplitByHandsPerFile, 30);
    const std::string out = temp.file("hh.txt");
    EXPECT_EQ(convert(second, out), -1);
    EXPECT_EQ(std::string(GetErrorLog()), "ERROR: Couldn't create hand history file \"" + out + "\".\n");
    EXPECT_EQ(readFile(second), log);
    EXPECT_EQ(GetTotalHands(), 30u);
    EXPECT_EQ(writtenIds(readFile(temp.file("hh1.txt"))), idRange(1, 30));
}

}  // namespace
}  // namespace noxi::test
