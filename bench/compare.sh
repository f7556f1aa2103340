#!/bin/sh
# Byte comparison of two builds: vlconvert of a baseline revision (built once into bench/cache/) and of this
# tree (release build) convert the same logs with the same options, and every output file, the error log,
# the printed summary (standard output), the messages (standard error) and the exit status are compared
# byte for byte. One line per case: "same", or "differs" with the files that differ and the first
# difference. The cases (HANDS is 1,000,000 unless told):
#   ascending        the benchmark's ascending log of HANDS hands (1 % damaged lines)
#   24tables         the log of a player at 24 tables at once (1 % repeated lines, 1 % damaged lines)
#   last             the 24-table log with --last HANDS/2
#   files4           the 24-table log with --files 4
#   all-options      the ascending log of 100,000 hands with every conversion option on
#   reversed         the ascending log with its lines in reverse order
#   cr-only          the ascending log with CR alone ending its lines
#   nul-run          the ascending log with a 10 MB run of NUL bytes between two lines in its middle
#   hands-per-file   the 24-table log with --hands-per-file HANDS/7
#   first            the 24-table log with --first HANDS/3
#   between          the 24-table log with --between A B, the numbers of its lines at 1/4 and 3/4
# The nul-run case may differ in the error log and the count of skipped hands only: a build that takes a
# run of NUL bytes as one bad record writes one error line for the run where an older one wrote one per
# byte, and numbers the later records accordingly.
#
#   bench/compare.sh [--hands N] [BASE_REV]     BASE_REV defaults to 659e240
#
# Exit status: 0 when every case came out as expected, 1 otherwise, 2 on wrong arguments.
set -eu
cd "$(dirname "$0")/.."

hands=1000000
base=659e240
usage() { echo "usage: bench/compare.sh [--hands N] [BASE_REV]" >&2; exit 2; }
while [ $# -gt 0 ]; do
    case $1 in
        --hands) [ $# -ge 2 ] || usage; hands=$2; shift 2 ;;
        -*) usage ;;
        *) base=$1; shift ;;
    esac
done
case $hands in '' | *[!0-9]*) usage ;; esac
[ "$hands" -ge 8 ] || usage

. scripts/deps.sh
need_linux_build
. bench/common.sh
work=$out/compare
mkdir -p "$cache/compare" "$work"
buildCurrent
buildBase "$base"
ascendingLog 100000
smallLog=$ascendingLog
ascendingLog "$hands"
tablesLog "$hands"

# derive FILE COMMAND...: FILE made from the ascending log by COMMAND (which reads it on standard input),
# again when the ascending log is newer.
derive() {
    file=$1
    shift
    [ -s "$file" ] && [ "$file" -nt "$ascendingLog" ] && return 0
    "$@" < "$ascendingLog" > "$file.part"
    mv "$file.part" "$file"
}
reversedLog=$cache/compare/GAMES_V3_${hands}_reversed.LOG
crLog=$cache/compare/GAMES_V3_${hands}_cr.LOG
nulLog=$cache/compare/GAMES_V3_${hands}_nul.LOG
derive "$reversedLog" tac
derive "$crLog" tr -d '\n'
middle=$(($(wc -l < "$ascendingLog") / 2))
nulRun() {
    head -n "$middle"
    head -c 10485760 /dev/zero
    cat
}
derive "$nulLog" nulRun

# The number of the first line at or after line $1 of the 24-table log that has a plain number.
numberAt() {
    awk -v from="$1" 'NR >= from && /^ID=[0-9]+;/ { sub(/^ID=/, ""); sub(/;.*/, ""); print; exit }' "$tablesLog"
}
from=$(numberAt $((hands / 4)))
to=$(numberAt $((hands * 3 / 4)))
[ "$from" -le "$to" ] || { t=$from; from=$to; to=$t; }

