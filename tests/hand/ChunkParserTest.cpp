#include "hand/ChunkParser.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "hand/Money.h"
#include "support/TestSupport.h"

namespace noxi {
namespace {

using test::TimeZone;

// Parses one chunk as chunk number 4 of a fresh record.
struct Parsed {
    bool ok;
    std::string error;
    HandRecord hand;
};

Parsed parse(const std::string& chunk) {
    Parsed p{false, "", HandRecord{}};
    p.ok = parseChunk(p.hand, chunk.data(), static_cast<int>(chunk.size()), 4);
    p.error = p.hand.errorText();
    return p;
}

// Chunks refused, each with the message it earns as chunk 4 ("Chunk 4: " and the message). Amounts must have
// their cents in 64 bits.
TEST(ChunkParser, RejectedChunksCarryTheirMessage) {
    const std::string nines(100, '9');
    const std::pair<const char*, std::vector<std::string>> rejections[] = {
        {"BB needs to be a number.", {"BB=1e5", "BB=1.2.3", "BB=+1", "BB= 1", "BB=1-", "BB=" + nines}},
        {"SB must be a number.", {"SB=x", "SB=" + std::string(400, '9')}},
        {"RAKE must be a number.", {"RAKE=-" + nines}},
        {"Board contained an invalid card.", {"BOARD=AhKdQc", "BOARD=AhKdQcJsXx"}},
        {"BTN needs to be a number between 0 and 9.", {"BTN=10", "BTN=-1", "BTN=4294967299"}},
        {"BTN needs to be a number.", {"BTN=1.0", "BTN=--1", "BTN=\xB9"}},
        {"All hands must be Texas Hold'em.", {"GAME=texas hold'em", "GAME=Texas Hold'em No Limit"}},
        {"ID must be a number.", {"ID=2147483648", "ID=-2147483649", "ID=18446744073709551616"}},
        {"NP must be a number.", {"NP=two"}},
        {"PB3 must be a number.", {"PB3=" + nines}},
        {"Unknown key \"PBx\".", {"PBx=12"}},
        {"Unknown key \"PN.\".", {"PN.=bob"}},
        {"PC0 contained an invalid card.", {"PC0=Ah"}},
        {"Table needs a name.", {"TABLE="}},
        {"Time needs to be a number.", {"TIME=12:00", "TIME=1000000000000000000000000000000"}},
    };
    for (const auto& [message, chunks] : rejections) {
        for (const std::string& chunk : chunks) {
            const Parsed p = parse(chunk);
            EXPECT_FALSE(p.ok) << chunk;
            EXPECT_EQ(p.error, std::string("Chunk 4: ") + message) << chunk;
        }
    }
    // The one message without the chunk's number.
    EXPECT_FALSE(parse("TOURNAMENT_ID=").ok);
    EXPECT_EQ(parse("TOURNAMENT_ID=").error, "Tournament hands are not supported.");
}

TEST(ChunkParser, NullOrEmptyChunkIsBad) {
    HandRecord hand;
    EXPECT_FALSE(parseChunk(hand, nullptr, 5, 2));
    EXPECT_STREQ(hand.errorText(), "Chunk 2: Bad chunk.");
    EXPECT_FALSE(parseChunk(hand, "BB=1", -1, 3));
    EXPECT_FALSE(parseChunk(hand, "BB=1", 0, 3));
    EXPECT_STREQ(hand.errorText(), "Chunk 3: Bad chunk.");
}

// Amounts are read as the general conversion gives them, rounded to the cent; plain amounts (digits and at
// most two decimals) take a shortcut that must agree on both sides of every limit of the plain form.
TEST(ChunkParser, AmountsReadAsTheGeneralConversion) {
    const std::string tiny = "0." + std::string(340, '0') + "1";
    for (const std::string text : {"-", ".", "-1.5", "0.125", "0.333", tiny.c_str(), "0", "5.", ".05",
                                   "999999999999999", "1000000000000000", "99999999999999.99", "1.005",
                                   "0.335", "12.345", "00012.30", "4503599627370495.5"}) {
        const Parsed p = parse("PB2=" + text);
        ASSERT_TRUE(p.ok) << text;
        const auto expected = roundToCents(std::strtod(text.c_str(), nullptr));
        ASSERT_TRUE(expected.has_value()) << text;
        EXPECT_EQ(p.hand.stacks[2], *expected) << text;
    }
    EXPECT_EQ(parse("BB=0.125").hand.bigBlind, 0.13);
    EXPECT_EQ(parse("SB=-1.5").hand.smallBlind, -1.49);  // toward zero
    EXPECT_EQ(parse("RAKE=0.333").hand.rake, 0.33);
}

TEST(ChunkParser, IntegersAndSeatKeys) {
    EXPECT_EQ(parse("BTN=9").hand.button, 9);
    EXPECT_EQ(parse("BTN=-").hand.button, 0);  // a lone "-" is an integer and converts to 0
    EXPECT_EQ(parse("ID=2147483647").hand.gameId(), 2147483647);
    EXPECT_EQ(parse("ID=-2147483648").hand.gameId(), -2147483647 - 1);
    EXPECT_EQ(parse("NP=257").hand.numPlayers, 1);                       // kept in 8 bits
    EXPECT_EQ(parse("NP=" + std::string(40, '9')).hand.numPlayers, -1);  // saturated, as strtoll does
    EXPECT_DOUBLE_EQ(parse("PB-=5").hand.stacks[0], 5);
    EXPECT_EQ(parse("PN7=").hand.seatNames[7], "");
    EXPECT_TRUE(parse("PV2=whatever").ok);
    Parsed cards = parse("PC5=AhKdJunk");  // only four characters are read
    EXPECT_TRUE(cards.ok);
    EXPECT_EQ(cards.hand.holeCards[5][0].rank, 12);
    EXPECT_EQ(cards.hand.holeCards[5][1].suit, 1);
    const Parsed board = parse("BOARD=AhKdQc????");  // unknown turn and river
    EXPECT_TRUE(board.ok && board.hand.board[2].isKnown() && !board.hand.board[3].isKnown());
}

// Unknown chunks are reported but do not fail the hand.
TEST(ChunkParser, NotASeatKeyIsAnUnknownChunk) {
    for (const char* chunk : {"PB12=5", "bb=1", "100%s%n"}) {
        const Parsed p = parse(chunk);
        EXPECT_TRUE(p.ok) << chunk;
        EXPECT_EQ(p.error, "Chunk 4: Unknown chunk \"" + std::string(chunk) + "\".");
    }
    EXPECT_EQ(parse("PB12=5").hand.stacks[1], 0);
}

TEST(ChunkParser, BetsList) {
    struct {
        const char* chunk;
        std::vector<double> bets;
    } cases[] = {
        {"BETS=", {}},
        {"BETS=,5,,8", {0, 5, 8}},
        {"BETS= 7,abc,1.005,3x,0.125,-1,1e3,0x10,1e999,nan", {7, 0, 1, 3, 0.13, -0.99, 1000, 16, 0, 0}}};
    for (const auto& c : cases) {
        const Parsed p = parse(c.chunk);
        EXPECT_TRUE(p.ok);
        EXPECT_TRUE(p.hand.hasBets);
        EXPECT_EQ(p.hand.bets, c.bets) << c.chunk;
    }
}

TEST(ChunkParser, TextsAndRepeatedKeys) {
    HandRecord hand;
    for (const std::string chunk : {"TABLE=Apex", "TABLE=Zenith", "HERO=", "SEQ=sBcc/k", "GAME=Texas Hold'em",
                                    "BETS=1", "BETS=2,3", "ANTE=junk", "SITE=Velmora"})
        EXPECT_TRUE(parseChunk(hand, chunk.data(), static_cast<int>(chunk.size()), 1)) << chunk;
    EXPECT_EQ(hand.tableName, "Zenith");
    EXPECT_EQ(hand.heroName, "");
    EXPECT_EQ(hand.sequence, "sBcc/k");
    EXPECT_EQ(hand.bets, (std::vector<double>{1, 2, 3}));
    EXPECT_STREQ(hand.errorText(), "");
}

// The C runtime on Windows knows no zone database: it reads TZ only in the form name, offset, summer name.
#ifdef _WIN32
constexpr const char* Kolkata = "IST-5:30";
#else
constexpr const char* Kolkata = "Asia/Kolkata";
#endif

TEST(ChunkParser, TimeIsShiftedByTheStandardOffsetAndFiveHours) {
    {
        TimeZone zone("UTC");
        EXPECT_EQ(parse("TIME=1168871400000").hand.startTime, 1168871400 - 18000);
        EXPECT_EQ(parse("TIME=1168871400999").hand.startTime, 1168871400 - 18000);  // truncated
        EXPECT_EQ(parse("TIME=-1500").hand.startTime, -1 - 18000);
    }
    {
        TimeZone zone(Kolkata);  // five and a half hours east
        EXPECT_EQ(parse("TIME=0").hand.startTime, -330 * 60 - 18000);
    }
}

}  // namespace
}  // namespace noxi
