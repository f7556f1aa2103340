// Microbenchmarks of the conversion's steps on the hands of the bundled sample log: the chunk parser, the
// betting decoder, the whole line intake and the hand-history writer.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "betting/Decoder.h"
#include "frame/Intake.h"
#include "hand/ChunkParser.h"

namespace noxi {
namespace {

// The good lines of the sample log.
const std::vector<std::string>& sampleLines() {
    static const std::vector<std::string> lines = [] {
        std::ifstream in(NOXI_SAMPLE_LOG, std::ios::binary);
        std::vector<std::string> good;
        TakenHand hand;
        for (std::string line; std::getline(in, line);) {
            if (parseLine(hand, line.c_str(), ConversionOptions{}, false) > 0) good.push_back(line);
        }
        return good;
    }();
    return lines;
}

void chunkParser(benchmark::State& state) {
    const auto& lines = sampleLines();
    HandRecord hand;
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (const std::string& line : lines) {
            hand.reset();
            std::size_t start = 0;
            for (int number = 1;; ++number) {
                const std::size_t end = line.find(';', start);
                if (end == std::string::npos || end == start) break;
                parseChunk(hand, line.data() + start, static_cast<int>(end - start), number);
                start = end + 1;
            }
            bytes += line.size();
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}
BENCHMARK(chunkParser);

void decoder(benchmark::State& state) {
    // Records parsed once; each run decodes them again.
    std::vector<HandRecord> parsed;
    for (const std::string& line : sampleLines()) {
        TakenHand hand;
        parseLine(hand, line.c_str(), ConversionOptions{}, false);
        parsed.push_back(hand.record);
    }
    DecodedHand work;
    for (auto _ : state) {
        for (const HandRecord& hand : parsed)
            benchmark::DoNotOptimize(decodeSequence(hand, DecodeOptions{}, work));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(parsed.size()));
}
BENCHMARK(decoder);

void lineIntake(benchmark::State& state) {
    const auto& lines = sampleLines();
    TakenHand hand;
    for (auto _ : state) {
        for (const std::string& line : lines)
            benchmark::DoNotOptimize(parseLine(hand, line.c_str(), ConversionOptions{}));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}
BENCHMARK(lineIntake);

void writer(benchmark::State& state) {
    ConversionOptions options;
    options.realMoney = true;
    options.make6Max = true;
    std::vector<TakenHand> parsed(sampleLines().size());
    for (std::size_t i = 0; i < parsed.size(); ++i)
        parseLine(parsed[i], sampleLines()[i].c_str(), options);
    std::string out;
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (const TakenHand& hand : parsed) {
            out.clear();
            writeHistory(hand, out, options, false);
            bytes += out.size();
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(parsed.size()));
}
BENCHMARK(writer);

}  // namespace
}  // namespace noxi
