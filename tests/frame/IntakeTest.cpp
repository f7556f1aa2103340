// The line intake: chunk framing, the hero seat and the evaluation of the seats still in.
#include "frame/Intake.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace noxi {
namespace {

const std::string Good =
    "ID=5;GAME=Texas Hold'em;TABLE=T;BTN=0;NP=2;SB=1;BB=2;PN0=a;PB0=10;PC0=AhKh;PN1=b;PB1=10;PC1=2c2d;"
    "BOARD=QhJhTh3s4d;SEQ=sBc/k";

int chunk(const std::string& text, std::string& copied) {
    char buffer[ChunkBufferSize];
    std::memcpy(buffer, "untouched", 10);
    const int n = readChunk(text.c_str(), buffer);
    copied = buffer;
    return n;
}

// The line ends, the end of the text and the chunk sizes the logs meet are shown by HostileLogTest.
TEST(ReadChunk, Framing) {
    std::string copied;
    EXPECT_EQ(chunk(";BB=2;", copied), 0);
    EXPECT_EQ(copied, "");  // an empty chunk leaves the empty text
    EXPECT_EQ(chunk("\r\nBB=2;", copied), 0);
    EXPECT_EQ(copied, "untouched");  // a line end leaves the buffer alone
    EXPECT_EQ(chunk(std::string(255, 'x') + ";", copied), 255);
    EXPECT_EQ(copied, std::string(255, 'x'));
    EXPECT_EQ(chunk(std::string(256, 'x') + ";", copied), -1);
    char buffer[ChunkBufferSize];
    EXPECT_EQ(readChunk(nullptr, buffer), -2);
}

TEST(ParseLine, EvaluatesTheSeatsStillIn) {
    HandRecord hand;
    const std::string line = Good + ";";
    ASSERT_GT(parseLine(hand, line.c_str(), false), 0) << hand.errorText();
    EXPECT_EQ(hand.evaluators[0].category(), RoyalFlush);
    EXPECT_EQ(hand.evaluators[1].category(), OnePair);
    EXPECT_EQ(hand.evaluators[5].count(), 0);

    const std::string folded = Good.substr(0, Good.find("SEQ=")) + "SEQ=sBf;";
    ASSERT_GT(parseLine(hand, folded.c_str(), false), 0) << hand.errorText();
    EXPECT_EQ(hand.evaluators[0].count(), 0);  // the button folded: nothing to evaluate
    EXPECT_EQ(hand.evaluators[1].count(), 7);
}

// The messages a log can earn are shown in HostileLogTest; these two never reach the error log.
TEST(ParseLine, NullLineAndUnknownChunkMessages) {
    HandRecord hand;
    EXPECT_EQ(parseLine(hand, nullptr, false), 0);
    EXPECT_STREQ(hand.errorText(), "Unable to process hand.");
    const std::string line = "FOO=1;" + Good + ";";
    EXPECT_GT(parseLine(hand, line.c_str(), false), 0);  // the hand is still usable
    EXPECT_STREQ(hand.errorText(), "Chunk 1: Unknown chunk \"FOO=1\".");
}

TEST(ParseLine, FindsTheHeroByExactName) {
    struct {
        std::string extra;
        int seat;
    } cases[] = {
        {"HERO=b;", 1}, {"HERO=B;", -1}, {"", -1}, {"PN3=b;PB3=5;HERO=b;", 1}, {"PN1=;PN0=;HERO=;", 0}};
    for (const auto& c : cases) {
        HandRecord hand;
        const std::string line = Good + ";" + c.extra;
        ASSERT_GT(parseLine(hand, line.c_str(), false), 0) << hand.errorText();
        EXPECT_EQ(hand.heroSeat, c.seat) << c.extra;
    }
}

TEST(ParseLine, ARecordCanBeTakenInAgain) {
    HandRecord hand;
    const std::string first = Good + ";HERO=a;";
    const std::string second = "ID=6;BB=x;";
    ASSERT_GT(parseLine(hand, first.c_str(), false), 0);
    EXPECT_EQ(parseLine(hand, second.c_str(), false), 0);
    EXPECT_EQ(hand.gameId(), 6);
    EXPECT_FALSE(hand.tableName.has_value());
    ASSERT_GT(parseLine(hand, first.c_str(), false), 0);
    EXPECT_EQ(hand.heroSeat, 0);
    EXPECT_STREQ(hand.errorText(), "");
}

}  // namespace
}  // namespace noxi
