#!/bin/sh
# The Windows side: cross-builds NoxiConverter.dll, VLConverter.exe and the test programs with MinGW-w64 into
# build-windows/, then runs every test under Wine in a private prefix with a private X display.
set -eu
cd "$(dirname "$0")/.."
. scripts/deps.sh
. scripts/wine-session.sh
need_windows_build
jobs=$(nproc)

cmake -S . -B build-windows -G Ninja -DNOXI_WERROR=ON -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build-windows -j "$jobs"

mkdir -p build-windows/wine
trap wine_session_stop EXIT
wine_session_start build-windows/wine
# On a busy machine Wine now and then fails to start a program at all (it exits at once, without a word):
# cmake/wine-start.sh, through which CTest runs every program, tries such a start again, which also keeps
# the discovery of a test program's cases from failing; and a test that fails is run once more. A real
# failure fails twice.
(cd build-windows && timeout 1200 ctest --output-on-failure -j "$jobs" --timeout 180 -LE huge --repeat until-pass:2)
