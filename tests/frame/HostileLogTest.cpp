// Damaged and hostile logs: every kind of damage costs exactly the records it touches, each with its
// error-log line, and every good hand around it is still written. Random bytes are the fuzz targets' part.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/LogFixtures.h"

namespace noxi::test {
namespace {

class HostileLog : public ::testing::Test {
protected:
    void SetUp() override { resetOptions(); }

    // Converts the log into one file; the hand numbers written, or nothing when no file was made.
    std::vector<long long> convertLog(const std::string& text) {
        writeFile(temp.path() / "GAMES_V3.LOG", text);
        std::error_code ignored;
        fs::remove(temp.file("out1.txt"), ignored);
        result = convert(temp.file("GAMES_V3.LOG"), temp.file("out.txt"));
        if (!fs::exists(temp.file("out1.txt"))) return {};
        return writtenIds(readFile(temp.file("out1.txt")));
    }

    std::string errorLog() const { return GetErrorLog(); }

    TempDir temp;
    int result = 0;
};

// Lines cut short inside the log are among the damages below; a file cut short loses only its last record.
TEST_F(HostileLog, TruncatedFile) {
    EXPECT_EQ(convertLog(goodHands(1, 2) + "ID"), idRange(1, 2));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(errorLog(), "ERROR on Line 3, Chunk 1: Not a hand history.\n");
    EXPECT_EQ(GetNumBadHands(), 1u);
    // Cut just after the last semicolon, or between CR and LF: nothing is lost.
    EXPECT_EQ(convertLog(goodHands(1, 2) + goodHand(3)), idRange(1, 3));
    EXPECT_EQ(convertLog(goodHands(1, 2) + goodHand(3) + "\r"), idRange(1, 3));
    EXPECT_EQ(errorLog(), "");
}

TEST_F(HostileLog, NulBytes) {
    const std::string nul(1, '\0');
    // At the start, alone on a line, a run of them, inside a chunk, and as the last byte.
    const std::string hand4 = goodHand(4);
    const std::string broken = hand4.substr(0, 12) + nul + hand4.substr(12);  // "ID=4;GAME=Te" NUL "xas..."
    const std::string log = nul + goodHand(1) + "\r\n" + nul + "\r\n" + goodHand(2) + "\r\n" +
                            std::string(3, '\0') + goodHand(3) + "\r\n" + broken + "\r\n" + goodHand(5) +
                            "\r\n" + nul;
    // The rest of the broken line after the NUL holds every chunk of a hand but the number: hand 0.
    EXPECT_EQ(convertLog(log), (std::vector<long long>{0, 1, 2, 3, 5}));
    EXPECT_EQ(errorLog(),
              "ERROR on Line 1: No hands found.\n"
              "ERROR on Line 3: No hands found.\n"
              "ERROR on Line 5: No hands found.\n"
              "ERROR on Line 7, Chunk 2: Not a hand history.\n"
              "ERROR on Line 8: No hands found.\n"
              "ERROR on Line 11: No hands found.\n");
    EXPECT_EQ(GetNumBadHands(), 6u);
}

// A crash can leave the end of a log filled with zeros: the whole run is one bad record, not one per byte.
TEST_F(HostileLog, AZeroFilledTailIsOneBadRecord) {
    EXPECT_EQ(convertLog(goodHands(1, 2) + std::string(10 << 20, '\0') + goodHand(3)), idRange(1, 3));
    EXPECT_EQ(errorLog(), "ERROR on Line 3: No hands found.\n");
    EXPECT_EQ(convertLog(goodHands(1, 2) + std::string(3 << 20, '\0')), idRange(1, 2));
    EXPECT_EQ(errorLog(), "ERROR on Line 3: No hands found.\n");
}

TEST_F(HostileLog, BareCarriageReturns) {
    // A bare CR ends a line like a LF does; inside a chunk it breaks the line in two.
    EXPECT_EQ(convertLog(goodHands(1, 3, "\r") + goodHands(4, 5, "\n\r\r\n")), idRange(1, 5));
    EXPECT_EQ(errorLog(), "");
    const std::string hand2 = goodHand(2);
    const std::size_t board = hand2.find("BOARD=");
    const std::string broken = hand2.substr(0, board + 8) + "\r" + hand2.substr(board + 8);
    EXPECT_EQ(convertLog(goodHand(1) + "\r\n" + broken + "\r\n" + goodHand(3) + "\r\n"),
              (std::vector<long long>{1, 3}));
    EXPECT_EQ(errorLog(),
              "ERROR on Line 2, Chunk 13: Not a hand history.\n"
              "ERROR on Line 3: Hand is incomplete.\n");
}

TEST_F(HostileLog, TenThousandBlankLines) {
    std::string blank;
    for (int i = 0; i < 10000; ++i)
        blank += i % 3 == 0 ? "\r\n" : (i % 3 == 1 ? "\n" : "   \r");
    // Blank lines between records are passed over and not counted; only the file's first record starts where
    // the file does.
    EXPECT_EQ(convertLog(goodHand(1) + blank + "ID=x;" + blank + goodHand(3) + blank),
              (std::vector<long long>{1, 3}));
    EXPECT_EQ(errorLog(), "ERROR on Line 2, Chunk 1: ID must be a number.\n");
    EXPECT_EQ(convertLog(blank + goodHand(1) + blank), (std::vector<long long>{1}));
    EXPECT_EQ(errorLog(), "ERROR on Line 1: Hand is incomplete.\n");
    // No good hand at all is no failure, but makes no file.
    EXPECT_EQ(convertLog(blank), std::vector<long long>{});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(GetNumBadHands(), 1u);
    EXPECT_EQ(GetNumFiles(), 0u);
}

// Each way a record can fail, from a record numbered `id` that is good but for one chunk, as the error log
// shows it after "ERROR on Line N": in the line framing, incomplete, in a chunk, as a whole, in the betting.
// The parser's and decoder's other texts are theirs to check.
std::vector<std::pair<std::string, std::string>> damages(long long id) {
    const auto with = [id](const std::string& key, const std::string& chunk) {
        return handWith(id, {{key, chunk}});
    };
    const std::string good = goodHand(id);
    return {
        {with("PN0", "PN0=" + std::string(252, 'n')), ", Chunk 9: Not a hand history."},
        {good.substr(0, good.size() - 1), ", Chunk 14: Not a hand history."},  // the last chunk unclosed
        {with("SEQ", ""), ": Hand is incomplete."},
        {with("PB1", "PB1=0"), ": Hand is incomplete."},  // one seated
        {with("NP", "NP=0"), ": Hand is incomplete."},
        {"ID=" + std::to_string(id) + ";;" + good,
         ": Hand is incomplete."},  // an empty chunk ends the record
        {with("BB", "BB=1.2.3"), ", Chunk 8: BB needs to be a number."},
        {with("GAME", "GAME=Omaha"), ", Chunk 2: All hands must be Texas Hold'em."},
        {with("PB0", "PBx=10"), ", Chunk 10: Unknown key \"PBx\"."},
        {with("TOURNAMENT_ID", "TOURNAMENT_ID=77"), ": Tournament hands are not supported."},
        {with("SEQ", "SEQ=sBx"), ": ERROR: Unknown letter in SEQ."},
        {handWith(id, {{"BETS", "BETS="}, {"SEQ", "SEQ=sBr"}}), ": ERROR: Not enough bets in SEQ."},
    };
}

TEST_F(HostileLog, EveryMessageCostsOnlyItsRecord) {
    // Each damaged record is followed by a good hand of the same number, which it must not take. A first
    // hand numbered 0 or 1000 keeps the hands in order (written while the log is read) or not (afterwards).
    const std::size_t count = damages(0).size();
    for (const long long first : {0, 1000}) {
        SCOPED_TRACE(first);
        std::string log = goodHand(first) + "\r\n";
        std::string expected;
        for (std::size_t k = 0; k < count; ++k) {
            const auto id = static_cast<long long>(k) + 1;
            const auto [record, message] = damages(id)[k];
            log += record + "\r\n" + goodHand(id) + "\r\n";
            expected += "ERROR on Line " + std::to_string(2 * k + 2) + message + "\n";
        }
        std::vector<long long> ids = idRange(1, static_cast<long long>(count));
        ids.insert(first == 0 ? ids.begin() : ids.end(), first);
        EXPECT_EQ(convertLog(log), ids);
        EXPECT_EQ(errorLog(), expected);
        EXPECT_EQ(GetNumBadHands(), count);
    }
}

TEST_F(HostileLog, ForeignBytesAndUnknownKeysDoNotCostAHand) {
    // Another version of the program: keys this one does not know, and names in the 8-bit code page.
    const std::string record =
        handWith(5, {{"PN0", "PN0=J\xF6rg \xA9"}, {"VERSION", "VERSION=4.2"}, {"SITE", "SITE=\x80\x81"}});
    EXPECT_EQ(convertLog(record + "\r\n" + goodHand(6)), (std::vector<long long>{5, 6}));
    EXPECT_EQ(errorLog(), "");
    EXPECT_NE(readFile(temp.file("out1.txt")).find("J\xF6rg \xA9"), std::string::npos);
}

}  // namespace
}  // namespace noxi::test
