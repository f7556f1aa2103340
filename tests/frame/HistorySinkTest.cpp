// The history sink: file names, whole hands in blocks, the closing line, and the scratch files that take the
// outputs' names only when the saving step reaches them.
#include "frame/HistorySink.h"

#include <gtest/gtest.h>

#include "frame/LogFixtures.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace noxi::test {
namespace {

TEST(SplitFileName, NumberGoesBeforeTheExtensionOfTheFileName) {
    const std::pair<const char*, const char*> names[] = {
        {"C:\\a.b\\out", "C:\\a.b\\out1.txt"},
        {"/home/me/hands.tar.txt", "/home/me/hands.tar1.txt"},
        {".hidden", "1.txt"}};
    for (const auto& [path, first] : names)
        EXPECT_EQ(splitFileName(path, 1), first) << path;
    EXPECT_EQ(splitFileName("C:\\hh\\out.txt", 12), "C:\\hh\\out12.txt");
    EXPECT_EQ(fileNamePart("a/b\\c"), "c");
    EXPECT_EQ(fileNamePart("plain"), "plain");
}

constexpr std::string_view Closed = "Table Closed\r\n";

// Two hands of history, each starting with the line that parts it from the hand before.
std::string history(int id) {
    return "Game #" + std::to_string(id) + " starts.\r\n\r\n#Game No : " + std::to_string(id) +
           " \r\nbody\r\n";
}

class Sink : public ::testing::Test {
protected:
    Sink() { writeFile(temp.path() / "GAMES_V3.LOG", "log"); }
    std::string out(const std::string& name) const { return temp.file(name); }
    std::string in() const { return temp.file("GAMES_V3.LOG"); }
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator{}));
    }
    TempDir temp;
};

TEST_F(Sink, DirectFilesAreWrittenAtTheirNamesWithTheirClosingLine) {
    DirectSink sink(out("hh.txt"), in(), false, 10);
    ASSERT_TRUE(sink.openFile(1));
    EXPECT_TRUE(sink.addHand(history(1)));
    EXPECT_TRUE(sink.addHand(history(2)));
    EXPECT_TRUE(sink.endFile());
    ASSERT_TRUE(sink.openFile(2));
    EXPECT_TRUE(sink.writeHands(history(3), {history(3).size()}));
    EXPECT_TRUE(sink.endFile());
    EXPECT_EQ(readFile(out("hh1.txt")), history(1) + history(2) + std::string(Closed));
    EXPECT_EQ(readFile(out("hh2.txt")), history(3) + std::string(Closed));
    EXPECT_EQ(sink.handsLost(), 0u);
}

TEST_F(Sink, NoOutputFileReplacesTheLog) {
    DirectSink direct(in(), in(), true, 10);
    EXPECT_FALSE(direct.openFile(1));
    ScratchSink scratch(in(), in(), true, 10);
    EXPECT_FALSE(scratch.openFile(1));
    EXPECT_EQ(readFile(in()), "log");
}

TEST_F(Sink, AScratchFileTakesTheOutputsNameOnlyWhenPublished) {
    writeFile(out("hh.txt"), "old history");
    {
        ScratchSink sink(out("hh.txt"), in(), true, 1 << 20);
        ASSERT_TRUE(sink.openFile(1));
        EXPECT_TRUE(sink.addHand(history(1)));
        EXPECT_TRUE(sink.endFile());
        EXPECT_EQ(readFile(out("hh.txt")), "old history");
        EXPECT_EQ(entries(), 3u);  // the log, the output and the scratch file beside it
        ASSERT_TRUE(sink.publish(1));
        EXPECT_TRUE(sink.keep(1));
    }
    EXPECT_EQ(readFile(out("hh.txt")), history(1) + std::string(Closed));
    EXPECT_EQ(entries(), 2u);
}

TEST_F(Sink, ScratchFilesNotPublishedLeaveNothing) {
    writeFile(out("hh1.txt"), "old history");
    {
        ScratchSink sink(out("hh.txt"), in(), false, 1 << 20);
        ASSERT_TRUE(sink.openFile(1));
        EXPECT_TRUE(sink.addHand(history(1)));
        EXPECT_TRUE(sink.endFile());
    }
    EXPECT_EQ(readFile(out("hh1.txt")), "old history");
    EXPECT_EQ(entries(), 2u);
}

// The later files of a split written apart from the earlier ones: the sink's files start at file 3, each
// takes its name only as itself, and a stop counts the hands from the sink's first.
TEST_F(Sink, ScratchFilesOfLaterFilesTakeOnlyTheirOwnNames) {
    writeFile(out("hh3.txt"), "old history");
    writeFile(out("hh4.txt"), "old history");
    ScratchSink sink(out("hh.txt"), in(), false, 1 << 20);
    for (std::uint32_t number : {3u, 4u}) {
        ASSERT_TRUE(sink.openFile(number));
        EXPECT_TRUE(sink.addHand(history(static_cast<int>(2 * number))));
        EXPECT_TRUE(sink.addHand(history(static_cast<int>(2 * number + 1))));
        EXPECT_TRUE(sink.endFile());
    }
    EXPECT_FALSE(sink.publish(2));
    EXPECT_FALSE(sink.publish(4));
    ASSERT_TRUE(sink.publish(3));
    ASSERT_TRUE(sink.publish(4));
    EXPECT_TRUE(sink.keep(3));
    EXPECT_EQ(readFile(out("hh3.txt")), history(6) + history(7) + std::string(Closed));
    EXPECT_EQ(readFile(out("hh4.txt")), history(8) + std::string(Closed));
    EXPECT_EQ(entries(), 3u);
}

// A stop in the saving step keeps the hands counted so far in the file being saved, and files not reached
// stay as they were.
TEST_F(Sink, KeepCutsThePublishedFileAfterTheHandsCounted) {
    writeFile(out("hh2.txt"), "old history");
    ScratchSink sink(out("hh.txt"), in(), false, 1 << 20);
    ASSERT_TRUE(sink.openFile(1));
    for (int id = 1; id <= 3; ++id)
        EXPECT_TRUE(sink.addHand(history(id)));
    EXPECT_TRUE(sink.endFile());
    ASSERT_TRUE(sink.openFile(2));
    EXPECT_TRUE(sink.addHand(history(4)));
    EXPECT_TRUE(sink.endFile());
    ASSERT_TRUE(sink.publish(1));
    EXPECT_TRUE(sink.keep(2));
    EXPECT_EQ(readFile(out("hh1.txt")), history(1) + history(2) + std::string(Closed));
    EXPECT_EQ(readFile(out("hh2.txt")), "old history");
    EXPECT_EQ(entries(), 3u);
}

#ifndef _WIN32
// A file with a second name, a link or someone else's file is not replaced by a scratch file: written where
// it is, every name of it shows the new histories.
TEST_F(Sink, AFileWithASecondNameIsNotReplaced) {
    writeFile(out("hh.txt"), "old history");
    ASSERT_EQ(::link(out("hh.txt").c_str(), out("second.txt").c_str()), 0);
    ScratchSink sink(out("hh.txt"), in(), true, 10);
    EXPECT_FALSE(sink.openFile(1));
    EXPECT_EQ(entries(), 3u);
}
#endif

}  // namespace
}  // namespace noxi::test
