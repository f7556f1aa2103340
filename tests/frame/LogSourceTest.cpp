// The log source: how a log opens, where its records start, and the text it gives for a record, whatever
// the size of its windows and wherever a window ends.
#include "frame/LogSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "frame/LogFixtures.h"

namespace noxi::test {
namespace {

class Source : public ::testing::Test {
protected:
    std::string log(const std::string& text) {
        writeFile(temp.path() / "GAMES_V3.LOG", text);
        return temp.file("GAMES_V3.LOG");
    }
    TempDir temp;
};

TEST_F(Source, OpensALogAndTellsWhyNot) {
    fs::create_directories(temp.path() / "folder");
    const struct {
        std::string text;
        LogSource::Opened opened;
    } cases[] = {
        {"ID=1;", LogSource::Opened::Yes},
        {"", LogSource::Opened::Empty},
        {"\xFF\xFEI\0D\0", LogSource::Opened::Utf16},
        {"\xFE\xFF\0I\0D", LogSource::Opened::Utf16},
        {"\xFF", LogSource::Opened::Yes},
        {"\xFE\xFE", LogSource::Opened::Yes},
    };
    for (const auto& c : cases) {
        LogSource source;
        EXPECT_EQ(source.open(log(c.text).c_str()), c.opened) << c.text;
    }
    LogSource source;
    EXPECT_EQ(source.open(temp.file("nothing.log").c_str()), LogSource::Opened::Missing);
    EXPECT_EQ(source.open(temp.file("folder").c_str()), LogSource::Opened::Missing);
}

// Where each record starts when every record is a bad one: past the rest of its line, or past a whole run
// of NULs, then past line ends and blanks. Worked out on the whole text, the plain way.
std::vector<std::uint64_t> expectedStarts(const std::string& text) {
    std::vector<std::uint64_t> starts;
    std::size_t at = 0;
    do {
        starts.push_back(at);
        if (text[at] == '\0') {
            while (at < text.size() && text[at] == '\0')
                ++at;
        } else {
            while (at < text.size() && text[at] != '\0' && text[at] != '\n' && text[at] != '\r')
                ++at;
        }
        while (at < text.size() && (text[at] == '\n' || text[at] == '\r' || text[at] == ' '))
            ++at;
    } while (at < text.size());
    return starts;
}

const std::string Nul(1, '\0');
const std::vector<std::string> Logs = {
    goodHands(1, 4, "\n") + "\r\n  \r\r\n\n" + goodHands(5, 6, "\r") + "   " + goodHand(7),
    Nul + goodHand(1) + "\n" + Nul + "\n\n" + std::string(3000, '\0') + goodHand(2) + "\r\n" + Nul,
    goodHand(1) + "\n" + std::string(3000, 'x') + "\n" + goodHand(2) + std::string(200, ';') + "\n",
    "\n\n  " + goodHands(1, 3) + std::string(100, '\n') + "ID=4;" + "\r\n" + goodHand(5) + "\n",
    goodHands(1, 30, "\r"),
};

TEST_F(Source, RecordsStartWhereTheLineRulesSayInEveryWindowSize) {
    for (const std::string& text : Logs) {
        const std::string path = log(text);
        const std::vector<std::uint64_t> expected = expectedStarts(text);
        for (const std::size_t block : {1, 2, 3, 7, 64, 4096, 1 << 18}) {
            LogSource source({.blockSize = block, .mostWindow = std::max<std::size_t>(block, 512)});
            ASSERT_EQ(source.open(path.c_str()), LogSource::Opened::Yes);
            std::vector<std::uint64_t> starts;
            std::uint64_t at = 0;
            do {
                starts.push_back(at);
                // The text given starts at the record and holds it up to its first NUL, LF or CR.
                LogSource::Piece piece;
                ASSERT_TRUE(source.pieceAt(at, piece));
                const std::size_t lineEnd = text.find_first_of(std::string("\n\r") + Nul, at);
                const std::size_t line = (lineEnd == std::string::npos ? text.size() : lineEnd) - at;
                if (!piece.more) {
                    ASSERT_LE(line, static_cast<std::size_t>(piece.end - piece.text));
                    EXPECT_EQ(std::string(piece.text, line), text.substr(at, line));
                }
                ASSERT_TRUE(source.nextRecord(at, 0, at));
            } while (at < source.size());
            EXPECT_EQ(starts, expected) << "block " << block;
        }
    }
}

// A good record is skipped from the end of its chunks, so what follows its last semicolon on the line is
// passed over even when it holds a NUL's look-alike or another record's text.
TEST_F(Source, AGoodRecordIsSkippedFromTheEndOfItsChunks) {
    const std::string text = "A=1;;B=2;\r\nC=3;";
    LogSource source({.blockSize = 2, .mostWindow = 512});
    ASSERT_EQ(source.open(log(text).c_str()), LogSource::Opened::Yes);
    std::uint64_t next = 0;
    ASSERT_TRUE(source.nextRecord(0, 4, next));
    EXPECT_EQ(next, 11u);
}

// A record longer than the widest window comes in pieces, each starting where the chunks were read to.
TEST_F(Source, ALongRecordComesInPieces) {
    std::string record;
    while (record.size() < 5000)
        record += "X=" + std::to_string(record.size()) + ";";
    const std::string text = record + "\r\n" + goodHand(2);
    LogSource source({.blockSize = 256, .mostWindow = 1024});
    ASSERT_EQ(source.open(log(text).c_str()), LogSource::Opened::Yes);
    std::string seen;
    std::uint64_t at = 0;
    LogSource::Piece piece;
    ASSERT_TRUE(source.pieceAt(at, piece));
    while (piece.more) {
        const std::string_view bytes(piece.text, static_cast<std::size_t>(piece.end - piece.text));
        EXPECT_EQ(bytes.find_first_of("\r\n"), std::string_view::npos);
        const std::size_t chunks = bytes.rfind(';') + 1;  // as the intake reads up to its last whole chunk
        seen += bytes.substr(0, chunks);
        at += chunks;
        ASSERT_TRUE(source.pieceAt(at, piece));
    }
    seen += std::string(piece.text, std::strcspn(piece.text, "\r\n"));
    EXPECT_EQ(seen, record);
}

// Taken in again by their places, in any order, the records come back as they are in the file.
TEST_F(Source, RecordsTakenInAgainByTheirPlaces) {
    const std::string text = goodHands(1, 2000);
    const std::vector<std::uint64_t> starts = expectedStarts(text);
    std::vector<std::uint64_t> order = starts;
    std::mt19937 random(7);
    std::shuffle(order.begin(), order.end(), random);
    for (std::size_t k = 0; k + 3 < starts.size(); k += 3)
        order.insert(order.end(), {starts[k + 1], starts[k], starts[k + 2]});  // nearly in order
    LogSource source({.blockSize = 4096, .mostWindow = 65536});
    ASSERT_EQ(source.open(log(text).c_str()), LogSource::Opened::Yes);
    source.lookBehind(true);
    for (const std::uint64_t at : order) {
        LogSource::Piece piece;
        ASSERT_TRUE(source.pieceAt(at, piece));
        ASSERT_FALSE(piece.more);
        const std::size_t line = text.find('\r', at) - at;
        ASSERT_EQ(std::string(piece.text, line), text.substr(at, line));
    }
}

// A log cut short while it is read cannot be read there.
TEST_F(Source, ALogCutShortFailsToRead) {
    const std::string path = log(goodHands(1, 100));
    LogSource source({.blockSize = 64, .mostWindow = 1024});
    ASSERT_EQ(source.open(path.c_str()), LogSource::Opened::Yes);
    fs::resize_file(path, 10);
    LogSource::Piece piece;
    EXPECT_FALSE(source.pieceAt(2000, piece));
}

}  // namespace
}  // namespace noxi::test
