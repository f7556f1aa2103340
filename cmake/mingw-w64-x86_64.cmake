# Cross-compiles the Windows side (NoxiConverter.dll, VLConverter.exe and the test programs) with MinGW-w64:
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# ctest then runs the test programs under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(NOXI_MINGW_PREFIX x86_64-w64-mingw32)
# The posix thread model: the win32 one lacks std::mutex, which GoogleTest needs.
set(CMAKE_C_COMPILER ${NOXI_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NOXI_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${NOXI_MINGW_PREFIX}-windres)
set(CMAKE_OBJDUMP ${NOXI_MINGW_PREFIX}-objdump CACHE FILEPATH "objdump for PE files")

set(CMAKE_FIND_ROOT_PATH /usr/${NOXI_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: programs and the DLL import nothing but system DLLs and NoxiConverter.dll. Without it the
# posix build needs libwinpthread-1.dll and fails under Wine without a word (exit code 53).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# ctest runs the test programs through Wine (wine picks wine64 for 64-bit programs), by a script that tries
# a start again when Wine could not start the program at all.
find_program(NOXI_WINE NAMES wine wine64 wine-stable)
if(NOXI_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-start.sh ${NOXI_WINE})
endif()
