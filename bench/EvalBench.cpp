// Evaluating and comparing seven-card hands, as the showdown does for every seat still in.
#include <benchmark/benchmark.h>

#include <array>
#include <random>
#include <vector>

#include "eval/HandValue.h"

namespace {

using noxi::Card;
using noxi::HandValue;
using Deal = std::array<Card, 7>;

std::vector<Deal> randomDeals(std::size_t n) {
    std::mt19937 random(7);
    std::array<Card, 52> deck{};
    for (int i = 0; i < 52; ++i) {
        deck[static_cast<std::size_t>(i)].setRank(i / 4);
        deck[static_cast<std::size_t>(i)].setSuit(i % 4);
    }
    std::vector<Deal> deals(n);
    for (Deal& deal : deals) {
        for (std::size_t i = 0; i < deal.size(); ++i) {
            std::uniform_int_distribution<std::size_t> pick(i, deck.size() - 1);
            std::swap(deck[i], deck[pick(random)]);
            deal[i] = deck[i];
        }
    }
    return deals;
}

// One iteration evaluates two seven-card hands and compares them.
void evaluateAndCompare(benchmark::State& state) {
    const std::vector<Deal> deals = randomDeals(4096);
    std::size_t next = 0;
    for (auto _ : state) {
        const HandValue a = noxi::evaluateHand(deals[next]);
        const HandValue b = noxi::evaluateHand(deals[next + 1]);
        next = (next + 2) % deals.size();
        benchmark::DoNotOptimize(a < b);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 2);
}
BENCHMARK(evaluateAndCompare);

// The description of a shown hand against a rival, as every win line asks for it.
void describeAgainstRival(benchmark::State& state) {
    const std::vector<Deal> deals = randomDeals(4096);
    std::size_t next = 0;
    char buffer[64];
    for (auto _ : state) {
        const HandValue a = noxi::evaluateHand(deals[next]);
        const HandValue b = noxi::evaluateHand(deals[next + 1]);
        next = (next + 2) % deals.size();
        benchmark::DoNotOptimize(noxi::describeHand(a, buffer, sizeof buffer, &b));
    }
}
BENCHMARK(describeAgainstRival);

}  // namespace
