#include "betting/PotBuilder.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "BettingFixtures.h"

namespace noxi {
namespace {

using testing::potsOf;

// One street of a hand as the decoder hands it over: what each seat put in, who is all-in now, who can no
// longer act. Seats not listed are empty (out, nothing in).
struct Street {
    std::array<double, SeatCount> roundBet{};
    SeatFlags out{};
    SeatFlags allInNow{};

    Street(std::initializer_list<std::pair<int, double>> in, std::initializer_list<int> allIn = {},
           std::initializer_list<int> folded = {}) {
        out.fill(true);
        for (const auto& [seat, chips] : in) {
            roundBet[static_cast<std::size_t>(seat)] = chips;
            out[static_cast<std::size_t>(seat)] = false;
        }
        for (int seat : allIn)
            allInNow[static_cast<std::size_t>(seat)] = out[static_cast<std::size_t>(seat)] = true;
        for (int seat : folded)
            out[static_cast<std::size_t>(seat)] = true;
    }
};

// Plays the streets in turn the way the decoder does: a build at every street end, the closed street's chips
// into the pot in seat order, and the final build over the last street.
std::string play(std::vector<Street> streets) {
    HandRecord hand;
    double potBefore = 0;
    for (std::size_t i = 0; i < streets.size(); ++i) {
        Street& street = streets[i];
        const bool last = i + 1 == streets.size();
        buildPots(hand, street.allInNow, street.out, street.roundBet, potBefore, last);
        EXPECT_EQ(street.allInNow, SeatFlags{}) << "allInNow is cleared by every build";
        for (double chips : street.roundBet)
            potBefore += chips;
    }
    return potsOf(hand);
}

TEST(BuildPots, NobodyAllInMakesOneMainPotAtTheEnd) {
    const std::string pots = play({Street({{1, 10}, {2, 10}, {5, 10}}), Street({{1, 0}, {2, 0}, {5, 0}}),
                                   Street({{1, 0}, {2, 0}, {5, 0}}), Street({{1, 0}, {2, 0}, {5, 0}})});
    EXPECT_EQ(pots, "30: 1 2 5");
}

// Seat 1 is all-in for 10 preflop; seats 2 and 5 put in 50 and then 20 on the flop. The side pot pays 120.
TEST(BuildPots, SidePotOverAnEarlierAllIn) {
    const std::string pots = play({Street({{1, 10}, {2, 50}, {5, 50}}, {1}), Street({{2, 20}, {5, 20}}),
                                   Street({{2, 0}, {5, 0}}), Street({{2, 0}, {5, 0}})});
    EXPECT_EQ(pots, "150: 2 5, 30: 1 2 5");
}

TEST(BuildPots, AllInsOfDifferentSizesOpenALevelEach) {
    const std::string pots = play({Street({{1, 10}, {2, 30}, {3, 60}, {4, 60}}, {1, 2})});
    EXPECT_EQ(pots, "160: 3 4, 100: 2 3 4, 40: 1 2 3 4");
}

TEST(BuildPots, EqualLevelsMakeOnePot) {
    // Two all-ins of the same size in one street.
    EXPECT_EQ(play({Street({{1, 20}, {2, 20}, {3, 50}, {4, 50}}, {1, 2}), Street({{3, 0}, {4, 0}})}),
              "140: 3 4, 80: 1 2 3 4");
    // An all-in matched by the only player still in, in the same street and after later streets.
    EXPECT_EQ(play({Street({{1, 20}, {2, 20}}, {1})}), "40: 1 2");
    EXPECT_EQ(play({Street({{1, 20}, {2, 20}}, {1}), Street({{2, 0}}), Street({{2, 0}})}), "40: 1 2");
}

// Nobody called the flop bet of 6: the bettor's level holds the whole bet, so the bettor wins it back.
TEST(BuildPots, UncalledBetStaysInThePot) {
    EXPECT_EQ(play({Street({{0, 2}, {1, 2}}), Street({{0, 6}, {1, 0}}, {}, {1})}), "10: 0");
}

TEST(BuildPots, FoldedChipsCountInEveryLevelButNeverWin) {
    EXPECT_EQ(play({Street({{1, 10}, {2, 10}, {3, 5}}, {}, {3})}), "25: 1 2");
    // The folded seat put in more than the all-in seat: its chips fill both levels.
    EXPECT_EQ(play({Street({{1, 10}, {2, 50}, {3, 40}}, {1}, {3})}), "100: 2, 30: 1 2");
}

// Keys are compared exactly: the level is the closed streets first, then seat by seat.
TEST(BuildPots, LevelIsSummedInSeatOrderAfterTheClosedStreets) {
    HandRecord hand;
    Street street({{0, 0.1}, {1, 0.7}}, {}, {0});
    buildPots(hand, street.allInNow, street.out, street.roundBet, 0.3, true);
    ASSERT_EQ(hand.pots.size(), 1u);
    EXPECT_EQ(hand.pots.begin()->first, 1.1);  // 0.3 + (0.1 + 0.7) would give 1.0999999999999999
    EXPECT_EQ(hand.pots.begin()->second.total, 1.1);
}

}  // namespace
}  // namespace noxi

namespace noxi {
namespace {

// Chips are whole cents: a level summed in another order (0.01 + 0.01 + 0.1 against 0.12) is the same level,
// not a side pot of rounding dust that would be paid as a negative share of the rake.
TEST(BuildPots, LevelsLessThanHalfACentApartAreOnePot) {
    HandRecord hand;
    SeatFlags allInNow{};
    SeatFlags out{};
    out.fill(true);
    out[0] = out[1] = false;
    allInNow[2] = true;
    std::array<double, SeatCount> roundBet{};
    roundBet[0] = roundBet[1] = 0.01;
    roundBet[2] = 0.1;
    buildPots(hand, allInNow, out, roundBet, 0, false);
    ASSERT_EQ(hand.pots.size(), 1u);
    ASSERT_NE(hand.pots.begin()->first, 0.12);  // 0.12000000000000001

    std::array<double, SeatCount> nothing{};
    buildPots(hand, allInNow, out, nothing, 0.12, true);
    EXPECT_EQ(hand.pots.size(), 1u);

    buildPots(hand, allInNow, out, nothing, 0.13, true);  // a cent more is a pot of its own
    EXPECT_EQ(hand.pots.size(), 2u);
}

}  // namespace
}  // namespace noxi
