// Random SEQ strings over random seatings: the decoder must end every time, stay inside the string, the seats
// and the BETS list, and either succeed with a closed hand or fail with one of its messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>
#include <string>

#include "betting/Decoder.h"

namespace noxi {
namespace {

void seatRandomly(HandRecord& hand, std::mt19937& rng) {
    hand.reset();
    std::uniform_int_distribution<int> percent(0, 99);
    const double stacks[] = {0, 0.01, 0.5, 1, 1.5, 2, 3, 10, 100, 1e6};
    for (int seat = 0; seat < SeatCount; ++seat) {
        if (percent(rng) < 35) continue;  // empty
        hand.seatNames[static_cast<std::size_t>(seat)] = "P";
        hand.stacks[static_cast<std::size_t>(seat)] = stacks[static_cast<std::size_t>(percent(rng) % 10)];
    }
    // Mostly a real button; now and then a record filled without the parser's range check.
    hand.button = static_cast<std::int8_t>(percent(rng) < 95 ? percent(rng) % 10 : percent(rng) - 50);
    hand.numPlayers = static_cast<std::int8_t>(percent(rng) % 12 - 1);
    hand.smallBlind = percent(rng) < 90 ? 1 : 0;
    hand.bigBlind = percent(rng) < 90 ? 2 : 0.5;
    hand.hasBets = percent(rng) < 50;
    for (int i = hand.hasBets ? percent(rng) % 12 : 0; i > 0; --i)
        hand.bets.push_back((percent(rng) % 40) * 0.5);
}

// Mostly betting letters, so that many strings decode to the end; some posts with a seat digit, a few street
// ends, and in some strings any byte at all.
std::string randomSequence(std::mt19937& rng, std::size_t length) {
    static constexpr char Actions[] = "kbcrfkcfcr_";
    std::uniform_int_distribution<int> percent(0, 99);
    const bool anyBytes = percent(rng) < 20;
    std::string text;
    if (percent(rng) < 70) text += "sB";
    while (text.size() < length) {
        const int roll = percent(rng);
        if (anyBytes && roll < 3) {
            text.push_back(static_cast<char>(rng() & 0xFF));
        } else if (roll < 6) {
            text.push_back(roll % 2 ? 'D' : 'P');
            if (roll != 5) text.push_back(static_cast<char>('0' + percent(rng) % 10));
        } else if (roll < 10) {
            text.push_back(roll < 9 ? '/' : roll % 2 ? 's' : 'B');
        } else {
            text.push_back(Actions[static_cast<std::size_t>(roll) % (sizeof Actions - 1)]);
        }
    }
    return text;
}

void checkOutcome(const HandRecord& hand, const DecodedHand& decoded, const char* error,
                  const std::string& sequence) {
    static const std::set<std::string> messages = {"ERROR: Unknown letter in SEQ.",
                                                   "ERROR: Too many rounds in SEQ.", "ERROR: Bad dead post.",
                                                   "ERROR: Bad OOP post.", "ERROR: Not enough bets in SEQ."};
    SCOPED_TRACE("SEQ " + ::testing::PrintToString(sequence));
    ASSERT_LE(decoded.betsUsed, hand.bets.size());
    for (const Action& action : decoded.actions) {
        ASSERT_TRUE(action.seat >= 0 && action.seat < SeatCount && action.type != Preflop &&
                    action.type < ActionClamp)
            << action.seat << " " << action.type;
    }
    for (int seat = 0; seat < SeatCount; ++seat) {
        if (!hand.isSeated(seat) && !hand.seatNames[static_cast<std::size_t>(seat)]) {
            ASSERT_TRUE(decoded.folded[static_cast<std::size_t>(seat)]) << "empty seat " << seat;
        }
    }
    if (error != nullptr) {
        ASSERT_EQ(messages.count(error), 1u) << error;
        for (const Action& action : decoded.actions)
            ASSERT_NE(action.type, Showdown);
        return;
    }
    ASSERT_FALSE(decoded.actions.empty());
    ASSERT_EQ(decoded.actions.back().type, Showdown);
    // The pots may stay empty (nobody seated, or everyone folded); the completeness check rejects such hands.
    for (const auto& [total, pot] : decoded.pots) {
        ASSERT_EQ(total, pot.total);
        ASSERT_TRUE(pot.eligibleCount >= 1 && pot.eligibleCount <= SeatCount) << pot.eligibleCount;
        const auto end = pot.eligible.begin() + pot.eligibleCount;  // seats in rising order
        ASSERT_EQ(std::adjacent_find(pot.eligible.begin(), end, std::greater_equal<>()), end);
    }
}

TEST(DecoderRobustness, RandomSequencesOverRandomSeatings) {
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> shortLength(0, 60);
    HandRecord hand;  // reused like the driver's records
    DecodedHand decoded;
    int good = 0;
    for (int round = 0; round < 100000; ++round) {
        seatRandomly(hand, rng);
        const std::size_t length = round % 1000 == 0 ? 5000 : static_cast<std::size_t>(shortLength(rng));
        const std::string sequence = randomSequence(rng, length);
        if (round % 97 != 0) hand.sequence = sequence;  // now and then no SEQ at all
        const char* error = decodeSequence(hand, DecodeOptions{round % 2 == 0}, decoded);
        checkOutcome(hand, decoded, error, hand.sequence ? sequence : std::string("<none>"));
        good += error == nullptr ? 1 : 0;
        if (::testing::Test::HasFatalFailure()) return;
    }
    // Both outcomes are exercised in earnest.
    EXPECT_GT(good, 20000);
    EXPECT_LT(good, 80000);
}

}  // namespace
}  // namespace noxi
