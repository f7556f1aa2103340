#!/bin/sh
# Checks the formatting, then builds everything and runs every test: the normal build (all tests, long ones
# included, but not the "huge" ones on logs above 2 GiB), then the whole suite again built with
# AddressSanitizer and UndefinedBehaviorSanitizer, then the Windows side built with MinGW-w64 and tested under
# Wine (scripts/test-windows.sh), then the three packages made from a clean tree (scripts/package.sh) and
# installed as users install them, then each fuzz target for a bounded time (about a minute in all).
set -eu
cd "$(dirname "$0")/.."
. scripts/deps.sh
need_linux_build
jobs=$(nproc)

echo "== Format check (the committed .clang-format)"
need clang-format
# bench/cache/ and bench/out/ hold the benchmarks' logs and the baseline revision's sources and build.
find include library common cli frontend tools bench tests fuzz \( -path bench/cache -o -path bench/out \) -prune -o \
    \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print | xargs clang-format --dry-run --Werror

echo "== Build and test (release with debug info)"
cmake -S . -B build -G Ninja -DNOXI_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs" -LE huge)

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer (long tests left out)"
cmake -S . -B build-asan -G Ninja -DNOXI_WERROR=ON -DNOXI_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j "$jobs"
# A zone west of UTC with daylight saving time, so time handling is not only tried at UTC.
(cd build-asan && TZ=America/New_York ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --output-on-failure -j "$jobs" -LE long)

echo "== Windows build with MinGW-w64, tests under Wine"
windows_start=$(date +%s)
./scripts/test-windows.sh
echo "Windows stage: $(($(date +%s) - windows_start)) s"

echo "== Packages: made from a clean tree, the Debian package installed and removed, the Windows ones under Wine"
packages_start=$(date +%s)
./scripts/package.sh
tests/packaging/test-deb.sh dist/velmora-converter_*_amd64.deb
tests/packaging/test-windows-packages.sh dist/VLConverter-*-win64.zip dist/VLConverter-*-win64-setup.exe
echo "Packages stage: $(($(date +%s) - packages_start)) s"

echo "== Fuzz the line intake and the whole conversion (clang, libFuzzer)"
./fuzz/run.sh 60

echo "== All tests passed"
