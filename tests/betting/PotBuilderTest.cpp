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
    PotMap pots;
    double potBefore = 0;
    for (std::size_t i = 0; i < streets.size(); ++i) {
        Street& street = streets[i];
        const bool last = i + 1 == streets.size();
        buildPots(pots, street.allInNow, street.out, street.roundBet, potBefore, last);
        EXPECT_EQ(street.allInNow, SeatFlags{}) << "allInNow is cleared by every build";
        for (double chips : street.roundBet)
            potBefore += chips;
    }
    return potsOf(pots);
}

// A side pot over an earlier all-in, all-ins of different and of equal size, an all-in matched by the only
// player left (then later streets), an uncalled bet, exact keys, and a folded seat above an all-in.
TEST(BuildPots, LevelsAndWhoMayWinThem) {
    const struct {
        std::vector<Street> streets;
        const char* pots;
    } cases[] = {
        // Seat 1 is all-in for 10 preflop; seats 2 and 5 put in 50 and then 20 on the flop.
        {{Street({{1, 10}, {2, 50}, {5, 50}}, {1}), Street({{2, 20}, {5, 20}})}, "150: 2 5, 30: 1 2 5"},
        {{Street({{1, 10}, {2, 30}, {3, 60}, {4, 60}}, {1, 2})}, "160: 3 4, 100: 2 3 4, 40: 1 2 3 4"},
        {{Street({{1, 20}, {2, 20}, {3, 50}, {4, 50}}, {1, 2}), Street({{3, 0}, {4, 0}})},
         "140: 3 4, 80: 1 2 3 4"},
        {{Street({{1, 20}, {2, 20}}, {1}), Street({{2, 0}}), Street({{2, 0}})}, "40: 1 2"},
        // The bettor's level holds the whole bet, so the bettor wins it back.
        {{Street({{0, 2}, {1, 2}}), Street({{0, 6}, {1, 0}}, {}, {1})}, "10: 0"},
        // Keys are compared exactly: closed streets first, then seat by seat (0.3 + (0.1 + 0.7) is not 1.1).
        {{Street({{0, 0.3}}), Street({{0, 0.1}, {1, 0.7}}, {}, {0})}, "1.1: 1"},
        {{Street({{1, 10}, {2, 50}, {3, 40}}, {1}, {3})}, "100: 2, 30: 1 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pots);
        EXPECT_EQ(play(c.streets), c.pots);
    }
}

// Chips are whole cents: a level summed in another order (0.01 + 0.01 + 0.1 against 0.12) is the same level,
// not a side pot of rounding dust that would be paid as a negative share of the rake.
TEST(BuildPots, LevelsLessThanHalfACentApartAreOnePot) {
    PotMap pots;
    Street street({{0, 0.01}, {1, 0.01}, {2, 0.1}}, {2});
    buildPots(pots, street.allInNow, street.out, street.roundBet, 0, false);
    ASSERT_EQ(pots.size(), 1u);
    ASSERT_NE(pots.begin()->first, 0.12);  // 0.12000000000000001

    std::array<double, SeatCount> nothing{};
    buildPots(pots, street.allInNow, street.out, nothing, 0.12, true);
    EXPECT_EQ(pots.size(), 1u);

    buildPots(pots, street.allInNow, street.out, nothing, 0.13, true);  // a cent more is a pot of its own
    EXPECT_EQ(pots.size(), 2u);
}

}  // namespace
}  // namespace noxi
