#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "eval/Hands.h"

namespace noxi {
namespace {

using test::handOf;

TEST(Description, Words) {
    const struct {
        const char* cards;
        const char* rival;  // nullptr: no rival
        const char* text;
    } cases[] = {
        {"Ah 2d 3c 4s 5h", nullptr, "a straight, ace to five."},
        {"9h Td Jc Qs Kh", nullptr, "a straight, nine to king."},
        {"Th Jh Qh Kh Ah", nullptr, "Royal Flush."},
        {"9h Th Jh Qh Kh", nullptr, "a straight flush, king high."},
        {"2c 5c 7c 9c Jc Ac", nullptr, "a flush, ace high."},
        {"8h 8d 8c 8s 3h", nullptr, "four of a kind, eights."},
        {"Qh Qd Qc 2s 5h", nullptr, "three of a kind, queens."},
        {"3h 7d 9c Js 2h", nullptr, "high card jack."},
        {"Ah Ad 8c 8s Kh", "As Ac 8h 8d Qh", "two pairs, aces and eights with king kicker."},
        // High card and flush have no principal ranks: their first entry is a kicker too.
        {"Ah 9d 7c 5s 3h", "Kh Qd 7s 5d 3d", "high card ace with ace kicker."},
        {"Ah 9d 7c 5s 3h", "As 9c 7h 5d 3d", "high card ace."},
        {"Kh Kd Kc Ts Th", "Ks Kd Kc 9s 9h", "a full house, Kings full of tens."},
        // The third pair is the kicker of two pairs.
        {"Ah Ad Kc Ks Qh Qd 2c", "As Ac Kh Kd Jh 9d 2h", "two pairs, aces and kings with queen kicker."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cards);
        const HandValue hand = handOf(c.cards);
        const HandValue rival = handOf(c.rival != nullptr ? c.rival : "");
        std::array<char, 64> buffer{};
        const int length =
            describeHand(hand, buffer.data(), buffer.size(), c.rival != nullptr ? &rival : nullptr);
        EXPECT_EQ(std::string(buffer.data()), c.text);
        EXPECT_EQ(length, static_cast<int>(std::string(c.text).size()));
    }
}

// Every rank by its name, as a pair and in a kicker phrase (the ace has no higher rank to pair with).
TEST(Description, EveryRankName) {
    const char* names[] = {"two",  "three", "four", "five",  "six",  "seven", "eight",
                           "nine", "ten",   "jack", "queen", "king", "ace"};
    const std::string ranks = "23456789TJQKA";
    std::array<char, 64> buffer{};
    for (std::size_t rank = 0; rank < 13; ++rank) {
        const std::string r(1, ranks[rank]);
        describeHand(handOf((r + "h " + r + "d").c_str()), buffer.data(), buffer.size(), nullptr);
        EXPECT_EQ(std::string(buffer.data()), std::string("a pair of ") + names[rank] + "s.");
        if (rank == 12) continue;
        const HandValue low = handOf(rank == 0 ? "As Ac" : "As Ac 2c");  // its kicker is lower, or missing
        describeHand(handOf(("Ah Ad " + r + "c").c_str()), buffer.data(), buffer.size(), &low);
        EXPECT_EQ(std::string(buffer.data()), std::string("a pair of aces with ") + names[rank] + " kicker.");
    }
}

// The longest text fits 48 characters; a smaller buffer, no buffer or no cards get nothing written.
TEST(Description, LongestTextFitsFortyEightCharacters) {
    const HandValue hand = handOf("Qh Qd 3c 3s 8h");
    const HandValue rival = handOf("Qs Qc 3h 3d 7h");
    const HandValue empty = handOf("");
    std::array<char, 48> buffer;
    buffer.fill('#');
    EXPECT_EQ(describeHand(hand, buffer.data(), 47, &rival), 0);
    EXPECT_EQ(describeHand(hand, nullptr, 64, &rival), 0);
    EXPECT_EQ(describeHand(empty, buffer.data(), buffer.size(), &rival), 0);
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](char c) { return c == '#'; }));
    EXPECT_EQ(describeHand(hand, buffer.data(), 48, &rival), 47);
    EXPECT_EQ(std::string(buffer.data()), "two pairs, queens and threes with eight kicker.");
}

}  // namespace
}  // namespace noxi
