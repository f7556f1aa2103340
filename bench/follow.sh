#!/bin/sh
# The live-conversion benchmark: how soon vlconvert --follow puts a hand into the output after its line is
# written to the log, and how little it works while the log is idle. Builds in release mode (as the other
# benchmarks), generates the log of a player at 24 tables at once (hand numbers out of order, 1 % repeated
# lines, 1 % damaged lines, cached in bench/cache/), and converts it once to know which lines give a hand.
# Then bench/FollowLatency.cpp (built here) starts `vlconvert --follow --quiet` on an empty log in
# bench/out/follow/ and appends the lines one by one, damaged and repeated ones included:
#
# - latency: for each good hand, the time from the moment the write of its line's end returned to the
#   moment its number ("#Game No : N") can be read in the output file, the figure the targets are about;
#   and on to the moment vlconvert's --json line tells that the batch is saved (the output, the error log
#   and the state on the disk, after their fsyncs). Once a hand's batch is saved the next line follows after
#   a pause (--pause MS, 10 by default), so that each hand wakes a waiting vlconvert as during a session;
#   the median, the 99th percentile and the slowest of each are reported.
# - idle processor time: once every line is in, the processor time vlconvert uses over --idle SECONDS (60
#   by default) while nothing is written, as a share of that time: from /proc/PID/schedstat (nanoseconds),
#   or the user and system time of /proc/PID/stat (clock ticks) where the kernel keeps no schedstat. It
#   waits on inotify and looks at the log once a second when nothing is told, so it should be next to
#   nothing; any busy polling would show here.
#
# Targets: median at most 300 ms, 99th percentile at most 1 s, idle processor time under 1 %. On Linux the
# latency is bound by inotify's wake-up and the fsyncs of a step; Windows (a change notification looked at
# four times a second) is not measured here.
#
#   bench/follow.sh [--hands N] [--idle SECONDS] [--pause MS]     N = 10000 by default
#
# The figures are printed and appended to bench/results.md. A short check: --hands 1000 --idle 10.
set -eu
cd "$(dirname "$0")/.."
. scripts/deps.sh
need_linux_build
. bench/common.sh

hands=10000
idle=60
pause=10
while [ $# -gt 0 ]; do
    case $1 in
    --hands) hands=$2; shift 2 ;;
    --idle) idle=$2; shift 2 ;;
    --pause) pause=$2; shift 2 ;;
    *) echo "usage: bench/follow.sh [--hands N] [--idle SECONDS] [--pause MS]" >&2; exit 2 ;;
    esac
done
mkdir -p "$cache" "$out"

buildCurrent
measure=$out/follow_latency
c++ -std=c++20 -O2 -Wall -Wextra -Werror bench/FollowLatency.cpp -o "$measure"

# Enough lines for the hands: damaged lines and repeats give none.
lines=$((hands + hands / 10 + 100))
log=$cache/GAMES_V3_${lines}_follow.LOG
makeLog "$log" --hands "$lines" --seed 5 --broken 0.01 --tables 24 --repeats 0.01
work=$out/follow
rm -rf "$work"
mkdir -p "$work/run"
"$vlconvert" --quiet --error-log "$work/errorLog.txt" "$log" "$work/batch.txt" >/dev/null

echo "Appending $hands hands one by one to a log vlconvert --follow follows, then ${idle} s idle..."
"$measure" "$vlconvert" "$log" "$work/errorLog.txt" "$work/run" "$hands" "$idle" "$pause" >"$work/figures.txt"
figure() { awk -v name="$1" '$1 == name { print $2 }' "$work/figures.txt"; }

median=$(figure median_ms)
p99=$(figure p99_ms)
slowest=$(figure max_ms)
savedMedian=$(figure saved_median_ms)
savedP99=$(figure saved_p99_ms)
savedSlowest=$(figure saved_max_ms)
idleCpu=$(figure idle_cpu_percent)
idleSeconds=$(figure idle_seconds)
timed=$(figure hands)
status=$(figure exit_status)
inOutput=$(figure hands_in_output)
[ "$status" = 130 ] || echo "vlconvert ended with status $status, not 130" >&2
[ "$inOutput" = "$timed" ] || echo "the output holds $inOutput hands, not $timed" >&2

targets=$(awk -v m="$median" -v p="$p99" -v c="$idleCpu" 'BEGIN {
    printf "%s", (m <= 300 && p <= 1000 && c < 1) ? "met" : "missed:"
    if (m > 300) printf " median"
    if (p > 1000) printf " p99"
    if (c >= 1) printf " idle"
}')
echo "hands timed          $timed (pause $pause ms between them)"
echo "latency median       $median ms   (target at most 300 ms)"
echo "latency 99th pct     $p99 ms   (target at most 1000 ms)"
echo "latency slowest      $slowest ms"
echo "saved: median        $savedMedian ms, 99th percentile $savedP99 ms, slowest $savedSlowest ms"
echo "idle processor time  $idleCpu % over $idleSeconds s   (target under 1 %)"
echo "targets              $targets"

header="| date | commit | hands | pause ms | median ms | 99th percentile ms | slowest ms | saved: median ms | saved: 99th percentile ms | saved: slowest ms | idle s | idle processor % | targets |"
row="| $(date -u +%Y-%m-%dT%H:%MZ) | $(currentRevision) | $timed | $pause | $median | $p99 | $slowest | $savedMedian | $savedP99 | $savedSlowest | $idleSeconds | $idleCpu | $targets |"
appendRow bench/results.md "$header" "$row"