# runBuild PROGRAM FOLDER LOG OPTIONS...: one conversion into $work/run, then moved to FOLDER, so that
# both builds see the same paths.
runBuild() {
    program=$1
    folder=$2
    log=$3
    shift 3
    rm -rf "$work/run" "$folder"
    mkdir -p "$work/run"
    status=0
    "$program" --quiet --error-log "$work/run/errorLog.txt" "$@" "$log" "$work/run/hands.txt" \
        >"$work/run/summary.txt" 2>"$work/run/messages.txt" </dev/null || status=$?
    echo "exit status $status" >> "$work/run/summary.txt"
    mv "$work/run" "$folder"
}

# The first difference of two files, as "at byte B, line L" with the two lines (cut to 100 characters).
firstDifference() {
    where=$(cmp "$1" "$2" 2>&1 | head -n 1) || true
    case $where in
        *"EOF on"*)
            echo "one ends first (${where#*EOF on })"
            return ;;
    esac
    byte=$(echo "$where" | sed -n 's/.*byte \([0-9]*\), line \([0-9]*\).*/\1/p')
    line=$(echo "$where" | sed -n 's/.*byte \([0-9]*\), line \([0-9]*\).*/\2/p')
    printf 'at byte %s, line %s: baseline "%s", current "%s"' "$byte" "$line" \
        "$(sed -n "${line}p" "$1" | tr -d '\r' | tr '\000' '@' | cut -c1-100)" \
        "$(sed -n "${line}p" "$2" | tr -d '\r' | tr '\000' '@' | cut -c1-100)"
}

failed=0
# check NAME LOG OPTIONS...: converts with both builds and prints the case's line.
check() {
    name=$1
    log=$2
    shift 2
    runBuild "$baseVlconvert" "$work/base" "$log" "$@"
    runBuild "$vlconvert" "$work/current" "$log" "$@"
    (cd "$work/base" && find . -type f | sed 's|^\./||' | sort) > "$work/base.list"
    (cd "$work/current" && find . -type f | sed 's|^\./||' | sort) > "$work/current.list"
    differing=""
    first=""
    onlyBase=$(comm -23 "$work/base.list" "$work/current.list" | tr '\n' ' ')
    onlyCurrent=$(comm -13 "$work/base.list" "$work/current.list" | tr '\n' ' ')
    [ -z "$onlyBase" ] || differing="written by the baseline alone: ${onlyBase% }"
    [ -z "$onlyCurrent" ] || differing="${differing:+$differing, }written by the current build alone: ${onlyCurrent% }"
    for file in $(comm -12 "$work/base.list" "$work/current.list"); do
        cmp -s "$work/base/$file" "$work/current/$file" && continue
        differing="${differing:+$differing, }$file"
        [ -n "$first" ] || first="$file $(firstDifference "$work/base/$file" "$work/current/$file")"
    done
    files=$(wc -l < "$work/current.list")
    if [ -z "$differing" ]; then
        printf '%-15s same (%s files compared)\n' "$name" "$files"
    elif [ "$name" = nul-run ] && [ "$differing" = errorLog.txt ] || { [ "$name" = nul-run ] &&
        [ "$differing" = "errorLog.txt, summary.txt" ] &&
        [ "$(grep -v skipped "$work/base/summary.txt")" = "$(grep -v skipped "$work/current/summary.txt")" ]; }; then
        printf '%-15s differs in the error log and the count of skipped hands only, as expected: %s\n' \
            "$name" "$first"
    else
        printf '%-15s differs: %s; first difference: %s\n' "$name" "$differing" "${first:-none in the files both wrote}"
        failed=1
    fi
    rm -rf "$work/base" "$work/current"
}

echo "Baseline $baseRevision against this tree ($(currentRevision)), $hands hands:"
check ascending "$ascendingLog"
check 24tables "$tablesLog"
check last "$tablesLog" --last $((hands / 2))
check files4 "$tablesLog" --files 4
check all-options "$smallLog" --fix-small-blind --six-max --real-money --all-hole-cards --show-losing-hands
check reversed "$reversedLog"
check cr-only "$crLog"
check nul-run "$nulLog"
check hands-per-file "$tablesLog" --hands-per-file $((hands / 7))
check first "$tablesLog" --first $((hands / 3))
check between "$tablesLog" --between "$from" "$to"
exit "$failed"
