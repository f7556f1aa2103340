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

const ConversionOptions Defaults;

TEST(ParseLine, SettlesTheHandOfTheSeatsStillIn) {
    TakenHand hand;
    const std::string line = Good + ";";
    ASSERT_GT(parseLine(hand, line.c_str(), Defaults), 0) << hand.errorText();
    EXPECT_TRUE(hand.settled);
    EXPECT_EQ(hand.values[0].category, RoyalFlush);
    EXPECT_EQ(hand.values[1].category, OnePair);
    EXPECT_EQ(hand.values[5].cardCount, 0);
    ASSERT_EQ(hand.payout.wins.size(), 1u);
    EXPECT_EQ(hand.payout.wins[0].seat, 0);

    const std::string folded = Good.substr(0, Good.find("SEQ=")) + "SEQ=sBf;";
    ASSERT_GT(parseLine(hand, folded.c_str(), Defaults), 0) << hand.errorText();
    EXPECT_EQ(hand.values[0].cardCount, 0);  // the button folded: nothing to evaluate
    EXPECT_EQ(hand.values[1].cardCount, 7);

    // Only whether the hand is usable: neither values nor payout, and the history is the same.
    std::string settled;
    writeHistory(hand, settled, Defaults, true);
    ASSERT_GT(parseLine(hand, folded.c_str(), Defaults, false), 0);
    EXPECT_FALSE(hand.settled);
    std::string unsettled;
    writeHistory(hand, unsettled, Defaults, true);
    EXPECT_EQ(unsettled, settled);
}

// The messages a log can earn are shown in HostileLogTest; these two never reach the error log.
TEST(ParseLine, NullLineAndUnknownChunkMessages) {
    TakenHand hand;
    EXPECT_EQ(parseLine(hand, nullptr, Defaults), 0);
    EXPECT_STREQ(hand.errorText(), "Unable to process hand.");
    const std::string line = "FOO=1;" + Good + ";";
    EXPECT_GT(parseLine(hand, line.c_str(), Defaults), 0);  // the hand is still usable
    EXPECT_STREQ(hand.errorText(), "Chunk 1: Unknown chunk \"FOO=1\".");
}

// A hand without RAKE has none, whatever the hand before it had.
TEST(ParseLine, ARecordCanBeTakenInAgain) {
    TakenHand hand;
    const std::string first = Good + ";HERO=a;RAKE=1;";
    const std::string second = "ID=6;BB=x;";
    ASSERT_GT(parseLine(hand, first.c_str(), Defaults), 0);
    EXPECT_EQ(hand.record.rake, 1);
    EXPECT_EQ(parseLine(hand, second.c_str(), Defaults), 0);
    EXPECT_EQ(hand.gameId(), 6);
    EXPECT_FALSE(hand.record.tableName.has_value());
    ASSERT_GT(parseLine(hand, (Good + ";").c_str(), Defaults), 0);
    EXPECT_EQ(hand.record.rake, 0);
    EXPECT_EQ(hand.record.heroSeat(), -1);
    EXPECT_STREQ(hand.errorText(), "");
}

}  // namespace
}  // namespace noxi
