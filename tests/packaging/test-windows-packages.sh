#!/bin/sh
# The Windows packages as users meet them, under Wine in a fresh private prefix with a private X display:
# - the zip, unpacked into a new folder, holds what it should; vlconvert.exe from it converts the sample log;
#   a C program built against its header and import library converts it too; VLConverter.exe starts there
#   (its window found by title) and writes its settings beside itself;
# - the installer, run silently (/S), installs into the user's programs folder with Start-menu shortcuts and an
#   entry in the user's list of programs; the installed program starts; the uninstaller (/S) removes the
#   program, its settings and the shortcuts and leaves a hand history saved in its folder alone, and removes
#   the folder when nothing else is in it.
#   tests/packaging/test-windows-packages.sh dist/VLConverter-<version>-win64.zip dist/VLConverter-<version>-win64-setup.exe
set -eu
zip=$(realpath "$1")
setup=$(realpath "$2")
cd "$(dirname "$0")/../.."
root=$(pwd)
. scripts/deps.sh
. scripts/wine-session.sh
need_windows_build
need unzip

version=$(basename "$zip" | sed -n 's/^VLConverter-\(.*\)-win64\.zip$/\1/p')
expected=$root/tests/data/golden/sample.expected.txt
sample_log=$root/examples/GAMES_V3.LOG
work=$root/build-package/test-windows
passed=0
skipped=0
pass() {
    echo "ok: $*"
    passed=$((passed + 1))
}
fail() {
    echo "FAILED: $*"
    exit 1
}
skip() {
    echo "**********************************************************************"
    echo "SKIPPED: $*"
    echo "**********************************************************************"
    skipped=$((skipped + 1))
}
# The Windows form of an absolute Linux path: Wine's drive Z: is the Linux root.
windows_path() {
    echo "Z:$1" | tr '/' '\\'
}
# The history a program wrote is the golden one, byte for byte (CR LF line ends on every platform).
same_history() {
    cmp -s "$1" "$expected"
}
# Runs a Windows program of the prefix with its output in a file (the first Wine process may leave background
# processes holding its standard output), in the zone the golden history was written in.
run() {
    out=$1
    shift
    TZ=EST5EDT timeout 120 wine "$@" >"$out" 2>>"$work/wine-programs.log"
}

rm -rf "$work"
mkdir -p "$work/developer"
x86_64-w64-mingw32-gcc-posix -O1 -static -o "$work/StartProgram.exe" tests/packaging/StartProgram.c

trap wine_session_stop EXIT
wine_session_start "$work"
c_drive=$WINEPREFIX/drive_c

echo "== The zip $(basename "$zip")"
fresh=$c_drive/Unpacked # a new folder of the user's own
mkdir -p "$fresh"
unzip -q "$zip" -d "$fresh"
folder=$fresh/VLConverter-$version-win64
for file in VLConverter.exe NoxiConverter.dll README.txt LICENSE.txt include/NoxiConverter.h lib/NoxiConverter.lib; do
    [ -f "$folder/$file" ] || fail "the zip has no VLConverter-$version-win64/$file"
done
pass "the zip unpacks into VLConverter-$version-win64: programs, DLL, header, import library, README.txt, LICENSE.txt"
for file in README.txt LICENSE.txt; do
    [ "$(grep -c "$(printf '\r')\$" "$folder/$file")" -eq "$(wc -l <"$folder/$file")" ] ||
        fail "$file has lines without CR LF"
done
pass "README.txt and LICENSE.txt have CR LF line ends"

if [ -f "$folder/vlconvert.exe" ]; then
    run "$work/version.txt" "$folder/vlconvert.exe" --version || fail "vlconvert.exe --version"
    [ "$(tr -d '\r' <"$work/version.txt")" = "vlconvert $version" ] ||
        fail "vlconvert.exe --version says: $(cat "$work/version.txt")"
    run "$work/summary.txt" "$folder/vlconvert.exe" --quiet "$(windows_path "$sample_log")" 'C:\Unpacked\hands.txt' ||
        fail "vlconvert.exe: $(cat "$work/summary.txt")"
    same_history "$fresh/hands.txt" || fail "vlconvert.exe's history differs from $expected"
    pass "vlconvert.exe $version from the zip converts the sample log"
else
    skip "the zip has no vlconvert.exe (this Windows build left it out): the conversion with vlconvert.exe is not tested"
fi

