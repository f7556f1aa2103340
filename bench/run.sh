#!/bin/sh
# The conversion benchmark: builds in release mode, generates logs of 100,000 and 1,000,000 hands (cached in
# bench/cache/), and measures in the same run, side by side, vlconvert converting each log and the I/O floor:
# reading the input once (cat into /dev/null) plus writing as many bytes as the output has from a program
# (dd of the produced output with 1 MB blocks; cp is not used, since it copies inside the kernel without the
# bytes ever passing through a program, which no converter can do). Prints hands per second, input MB/s, peak
# resident memory and the ratio conversion / floor, and appends the figures to bench/results.md.
#
# Both sides are timed in three states: after the write-back and a pause of three seconds, as when a user
# starts a conversion; at once after deleting files as large as the output; and durably, after the pause and
# until the output is on disk (vlconvert then sync of its output, cat then dd with conv=fsync). On the virtual machine the project is
# measured on, the floor's copy of 886 MB has taken from 0.2 s to 1.8 s of system time, in either state and
# from one hour to the next, apparently as the host hands memory back to the machine or not. The conversion's
# own writes have slowed down with it at times; the ratios show how much each side moved. The durable state
# is bound by the disk rather than by the machine's memory, and has been the steadiest.
#
#   bench/run.sh [RUNS]     RUNS timed runs of each command, the median is quoted (default 3)
#
# bench/targets.sh measures the conversion on logs out of order, with ranges and splits, against a baseline
# build; bench/compare.sh compares the two builds' outputs byte for byte.
set -eu
cd "$(dirname "$0")/.."
. scripts/deps.sh
need_linux_build
. bench/common.sh
runs=${1:-3}
mkdir -p "$cache" "$out"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNOXI_BUILD_TESTS=OFF -DNOXI_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null

# seconds, then peak kilobytes, of one run of a command
timed() { /usr/bin/time -f "%e %M" -o "$out/time.txt" "$@" >/dev/null 2>&1; cat "$out/time.txt"; }

commit=$(git rev-parse --short HEAD 2>/dev/null || echo unknown)
stamp=$(date -u +%Y-%m-%dT%H:%MZ)
header="| date | commit | hands | input MB | output MB | convert s | floor s | ratio | convert s at once | floor s at once | ratio at once | convert s durable | floor s durable | ratio durable | hands/s | input MB/s | peak MB | peak / input |"

# The write-back done, then a pause.
settle() { sync; sleep 3; }
# One conversion of $log into $result: its seconds are added to the file $1, its peak to the file $2 if given.
timedConvert() {
    to=$1
    peakTo=${2:-}
    set -- $(timed "$build/bin/vlconvert" --quiet --error-log "$out/errorLog.txt" "$log" "$result")
    echo "$1" >> "$to"
    [ -z "$peakTo" ] || echo "$2" >> "$peakTo"
}
# The floor: reading $log, then copying $result to a file that did not exist; its seconds are added to $1.
# A second argument is handed to dd (conv=fsync: until the copy is on disk).
timedFloor() {
    to=$1
    ddOption=${2:-}
    set -- $(timed cat "$log")
    read_s=$1
    set -- $(timed dd if="$result" of="$out/copy.txt" bs=1M ${ddOption:+"$ddOption"})
    echo "$read_s $1" | awk '{ print $1 + $2 }' >> "$to"
}
# A conversion until its output is on disk; its seconds are added to the file $1.
timedConvertDurable() {
    to=$1
    set -- $(timed sh -c '"$0" --quiet --error-log "$1" "$2" "$3" && sync -d "$3"' \
        "$build/bin/vlconvert" "$out/errorLog.txt" "$log" "$result")
    echo "$1" >> "$to"
}

for hands in 100000 1000000; do
    log="$cache/GAMES_V3_$hands.LOG"
    [ -s "$log" ] || "$build/bin/loggen" --hands "$hands" --seed 1 --broken 0.01 --output "$log"
    result="$out/hands.txt"
    for f in convert floor convertAtOnce floorAtOnce convertDurable floorDurable peak; do : > "$out/$f.txt"; done
    i=0
    while [ "$i" -lt "$runs" ]; do
        # Every timed command writes a file that did not exist; deleting is not timed.
        rm -f "$result" "$out/copy.txt"
        settle
        timedConvert "$out/convert.txt" "$out/peak.txt"
        settle
        timedFloor "$out/floor.txt"
        rm -f "$out/copy.txt"
        timedFloor "$out/floorAtOnce.txt"
        rm -f "$result" "$out/copy.txt"
        timedConvert "$out/convertAtOnce.txt"
        rm -f "$result" "$out/copy.txt"
        settle
        timedConvertDurable "$out/convertDurable.txt"
        settle
        timedFloor "$out/floorDurable.txt" conv=fsync
        i=$((i + 1))
    done
    convert=$(median < "$out/convert.txt")
    floor=$(median < "$out/floor.txt")
    convertAtOnce=$(median < "$out/convertAtOnce.txt")
    floorAtOnce=$(median < "$out/floorAtOnce.txt")
    convertDurable=$(median < "$out/convertDurable.txt")
    floorDurable=$(median < "$out/floorDurable.txt")
    peak=$(median < "$out/peak.txt")
    in_bytes=$(wc -c < "$log")
    out_bytes=$(wc -c < "$result")
    line=$(awk -v h="$hands" -v c="$convert" -v f="$floor" -v c2="$convertAtOnce" -v f2="$floorAtOnce" \
        -v c3="$convertDurable" -v f3="$floorDurable" -v p="$peak" -v i="$in_bytes" -v o="$out_bytes" \
        -v d="$stamp" -v g="$commit" 'BEGIN {
            printf "| %s | %s | %d | %.0f | %.0f | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f | %.0f | %.0f | %.0f | %.2f |",
                d, g, h, i / 1e6, o / 1e6, c, f, (f > 0 ? c / f : 0), c2, f2, (f2 > 0 ? c2 / f2 : 0),
                c3, f3, (f3 > 0 ? c3 / f3 : 0), (c > 0 ? h / c : 0), (c > 0 ? i / 1e6 / c : 0), p / 1024,
                p * 1024 / i }')
    echo "$line"
    appendRow bench/results.md "$header" "$line"
done
rm -f "$out/hands.txt"
echo "Appended to bench/results.md. Microbenchmarks: $build/bin/conversion_bench, $build/bin/eval_bench"
