// Where there is no DllMain, the library takes its start values when it is loaded.
#include "frame/LibraryState.h"

namespace {

__attribute__((constructor)) void noxiOnLoad() {
    noxi::attachLibrary();
}

}  // namespace
