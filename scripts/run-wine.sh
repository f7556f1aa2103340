#!/bin/sh
# Starts the desktop program VLConverter under Wine on Linux, in the user's own Wine prefix and on the
# user's display. Builds it first when needed (into build-wine/, without the tests), installing MinGW-w64 and
# Wine with apt-get when they are missing. The program keeps its settings file (VLConverter.cfg) and the
# error log of the last conversion (errorLog.txt) beside itself in build-wine/bin/.
set -eu
cd "$(dirname "$0")/.."
. scripts/deps.sh
. scripts/wine-fonts.sh
need cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 fonts-wine
cmake -S . -B build-wine -G Ninja -DNOXI_BUILD_TESTS=OFF -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    >/dev/null
cmake --build build-wine --target VLConverter -j "$(nproc)"
# The dialogs' font with the metrics their templates were laid out for (otherwise Wine's wider stand-in clips
# labels). It holds for the whole prefix: every program there that asks for "MS Sans Serif" gets this font.
wine_map_dialog_font
# The Windows C runtime reads TZ in its own form only ("EST5EDT"); a Linux zone name there would shift the
# hands' times. Without it the program takes Wine's zone, which follows the machine's.
exec env -u TZ wine build-wine/bin/VLConverter.exe
