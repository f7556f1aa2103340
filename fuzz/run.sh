#!/bin/sh
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in build-fuzz/
# and runs each for a bounded time, one process at a time and at low priority.
#   fuzz/run.sh SECONDS [TARGET]   SECONDS in all, shared between the targets (default 60)
# New inputs go to build-fuzz/corpus/TARGET (fuzz/corpus/TARGET is read as seeds); a finding is kept as
# build-fuzz/findings/TARGET-crash-... and makes the script fail.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
only=${2:-}
. scripts/deps.sh
need clang libclang-rt-14-dev cmake ninja-build

build=build-fuzz
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
nice -n 10 cmake --build "$build" -j 2

# Scratch files of the conversion target go to memory when it can.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
    TMPDIR=/dev/shm
    export TMPDIR
fi

targets="intake convert"
[ -n "$only" ] && targets=$only
count=$(echo $targets | wc -w)
status=0
for target in $targets; do
    case $target in
        intake) share=$((seconds / 3)); max_len=8192 ;;
        *) share=$((seconds - seconds / 3)); max_len=16384 ;;
    esac
    [ "$count" -eq 1 ] && share=$seconds
    [ "$share" -lt 1 ] && share=1
    mkdir -p "$build/corpus/$target" "$build/findings"
    echo "== fuzz_$target for ${share}s"
    if ! ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 \
        nice -n 10 "$build/fuzz_$target" -max_total_time="$share" -timeout=20 -rss_limit_mb=2560 \
        -max_len="$max_len" -dict=fuzz/log.dict -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" \
        "$build/corpus/$target" "fuzz/corpus/$target" >"$build/fuzz_$target.log" 2>&1; then
        status=1
        tail -n 60 "$build/fuzz_$target.log"
        echo "fuzz_$target found a fault; the input is in $build/findings/"
    else
        grep -E '^(stat::number_of_executed_units|stat::new_units_added|#[0-9]+ *DONE)' \
            "$build/fuzz_$target.log" || true
        echo "corpus: $(ls "$build/corpus/$target" | wc -l) new inputs, $(ls "fuzz/corpus/$target" | wc -l) seeds"
    fi
done
exit $status
