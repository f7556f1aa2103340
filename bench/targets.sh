#!/bin/sh
# The conversion's targets on the logs users have, measured side by side in one run: vlconvert converts
#   ascending     the benchmark's ascending log (1 % damaged lines, as bench/run.sh uses),
#   24 tables     the log of a player at 24 tables at once (numbers out of order, 1 % repeated lines and
#                 1 % damaged lines, from loggen --tables 24 --repeats 0.01 --broken 0.01),
#   --last        the 24-table log with --last HANDS/2 (--last 500000 at 1,000,000 hands),
#   --files 4     the 24-table log with --files 4,
#   and the 24-table log's lines sorted by hand number, which shows what their order alone costs (the
#   24-table log's hands are not the ascending log's),
# with the release build of this tree, and the ascending log also with a baseline build of another revision
# (by default 659e240, where the round of work on these targets started), built once into bench/cache/.
# Each conversion runs RUNS times, each time after the write-back and a pause of three seconds, the
# commands taking turns within a run; GNU time gives its seconds and its maximum resident set size, and
# the median of each is quoted.
#
# The targets, printed beside the figures: the time of each log at most 1.15 times the ascending log's in
# the same run; the ascending log no slower than with the baseline build; the peak memory of each at most
# 64 MB + 32 bytes per hand of the log (64 MiB + 32 B x HANDS; about 95 MiB at 1,000,000 hands), where GNU
# time counts the pages of a mapped file too. The table is printed and appended to bench/results.md.
#
#   bench/targets.sh [--hands N] [--runs R] [--base REV] [--base-all]
#     --hands N    hands of each log (default 1000000); logs are generated once into bench/cache/
#     --runs R     timed runs of each conversion, the median is quoted (default 3)
#     --base REV   the revision to compare with (default 659e240)
#     --base-all   the baseline build converts every log, not only the ascending one (a before/after table)
#
# bench/run.sh keeps the earlier measurement: the conversion against the I/O floor (cat and dd).
set -eu
cd "$(dirname "$0")/.."

hands=1000000
runs=3
base=659e240
baseAll=no
usage() { sed -n '/^#   bench/,/^#     --base-all/p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
while [ $# -gt 0 ]; do
    case $1 in
        --hands) [ $# -ge 2 ] || usage; hands=$2; shift 2 ;;
        --runs) [ $# -ge 2 ] || usage; runs=$2; shift 2 ;;
        --base) [ $# -ge 2 ] || usage; base=$2; shift 2 ;;
        --base-all) baseAll=yes; shift ;;
        *) usage ;;
    esac
done
case $hands in '' | *[!0-9]*) usage ;; esac
case $runs in '' | *[!0-9]* | 0) usage ;; esac
[ "$hands" -ge 4 ] || usage

. scripts/deps.sh
need_linux_build
. bench/common.sh
work=$out/targets
mkdir -p "$cache" "$work"
buildCurrent
buildBase "$base"
ascendingLog "$hands"
tablesLog "$hands"
sortedTablesLog "$hands"
current=$(currentRevision)
stamp=$(date -u +%Y-%m-%dT%H:%MZ)
half=$((hands / 2))

# The measured commands, one a line: name, build (current or base), log, options.
plan=$work/plan.txt
{
    echo "ascending current $ascendingLog"
    echo "ascending base $ascendingLog"
    echo "24tables current $tablesLog"
    echo "sorted current $sortedTablesLog"
    [ "$baseAll" = no ] || echo "24tables base $tablesLog"
    echo "last current $tablesLog --last $half"
    [ "$baseAll" = no ] || echo "last base $tablesLog --last $half"
    echo "files4 current $tablesLog --files 4"
    [ "$baseAll" = no ] || echo "files4 base $tablesLog --files 4"
} > "$plan"
label() {
    case $1 in
        ascending) echo "ascending" ;;
        24tables) echo "24 tables" ;;
        sorted) echo "24 tables' lines in number order" ;;
        last) echo "24 tables, --last $half" ;;
        files4) echo "24 tables, --files 4" ;;
    esac
}

# The write-back done, then a pause.
settle() { sync; sleep 3; }

while read -r name which log options; do : > "$work/$name-$which.txt"; done < "$plan"
i=0
while [ "$i" -lt "$runs" ]; do
    i=$((i + 1))
    while read -r name which log options; do
        program=$vlconvert
        [ "$which" = current ] || program=$baseVlconvert
        rm -f "$work"/hands*.txt "$work/errorLog.txt"
        settle
        # shellcheck disable=SC2086 # the options are words
        /usr/bin/time -f "%e %M" -o "$work/time.txt" \
            "$program" --quiet --error-log "$work/errorLog.txt" $options "$log" "$work/hands.txt" </dev/null \
            >/dev/null 2>"$work/stderr.txt" || { cat "$work/stderr.txt" >&2; exit 1; }
        cat "$work/time.txt" >> "$work/$name-$which.txt"
        echo "run $i/$runs: $(label "$name"), $which build: $(awk '{ printf "%.2f s, %.0f MB", $1, $2 / 1024 }' "$work/time.txt")" >&2
    done < "$plan"
done
rm -f "$work"/hands*.txt "$work/errorLog.txt"

seconds() { awk '{ print $1 }' "$work/$1-$2.txt" | median; }
peak() { awk '{ print $2 }' "$work/$1-$2.txt" | median; }
limit=$((65536 + hands * 32 / 1024))  # KiB
ascending=$(seconds ascending current)
baseAscending=$(seconds ascending base)
header="| date | hands | runs | log | build | input MB | convert s | / ascending | / baseline | peak MB | peak target MB | targets |"
echo "$header"
while read -r name which log options; do
    s=$(seconds "$name" "$which")
    p=$(peak "$name" "$which")
    if [ "$which" = current ]; then
        revision=$current
        baseFile=$work/$name-base.txt
        if [ -s "$baseFile" ] && grep -q "^$name base " "$plan"; then b=$(seconds "$name" base); else b=""; fi
    else
        revision="$baseRevision (baseline)"
        b=""
    fi
    row=$(awk -v d="$stamp" -v h="$hands" -v r="$runs" -v l="$(label "$name")" -v g="$revision" \
        -v w="$which" -v n="$name" -v i="$(wc -c < "$log")" -v s="$s" -v a="$ascending" \
        -v ba="$baseAscending" -v b="$b" -v p="$p" -v m="$limit" 'BEGIN {
            toAscending = (w == "current" ? s / a : s / ba)
            toBase = (b != "" ? sprintf("%.2f", s / b) : "-")
            if (w != "current" || n == "sorted") {
                verdict = "-"
            } else {
                missed = ""
                if (n == "ascending" && s > b + 0) missed = missed ", slower than the baseline"
                if (n != "ascending" && n != "sorted" && toAscending > 1.15) missed = missed ", time above 1.15 x"
                if (p > m) missed = missed ", memory above the target"
                verdict = (missed == "" ? "met" : "missed" missed)
            }
            printf "| %s | %d | %d | %s | %s | %.0f | %.2f | %.2f | %s | %.0f | %.0f | %s |",
                d, h, r, l, g, i / 1e6, s, toAscending, toBase, p / 1024, m / 1024, verdict }')
    echo "$row"
    appendRow bench/results.md "$header" "$row"
done < "$plan"
echo "Appended to bench/results.md."
