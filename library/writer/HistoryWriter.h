// Renders one decoded hand as PartyPoker hand-history text.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "betting/DecodedHand.h"
#include "betting/Payout.h"
#include "betting/Showdown.h"
#include "hand/HandRecord.h"

namespace noxi {

struct HistoryOptions {
    bool realMoney = false;    // "$" before amounts, "(Real Money)" on the table line, wins in dollars
    bool make6Max = false;     // "(6 max) " on the table line of a hand of at most six players
    bool saveAllHole = false;  // a "Dealt to" line for every seated player, not only the log owner's
    // Tracker-safe output: every amount in whole cents and none negative, stakes with cents in two
    // decimals ("$0.10/$0.20"), and "Dealt to" lines only for known cards, the log owner's last (a reader
    // takes the player of the last one for the log owner).
    bool trackerSafe = false;
};

// Appends the hand's history to out, every line ended by CR LF: the heading, the seats, the actions and, at
// the Showdown record, the payout's show and win lines. firstInFile leaves out the "starts." line that
// separates a hand from the one before it in the same file.
void writeHistory(const HandRecord& hand, const DecodedHand& decoded, const HandValues& values,
                  const Payout& payout, const HistoryOptions& options, bool firstInFile, std::string& out);

// The date text of a history ("Monday, January 15, 14:30:00 EDT 2007") for a prepared start time.
std::string formatStartTime(std::int64_t startTime);

// The local date and time a history shows for a prepared start time.
std::tm startTimeFields(std::int64_t startTime);

}  // namespace noxi
