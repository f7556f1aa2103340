// Every seven-card hand of the 52-card deck, counted by category.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "eval/HandEvaluator.h"
#include "eval/Hands.h"

namespace noxi {
namespace {

using Counts = std::array<std::int64_t, 10>;

// All hands whose lowest card index is first; evaluators are copied level by level so that each hand costs
// one card added and one evaluation.
void countFrom(int first, Counts& counts) {
    HandEvaluator h1;
    h1.addCard(test::cardOf(first));
    for (int c2 = first + 1; c2 < 52; ++c2) {
        HandEvaluator h2 = h1;
        h2.addCard(test::cardOf(c2));
        for (int c3 = c2 + 1; c3 < 52; ++c3) {
            HandEvaluator h3 = h2;
            h3.addCard(test::cardOf(c3));
            for (int c4 = c3 + 1; c4 < 52; ++c4) {
                HandEvaluator h4 = h3;
                h4.addCard(test::cardOf(c4));
                for (int c5 = c4 + 1; c5 < 52; ++c5) {
                    HandEvaluator h5 = h4;
                    h5.addCard(test::cardOf(c5));
                    for (int c6 = c5 + 1; c6 < 52; ++c6) {
                        HandEvaluator h6 = h5;
                        h6.addCard(test::cardOf(c6));
                        for (int c7 = c6 + 1; c7 < 52; ++c7) {
                            HandEvaluator h7 = h6;
                            h7.addCard(test::cardOf(c7));
                            ++counts[static_cast<std::size_t>(h7.category())];
                        }
                    }
                }
            }
        }
    }
}

TEST(HandEvaluatorExhaustive, AllSevenCardHandsByCategory) {
    std::atomic<int> nextFirst{0};
    auto work = [&nextFirst](Counts& counts) {
        for (int first = nextFirst++; first <= 52 - 7; first = nextFirst++)
            countFrom(first, counts);
    };
    // Two workers take the lowest cards in turn; the biggest share (lowest card 0) is an eighth of the work.
    constexpr unsigned threadCount = 2;
    std::vector<Counts> perThread(threadCount, Counts{});
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < threadCount; ++t)
        threads.emplace_back(work, std::ref(perThread[t]));
    work(perThread[0]);
    for (auto& thread : threads)
        thread.join();

    Counts total{};
    for (const Counts& counts : perThread) {
        for (std::size_t i = 0; i < total.size(); ++i)
            total[i] += counts[i];
    }
    const Counts expected = {23294460, 58627800, 31433400, 6461620, 6180020,
                             4047644,  3473184,  224848,   37260,   4324};
    EXPECT_EQ(total, expected);
}

}  // namespace
}  // namespace noxi
