#include "hand/ChunkParser.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "hand/Money.h"
#include "support/TestSupport.h"

namespace noxi {
namespace {

using test::HistoryZone;
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
        {"BB needs to be a number.", {"BB=", "BB=1.2.3", "BB=1e5", "BB=+1", "BB= 1", "BB=1-", "BB=" + nines}},
        {"SB must be a number.", {"SB=x", "SB=" + std::string(400, '9')}},
        {"RAKE must be a number.", {"RAKE=..", "RAKE=-" + nines}},
        {"Board contained an invalid card.", {"BOARD=AhKdQc", "BOARD=", "BOARD=AhKdQcJsXx"}},
        {"BTN needs to be a number between 0 and 9.",
         {"BTN=10", "BTN=-1", "BTN=256", "BTN=99999999999999999999999", "BTN=4294967299"}},
        {"BTN needs to be a number.", {"BTN=x", "BTN=", "BTN=1.0"}},
        {"All hands must be Texas Hold'em.", {"GAME=Texas Hold'em No Limit", "GAME=texas hold'em", "GAME="}},
        {"ID must be a number.",
         {"ID=abc", "ID=", "ID=2147483648", "ID=-2147483649", "ID=18446744073709551616"}},
        {"NP must be a number.", {"NP=two"}},
        {"PB3 must be a number.", {"PB3=", "PB3=12,5", "PB3=" + nines}},
        {"Unknown key \"PBx\".", {"PBx=12"}},
        {"Unknown key \"PN.\".", {"PN.=bob"}},
        {"PC0 contained an invalid card.", {"PC0=Ah", "PC0=XxAh"}},
        {"PC9 contained an invalid card.", {"PC9="}},
        {"Table needs a name.", {"TABLE="}},
        {"Time needs to be a number.", {"TIME=12:00", "TIME=", "TIME=1000000000000000000000000000000"}},
    };
    for (const auto& [message, chunks] : rejections) {
        for (const std::string& chunk : chunks) {
            const Parsed p = parse(chunk);
            EXPECT_FALSE(p.ok) << chunk;
            EXPECT_EQ(p.error, std::string("Chunk 4: ") + message) << chunk;
        }
    }
    // The one message without the chunk's number.
    for (const char* chunk : {"TOURNAMENT_ID=5", "TOURNAMENT_ID="}) {
        EXPECT_FALSE(parse(chunk).ok);
        EXPECT_EQ(parse(chunk).error, "Tournament hands are not supported.");
    }
}

TEST(ChunkParser, NullOrEmptyChunkIsBad) {
    HandRecord hand;
    EXPECT_FALSE(parseChunk(hand, nullptr, 5, 2));
    EXPECT_STREQ(hand.errorText(), "Chunk 2: Bad chunk.");
    EXPECT_FALSE(parseChunk(hand, "BB=1", 0, 3));
    EXPECT_STREQ(hand.errorText(), "Chunk 3: Bad chunk.");
    EXPECT_FALSE(parseChunk(hand, "BB=1", -1, 3));
}

TEST(ChunkParser, Amounts) {
    struct {
        std::string chunk;
        double HandRecord::*field;
        double value;
    } cases[] = {{"BB=.5", &HandRecord::bigBlind, 0.5},
                 {"BB=0.125", &HandRecord::bigBlind, 0.13},
                 {"BB=-", &HandRecord::bigBlind, 0},
                 {"BB=.", &HandRecord::bigBlind, 0},
                 {"BB=2.", &HandRecord::bigBlind, 2},
                 {"SB=-1.5", &HandRecord::smallBlind, -1.49} /* toward zero */,
                 {"RAKE=0.333", &HandRecord::rake, 0.33},
                 {"SB=00000000000000000001", &HandRecord::smallBlind, 1},
                 {"BB=0." + std::string(340, '0') + "1", &HandRecord::bigBlind, 0}};
    for (const auto& c : cases) {
        Parsed p = parse(c.chunk);
        EXPECT_TRUE(p.ok) << c.chunk;
        EXPECT_DOUBLE_EQ(p.hand.*c.field, c.value) << c.chunk;
    }
}

// Plain amounts (digits and at most two decimals) are read exactly; each must come out as the general
// conversion, rounded to the cent, gives it, on both sides of every limit of the plain form.
TEST(ChunkParser, PlainAmountsReadAsTheGeneralConversion) {
    for (const char* text :
         {"0", "7", "186.00", "185.32", "0.01", "5.", ".5", ".05", "12.5", "999999999999999",
          "99999999999999.9", "9999999999999.99", "1000000000000000", "99999999999999.99", "1.005", "0.335",
          "12.345", "00012.30", "4503599627370495.5"}) {
        const Parsed p = parse(std::string("PB2=") + text);
        ASSERT_TRUE(p.ok) << text;
        const auto expected = roundToCents(std::strtod(text, nullptr));
        ASSERT_TRUE(expected.has_value()) << text;
        EXPECT_EQ(p.hand.stacks[2], *expected) << text;
    }
}

