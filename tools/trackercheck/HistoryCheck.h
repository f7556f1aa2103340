// Checks PartyPoker hand histories the way a tracker's importer reads them, with no code of the converter:
// every amount in whole cents and none negative, the chips put in (less the uncalled part the importer
// returns itself) less the chips won equal to the rake, no pot of one player's chips, and no unknown card
// shown.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace trackercheck {

// The faults found in one hand, each a short text ("win not in whole cents: 0.465"); none for a sound hand.
struct HandResult {
    std::string id;
    std::vector<std::string> faults;
};

// Checks the text of one hand history (from its "#Game No" line to the last line before the next hand).
// logRake: the hand's RAKE from its log line in cents; without it the rake is only checked to be at least 0.
HandResult checkHand(std::string_view history, std::optional<std::int64_t> logRake);

// The RAKE in cents of the first line of each hand number in a Velmora log (0 for a line without RAKE).
std::unordered_map<std::int64_t, std::int64_t> rakesOfLog(std::string_view log);

// Splits a history file into its hands and checks each; counts the faults by kind (the text before ':').
struct FileResult {
    std::uint64_t hands = 0;
    std::uint64_t faultyHands = 0;
    std::map<std::string, std::uint64_t> faultsByKind;
    std::vector<HandResult> firstFaulty;  // up to the number asked for
};
void checkFile(std::string_view text, const std::unordered_map<std::int64_t, std::int64_t>* rakes,
               std::size_t keepFaulty, FileResult& result);

}  // namespace trackercheck
