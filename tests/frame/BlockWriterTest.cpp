// The block writer: blocks handed over reach the file whole and in order while the caller goes on, and a
// block that falls short is told at the next hand-over or wait.
#include "frame/BlockWriter.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace noxi::test {
namespace {

TEST(BlockWriter, BlocksReachTheFileInOrderAndWhole) {
    TempDir temp;
    const std::string path = temp.file("out.txt");
    platform::OutputFile file;
    ASSERT_TRUE(file.create(path.c_str()));
    std::string expected;
    {
        BlockWriter writer(file);
        for (int k = 0; k < 200; ++k) {
            // Blocks of every size, from none to larger than the buffers grew to before.
            const std::string block(static_cast<std::size_t>(k * 37 % 5000), static_cast<char>('a' + k % 26));
            expected += block;
            ASSERT_TRUE(writer.hand(block));
        }
        ASSERT_TRUE(writer.wait());
        EXPECT_EQ(file.size(), expected.size());
        // The file is its owner's again between blocks: what the owner writes goes after them.
        file.write("|", 1);
        expected += "|";
        ASSERT_TRUE(writer.hand("end"));
        expected += "end";
    }  // the writer waits for the last block as it goes
    ASSERT_TRUE(file.close());
    EXPECT_EQ(readFile(path), expected);
}

#ifndef _WIN32
TEST(BlockWriter, ABlockThatFallsShortIsToldAndStopsTheBlocksAfterIt) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    platform::OutputFile file;
    ASSERT_TRUE(file.create("/dev/full"));
    BlockWriter writer(file);
    // The first block is taken while the thread is free; the failure shows at a later hand-over or wait.
    bool handed = true;
    for (int k = 0; k < 3 && handed; ++k)
        handed = writer.hand("hands");
    EXPECT_FALSE(writer.wait());
    // Told once: the next file starts afresh.
    EXPECT_TRUE(writer.wait());
}
#endif

}  // namespace
}  // namespace noxi::test
