// Windows entry of NoxiConverter.dll: the library takes its start values when attached to a process.
#include <windows.h>

#include "frame/LibraryState.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) noxi::attachLibrary();
    return TRUE;
}
