// Logs made of small good hands, and readers of what a conversion wrote: shared by the driver and vlconvert
// tests.
#pragma once

#include <algorithm>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "support/TestSupport.h"

namespace noxi::test {

// The chunks of a small good hand: heads-up, the big blind wins when the button folds.
inline std::vector<std::string> handChunks(long long id) {
    std::vector<std::string> chunks = {"ID=" + std::to_string(id)};
    for (const char* chunk : {"GAME=Texas Hold'em", "TABLE=T", "TIME=1168889400000", "BTN=0", "NP=2", "SB=1",
                              "BB=2", "PN0=a", "PB0=10", "PN1=b", "PB1=10", "BOARD=??????????", "SEQ=sBf"})
        chunks.push_back(chunk);
    return chunks;
}

inline std::string joinChunks(const std::vector<std::string>& chunks) {
    std::string record;
    for (const std::string& chunk : chunks)
        record += chunk + ";";
    return record;
}

inline std::string goodHand(long long id) {
    return joinChunks(handChunks(id));
}

// A good hand with some chunks changed, by key (the text before '='): the chunk is replaced in place, or
// dropped when the replacement is empty; a key the hand lacks is added before the SEQ chunk.
inline std::string handWith(long long id, const std::vector<std::pair<std::string, std::string>>& changes) {
    std::vector<std::string> chunks = handChunks(id);
    for (const auto& [key, replacement] : changes) {
        const auto it = std::find_if(chunks.begin(), chunks.end(),
                                     [&](const std::string& chunk) { return chunk.starts_with(key + "="); });
        if (it == chunks.end()) {
            if (!replacement.empty()) chunks.insert(chunks.end() - 1, replacement);
        } else if (replacement.empty()) {
            chunks.erase(it);
        } else {
            *it = replacement;
        }
    }
    return joinChunks(chunks);
}

// Good hands numbered from..to, one per line.
inline std::string goodHands(long long from, long long to, const std::string& lineEnd = "\r\n") {
    std::string text;
    for (long long id = from; id <= to; ++id)
        text += goodHand(id) + lineEnd;
    return text;
}

// The records, one per line.
inline std::string lines(const std::vector<std::string>& records) {
    std::string text;
    for (const std::string& record : records)
        text += record + "\r\n";
    return text;
}

// The hand numbers in a history, in the order written. A hand starts on a line of its own, so a table or
// player name cannot pass for one.
inline std::vector<long long> writtenIds(const std::string& history) {
    std::vector<long long> ids;
    const std::string marker = "\n#Game No : ";
    for (std::size_t at = history.find(marker); at != std::string::npos; at = history.find(marker, at + 1))
        ids.push_back(std::stoll(history.substr(at + marker.size())));
    return ids;
}

inline std::vector<long long> idRange(long long from, long long to) {
    std::vector<long long> ids(static_cast<std::size_t>(to - from + 1));
    std::iota(ids.begin(), ids.end(), from);
    return ids;
}

inline std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace noxi::test