TEST(ChunkParser, IntegersAndTheirRanges) {
    EXPECT_EQ(parse("BTN=9").hand.button, 9);
    EXPECT_EQ(parse("BTN=0").hand.button, 0);
    EXPECT_EQ(parse("BTN=-").hand.button, 0);  // a lone "-" is an integer and converts to 0
    EXPECT_EQ(parse("BTN=0000007").hand.button, 7);
    EXPECT_EQ(parse("ID=2147483647").hand.gameId(), 2147483647);
    EXPECT_EQ(parse("ID=-2147483648").hand.gameId(), -2147483647 - 1);
    EXPECT_EQ(parse("ID=-").hand.gameId(), 0);
    EXPECT_EQ(parse("NP=6").hand.numPlayers, 6);
    EXPECT_EQ(parse("NP=257").hand.numPlayers, 1);  // kept in 8 bits
    EXPECT_EQ(parse("NP=255").hand.numPlayers, -1);
    EXPECT_EQ(parse("NP=-3").hand.numPlayers, -3);
    EXPECT_EQ(parse("NP=" + std::string(40, '9')).hand.numPlayers, -1);  // saturated, as strtoll does
}

TEST(ChunkParser, SeatKeys) {
    EXPECT_DOUBLE_EQ(parse("PB3=12.50").hand.stacks[3], 12.5);
    EXPECT_DOUBLE_EQ(parse("PB-=5").hand.stacks[0], 5);
    EXPECT_EQ(parse("PN7=Big Al").hand.seatNames[7], "Big Al");
    EXPECT_EQ(parse("PN7=").hand.seatNames[7], "");
    EXPECT_TRUE(parse("PV2=whatever").ok);

    Parsed cards = parse("PC0=AhKd");
    EXPECT_TRUE(cards.ok);
    EXPECT_EQ(cards.hand.holeCards[0][0].rank, 12);
    EXPECT_EQ(cards.hand.holeCards[0][1].suit, 1);
    EXPECT_TRUE(parse("PC0=????").ok);
    EXPECT_TRUE(parse("PC5=AhKdJunk").ok);  // only four characters are read
}

// Unknown chunks are reported but do not fail the hand.
TEST(ChunkParser, NotASeatKeyIsAnUnknownChunk) {
    for (const char* chunk : {"PB12=5", "PB", "FOO=1", "bb=1", "BB", "100%s%n"}) {
        const Parsed p = parse(chunk);
        EXPECT_TRUE(p.ok) << chunk;
        EXPECT_EQ(p.error, "Chunk 4: Unknown chunk \"" + std::string(chunk) + "\".");
    }
    EXPECT_EQ(parse("PB12=5").hand.stacks[1], 0);
}

TEST(ChunkParser, BoardCards) {
    const Parsed p = parse("BOARD=AhKdQc????");
    ASSERT_TRUE(p.ok);
    EXPECT_TRUE(p.hand.board[2].isKnown());
    EXPECT_FALSE(p.hand.board[3].isKnown());
    EXPECT_FALSE(p.hand.board[4].isKnown());

    const Parsed bad = parse("BOARD=AhKdXx2c3c");
    EXPECT_FALSE(bad.ok);
    EXPECT_TRUE(bad.hand.board[1].isKnown());  // cards before the failing one stay
    EXPECT_EQ(bad.hand.board[2], Card{});
    EXPECT_EQ(bad.hand.board[3], Card{});
}

TEST(ChunkParser, BetsList) {
    struct {
        const char* chunk;
        std::vector<double> bets;
    } cases[] = {{"BETS=2,4,,8", {2, 4, 8}},
                 {"BETS=", {}},
                 {"BETS=,5", {0, 5}},
                 {"BETS=abc,1.005,3x", {0, 1, 3}},
                 {"BETS=0.125,,,", {0.13}},
                 {"BETS= 7,+2,-1", {7, 2, -0.99}},
                 {"BETS=1e3,0x10,1e999,nan", {1000, 16, 0, 0}}};
    for (const auto& c : cases) {
        const Parsed p = parse(c.chunk);
        EXPECT_TRUE(p.ok);
        EXPECT_TRUE(p.hand.hasBets);
        ASSERT_EQ(p.hand.bets.size(), c.bets.size()) << c.chunk;
        for (std::size_t i = 0; i < c.bets.size(); ++i)
            EXPECT_DOUBLE_EQ(p.hand.bets[i], c.bets[i]) << c.chunk;
    }
}

