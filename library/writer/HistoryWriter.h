// Renders one decoded hand as PartyPoker hand-history text.
#pragma once

#include <ctime>
#include <string>

#include "hand/HandRecord.h"

namespace noxi {

// Appends the hand's history to out, every line ended by CR LF. firstInFile leaves out the "starts." line
// that separates a hand from the one before it in the same file. Only the Showdown record's seat may change.
void writeHistory(HandRecord& hand, std::string& out, bool realMoney, bool make6Max, bool muckHands,
                  bool saveAllHole, bool firstInFile);

// The date text of a history ("Monday, January 15, 14:30:00 EDT 2007") for a prepared start time.
std::string formatStartTime(std::int64_t startTime);

// The local date and time a history shows for a prepared start time.
std::tm startTimeFields(std::int64_t startTime);

}  // namespace noxi
