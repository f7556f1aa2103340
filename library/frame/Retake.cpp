#include "frame/Retake.h"

#include <cstdint>

namespace noxi {

bool retakeSelected(LogSource& source, const HandIndex& index, const Selection& selection,
                    std::size_t& position, const ConversionOptions& options, bool firstInFile,
                    TakenHand& hand, std::string& history) {
    while (position < index.size() && !selection.selects(position, index[position].id, index.size()))
        ++position;
    if (position >= index.size()) return false;
    const HandIndex::Entry& entry = index[position++];
    if (takeIn(source, entry.offset(), hand, options, false) <= 0 ||
        static_cast<std::uint32_t>(hand.gameId()) != entry.id) {
        return false;
    }
    history.clear();
    settle(hand, options);
    writeHistory(hand, history, options, firstInFile);
    return true;
}

}  // namespace noxi
