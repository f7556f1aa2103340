// Every seven-card hand of the 52-card deck, counted by category.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "eval/Hands.h"

namespace noxi {
namespace {

using Counts = std::array<std::int64_t, 10>;

// Every hand that extends the first `held` cards by higher cards from `next` on.
void countFrom(std::array<Card, 7>& cards, int held, int next, Counts& counts) {
    if (held == 7) {
        ++counts[static_cast<std::size_t>(evaluateHand(cards).category)];
        return;
    }
    for (int card = next; card <= 52 - 7 + held; ++card) {
        cards[static_cast<std::size_t>(held)] = test::cardOf(card);
        countFrom(cards, held + 1, card + 1, counts);
    }
}

TEST(HandValueExhaustive, AllSevenCardHandsByCategory) {
    std::atomic<int> nextFirst{0};
    auto work = [&nextFirst](Counts& counts) {
        for (int first = nextFirst++; first <= 52 - 7; first = nextFirst++) {
            std::array<Card, 7> cards{};
            cards[0] = test::cardOf(first);
            countFrom(cards, 1, first + 1, counts);
        }
    };
    // Two workers take the lowest cards in turn; the biggest share (lowest card 0) is an eighth of the work.
    Counts counts[2]{};
    std::thread other(work, std::ref(counts[1]));
    work(counts[0]);
    other.join();
    Counts total{};
    for (std::size_t i = 0; i < total.size(); ++i)
        total[i] = counts[0][i] + counts[1][i];
    const Counts expected = {23294460, 58627800, 31433400, 6461620, 6180020,
                             4047644,  3473184,  224848,   37260,   4324};
    EXPECT_EQ(total, expected);
}

}  // namespace
}  // namespace noxi
