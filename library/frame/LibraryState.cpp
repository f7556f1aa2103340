#include "frame/LibraryState.h"

namespace noxi {

LibraryState& libraryState() {
    // Constant-initialized, so it holds its start values before any code of the process runs.
    static constinit LibraryState state;
    return state;
}

void attachLibrary() {
    LibraryState& state = libraryState();
    state.options = ConversionOptions{};
    state.results.totalHands = 0;
    state.results.numBadHands = 0;
    state.results.numFiles = 0;
}

}  // namespace noxi