x86_64-w64-mingw32-gcc-posix -O1 -static -I"$folder/include" -o "$work/developer/consumer.exe" \
    tests/packaging/consumer.c -L"$folder/lib" -lNoxiConverter || fail "a C program does not build against the zip"
cp "$folder/NoxiConverter.dll" "$work/developer/"
run "$work/consumer.txt" "$work/developer/consumer.exe" "$(windows_path "$sample_log")" \
    "$(windows_path "$work/developer/hands.txt")" || fail "the C program: $(cat "$work/consumer.txt")"
same_history "$work/developer/hands.txt" || fail "the C program's history differs from $expected"
pass "a C program built against the zip's header and NoxiConverter.lib converts the sample log"

run "$work/start.txt" "$work/StartProgram.exe" 'C:\Unpacked\VLConverter-'"$version"'-win64\VLConverter.exe' \
    "Velmora Converter" || fail "VLConverter.exe from the zip: $(cat "$work/start.txt")"
[ -f "$folder/VLConverter.cfg" ] || fail "VLConverter.exe from the zip wrote no VLConverter.cfg beside itself"
pass "VLConverter.exe starts from the unpacked folder and keeps its settings there"

echo "== The installer $(basename "$setup")"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\VLConverter'
registered() {
    timeout 60 wine reg query "$uninstall_key" /v DisplayVersion >"$work/reg.txt" 2>/dev/null
}
install() {
    run "$work/setup.txt" "$setup" /S || fail "the installer /S: $(cat "$work/setup.txt")"
    installed=$(echo "$c_drive"/users/*/AppData/Local/Programs/VLConverter)
    [ -f "$installed/VLConverter.exe" ] || fail "the installer put no VLConverter.exe into AppData\\Local\\Programs"
    menu=$(echo "$c_drive"/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs)/Velmora\ Converter
}
# The uninstaller copies itself away and returns at once: it is done when its entry has left the registry.
uninstall() {
    run "$work/uninstall.txt" "$installed/Uninstall.exe" /S || fail "Uninstall.exe /S"
    waited=0
    while registered; do
        [ "$waited" -lt 60 ] || fail "the uninstaller did not finish within 30 seconds"
        sleep 0.5
        waited=$((waited + 1))
    done
    sleep 1 # its last steps after the registry
}

install
for file in VLConverter.exe NoxiConverter.dll README.txt LICENSE.txt include/NoxiConverter.h lib/NoxiConverter.lib \
    Uninstall.exe; do
    [ -f "$installed/$file" ] || fail "the installer did not install $file"
done
[ -f "$menu/Velmora Converter.lnk" ] && [ -f "$menu/Uninstall Velmora Converter.lnk" ] ||
    fail "no Start-menu shortcuts in $menu"
registered && grep -q "$version" "$work/reg.txt" || fail "no entry $version in the user's list of programs"
pass "the installer /S puts the program into AppData\\Local\\Programs\\VLConverter, with shortcuts and its entry"
if [ -f "$folder/vlconvert.exe" ]; then
    [ -f "$installed/vlconvert.exe" ] || fail "the installer did not install vlconvert.exe"
fi

run "$work/start.txt" "$work/StartProgram.exe" "$(windows_path "$installed/VLConverter.exe")" "Velmora Converter" ||
    fail "the installed VLConverter.exe: $(cat "$work/start.txt")"
[ -f "$installed/VLConverter.cfg" ] || fail "the installed program wrote no VLConverter.cfg beside itself"
pass "the installed VLConverter.exe starts and keeps its settings beside itself"

echo "kept" >"$installed/my hands.txt"
echo "ERROR on Line 1: test" >"$installed/errorLog.txt"
uninstall
for file in VLConverter.exe NoxiConverter.dll README.txt LICENSE.txt vlconvert.exe include lib Uninstall.exe \
    VLConverter.cfg errorLog.txt; do
    [ ! -e "$installed/$file" ] || fail "the uninstaller left $file"
done
[ "$(cat "$installed/my hands.txt")" = "kept" ] || fail "the uninstaller removed a hand history saved in its folder"
[ ! -e "$menu" ] || fail "the uninstaller left the Start-menu folder"
pass "Uninstall.exe /S removes the program, its settings, error log, shortcuts and entry, and keeps the user's history"

install
rm -f "$installed/my hands.txt"
uninstall
[ ! -e "$installed" ] || fail "the uninstaller left the program's folder with nothing in it: $(ls -A "$installed")"
pass "Uninstall.exe /S removes the program's folder when nothing else is in it"

echo "Windows packages: $passed passed, 0 failed, $skipped skipped"
