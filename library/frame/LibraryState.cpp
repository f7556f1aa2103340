#include "frame/LibraryState.h"

namespace noxi {

LibraryState& libraryState() {
    // Made on first use, so it holds its start values whoever asks first. (Not constinit: clang cannot
    // constant-initialize libstdc++'s std::string.)
    static LibraryState state;
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
