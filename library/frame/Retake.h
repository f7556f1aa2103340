// The saving step's taking in again: the next selected hand of the index, from its place in the log, as a
// history. The saving step and the split's second thread both save this way.
#pragma once

#include <cstddef>
#include <string>

#include "frame/Conversion.h"
#include "frame/HandIndex.h"
#include "frame/Intake.h"
#include "frame/LogSource.h"

namespace noxi {

// Takes in again the first hand the selection selects from index position `position` on (position moves
// past it) and puts its history in history (emptied first). False when no selected hand is left, or its
// record does not come back as it was first taken in: the log changed under the conversion.
bool retakeSelected(LogSource& source, const HandIndex& index, const Selection& selection,
                    std::size_t& position, const ConversionOptions& options, bool firstInFile,
                    TakenHand& hand, std::string& history);

}  // namespace noxi
