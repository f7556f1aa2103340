#!/bin/sh
# Folds what fuzzing found (build-fuzz/corpus/TARGET) into the committed seed corpus (fuzz/corpus/TARGET),
# keeping only inputs that add coverage. Run after a long fuzz/run.sh, then commit fuzz/corpus.
set -eu
cd "$(dirname "$0")/.."
build=build-fuzz
for target in intake convert; do
    [ -x "$build/fuzz_$target" ] || { echo "build the targets first: fuzz/run.sh 1"; exit 1; }
    merged="$build/merged-$target"
    rm -rf "$merged"
    mkdir -p "$merged" "$build/corpus/$target"
    nice -n 10 "$build/fuzz_$target" -merge=1 -max_len=16384 "$merged" "fuzz/corpus/$target" \
        "$build/corpus/$target" >"$build/merge-$target.log" 2>&1
    rm -rf "fuzz/corpus/$target"
    mv "$merged" "fuzz/corpus/$target"
    echo "$target: $(ls "fuzz/corpus/$target" | wc -l) seeds, $(du -sk "fuzz/corpus/$target" | cut -f1) KiB"
done
