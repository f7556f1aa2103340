#!/bin/sh
# Builds every package from a clean tree into dist/ and prints their names and sizes:
#   velmora-converter_<version>_amd64.deb    vlconvert, its manual page and the library for developers (Debian)
#   VLConverter-<version>-win64.zip          the Windows programs, to run from any folder the user may write to
#   VLConverter-<version>-win64-setup.exe    the same, installed for the user alone (no administrator rights)
# The release builds go into build-package/, emptied first, so nothing of an earlier build slips in. Warnings
# do not stop them: the test builds treat warnings as errors, and the optimizer's own warnings at -O3 (GCC 12
# has false ones) must not keep users from their packages.
set -eu
cd "$(dirname "$0")/.."
. scripts/deps.sh
need_linux_build
need_windows_build
need_packaging
jobs=$(nproc)
dist=$(pwd)/dist

if [ -n "$(git status --porcelain 2>/dev/null)" ]; then
    echo "note: the work tree has changes that are not committed; the packages hold them"
fi
rm -rf build-package "$dist"
mkdir -p "$dist"

echo "== Debian package"
cmake -S . -B build-package/linux -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DNOXI_BUILD_TESTS=OFF >/dev/null
cmake --build build-package/linux -j "$jobs"
(cd build-package/linux && cpack -G DEB -D CPACK_OUTPUT_FILE_PREFIX="$dist" >/dev/null)

echo "== Windows zip and installer"
cmake -S . -B build-package/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DNOXI_BUILD_TESTS=OFF >/dev/null
cmake --build build-package/windows -j "$jobs"
(cd build-package/windows && cpack -G ZIP -D CPACK_OUTPUT_FILE_PREFIX="$dist" >/dev/null)
cmake --build build-package/windows --target installer
mv build-package/windows/VLConverter-*-win64-setup.exe "$dist/"

echo "== Packages in dist/"
for package in "$dist"/*; do
    printf '%-44s %8s KiB\n' "$(basename "$package")" "$(( ($(stat -c %s "$package") + 1023) / 1024 ))"
done
