#!/bin/sh
# The Debian package as a user and a developer meet it: installed with dpkg -i into this machine, vlconvert
# and its manual page, a C program built with pkg-config and a CMake project built with find_package, all
# converting the sample log; then dpkg -r, after which nothing of the package is left.
#   tests/packaging/test-deb.sh dist/velmora-converter_<version>_amd64.deb
set -eu
deb=$(realpath "$1")
cd "$(dirname "$0")/../.."
root=$(pwd)
. scripts/deps.sh
need dpkg man-db pkg-config gcc cmake ninja-build
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"

package=$(dpkg-deb -f "$deb" Package)
version=$(dpkg-deb -f "$deb" Version)
expected=$root/tests/data/golden/sample.expected.txt
passed=0
pass() {
    echo "ok: $*"
    passed=$((passed + 1))
}
fail() {
    echo "FAILED: $*"
    exit 1
}

installed() {
    dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null | grep -qv '^not-installed$'
}
if installed; then
    fail "$package is installed on this machine already (by hand, or left by a test that was stopped);" \
        "remove it with: dpkg -r $package"
fi
# The package's files, and the folders that only it has; none may be there before it is installed.
work=$(mktemp -d)
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/entries"
grep -v '/$' "$work/entries" >"$work/files"
while read -r file; do
    [ ! -e "$file" ] && [ ! -L "$file" ] || fail "$file is on this machine before the package is installed"
done <"$work/files"
own_folders="/usr/share/doc/$package $(sed -n 's|^\(.*/cmake/NoxiConverter\)/$|\1|p' "$work/entries")"

cleanup() {
    if installed; then $sudo_cmd dpkg -P "$package" >/dev/null 2>&1 || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

$sudo_cmd dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -i"; }
pass "dpkg -i $(basename "$deb")"

[ "$(vlconvert --version)" = "vlconvert $version" ] || fail "vlconvert --version says: $(vlconvert --version)"
pass "vlconvert --version: vlconvert $version"

if grep -rqs '^path-exclude[= ]*/usr/share/man' /etc/dpkg/dpkg.cfg.d/; then
    echo "SKIPPED: man -w vlconvert: this machine's dpkg leaves manual pages out (/etc/dpkg/dpkg.cfg.d)"
else
    page=$(man -w vlconvert) || fail "man -w vlconvert finds no manual page"
    man -P cat vlconvert 2>/dev/null | grep -q "convert a Velmora hand log" || fail "man vlconvert: $page"
    pass "man -w vlconvert: $page"
fi

# The sample log with the default options, as the golden history has it (the log's times in that zone).
export TZ=America/New_York
vlconvert --quiet examples/GAMES_V3.LOG "$work/vlconvert.txt" >"$work/summary.txt" ||
    fail "vlconvert: $(cat "$work/summary.txt")"
cmp -s "$work/vlconvert.txt" "$expected" || fail "vlconvert's history differs from $expected"
pass "vlconvert converts the sample log"

cc -o "$work/consumer-pkg-config" tests/packaging/consumer.c $(pkg-config --cflags --libs noxiconverter) ||
    fail "a C program does not build with pkg-config --cflags --libs noxiconverter"
"$work/consumer-pkg-config" examples/GAMES_V3.LOG "$work/pkg-config.txt" >"$work/out.txt" ||
    fail "the pkg-config program: $(cat "$work/out.txt")"
cmp -s "$work/pkg-config.txt" "$expected" || fail "the pkg-config program's history differs from $expected"
pass "a C program built with pkg-config converts the sample log: $(cat "$work/out.txt")"

cmake -S tests/packaging/consumer-cmake -B "$work/consumer-cmake" -G Ninja -DNOXI_EXPECTED_VERSION="$version" \
    >"$work/cmake.log" 2>&1 || { cat "$work/cmake.log"; fail "find_package(NoxiConverter $version)"; }
cmake --build "$work/consumer-cmake" >"$work/cmake.log" 2>&1 || { cat "$work/cmake.log"; fail "CMake build"; }
"$work/consumer-cmake/consumer" examples/GAMES_V3.LOG "$work/cmake.txt" >"$work/out.txt" ||
    fail "the CMake program: $(cat "$work/out.txt")"
cmp -s "$work/cmake.txt" "$expected" || fail "the CMake program's history differs from $expected"
pass "a CMake project with find_package(NoxiConverter) converts the sample log"

$sudo_cmd dpkg -r "$package" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -r"; }
installed && fail "dpkg -r leaves $package in the state $(dpkg-query -W -f='${db:Status-Status}' "$package")"
while read -r file; do
    [ ! -e "$file" ] && [ ! -L "$file" ] || fail "dpkg -r leaves $file"
done <"$work/files"
for folder in $own_folders; do
    [ ! -e "$folder" ] || fail "dpkg -r leaves $folder"
done
! ldconfig -p | grep -q NoxiConverter || fail "dpkg -r leaves libNoxiConverter in the linker's cache"
pass "dpkg -r leaves nothing"

echo "Debian package: $passed passed, 0 failed"