TEST(ChunkParser, TextsAndRepeatedKeys) {
    HandRecord hand;
    auto feed = [&](const std::string& chunk) {
        return parseChunk(hand, chunk.data(), static_cast<int>(chunk.size()), 1);
    };
    EXPECT_TRUE(feed("TABLE=Apex"));
    EXPECT_TRUE(feed("TABLE=Zenith"));
    EXPECT_EQ(hand.tableName, "Zenith");
    EXPECT_TRUE(feed("HERO="));
    EXPECT_EQ(hand.heroName, "");
    EXPECT_TRUE(feed("SEQ=sBcc/k"));
    EXPECT_EQ(hand.sequence, "sBcc/k");
    EXPECT_TRUE(feed("GAME=Texas Hold'em"));
    EXPECT_TRUE(feed("BETS=1"));
    EXPECT_TRUE(feed("BETS=2,3"));
    EXPECT_EQ(hand.bets, (std::vector<double>{1, 2, 3}));
    EXPECT_TRUE(feed("ANTE=junk"));
    EXPECT_TRUE(feed("SITE=Velmora"));
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
        TimeZone zone(HistoryZone);  // five hours west, winter and summer alike
        EXPECT_EQ(localStandardOffsetMinutes(), 300);
        EXPECT_EQ(parse("TIME=1168871400000").hand.startTime, 1168871400);
    }
    {
        TimeZone zone(Kolkata);  // five and a half hours east
        EXPECT_EQ(parse("TIME=0").hand.startTime, -330 * 60 - 18000);
    }
}

TEST(NumberChecks, IntegerAndDecimal) {
    struct {
        const char* text;
        bool integer, decimal;
    } cases[] = {{"0", true, true},     {"-", true, true},      {"-12", true, true},     {".", false, true},
                 {".5", false, true},   {"1.", false, true},    {"1.2.3", false, false}, {"-.5", false, true},
                 {"--1", false, false}, {"1-", false, false},   {"+1", false, false},    {" 1", false, false},
                 {"1e3", false, false}, {"\xB9", false, false}, {"..", false, false}};
    for (const auto& c : cases) {
        const int length = static_cast<int>(std::strlen(c.text));
        EXPECT_EQ(isInteger(c.text, length), c.integer) << c.text;
        EXPECT_EQ(isDecimal(c.text, length), c.decimal) << c.text;
    }
    EXPECT_FALSE(isInteger("1", 0));
    EXPECT_FALSE(isDecimal("1", -1));
    EXPECT_FALSE(isInteger(nullptr, 3));
    EXPECT_TRUE(isInteger("12x", 2));  // only `length` characters are looked at
}

// Hostile chunks of up to 255 arbitrary bytes: every outcome is one of the parser's own, and nothing is read
// past the chunk (the sanitizer run checks the bounds: the chunk is copied into an exact-size buffer).
TEST(ChunkParser, ArbitraryBytesNeverEscapeTheChunk) {
    static const char* const Keys[] = {
        "ANTE=", "BB=", "BETS=", "BOARD=", "BTN=", "GAME=", "HERO=", "ID=",    "NP=",   "PB",
        "PC",    "PN",  "PV",    "RAKE=",  "SB=",  "SEQ=",  "SITE=", "TABLE=", "TIME=", "TOURNAMENT_ID=",
        ""};
    std::mt19937 random(12345);
    for (int round = 0; round < 20000; ++round) {
        std::string chunk = Keys[random() % std::size(Keys)];
        const int extra = static_cast<int>(random() % 40) + (round % 50 == 0 ? 200 : 0);
        static const char Alphabet[] = "0123456789-.,=?AKQJThdcs \xE9\xFF";
        for (int i = 0; i < extra && chunk.size() < 255; ++i) {
            chunk += random() % 3 == 0 ? static_cast<char>(random() % 256)
                                       : Alphabet[random() % (sizeof(Alphabet) - 1)];
        }
        if (chunk.empty()) continue;
        auto exact = std::make_unique<char[]>(chunk.size());
        std::memcpy(exact.get(), chunk.data(), chunk.size());
        HandRecord hand;
        const bool ok = parseChunk(hand, exact.get(), static_cast<int>(chunk.size()), 1);
        const std::string error = hand.errorText();
        if (ok) {
            EXPECT_TRUE(error.empty() || error.starts_with("Chunk 1: Unknown chunk \"")) << error;
        } else {
            EXPECT_TRUE(error.starts_with("Chunk 1: ") || error == "Tournament hands are not supported.")
                << error;
        }
    }
}

}  // namespace
}  // namespace noxi
