# Sourced by the benchmark scripts, from the repository's root: the release build of this tree, a build of
# another revision to compare with, the benchmark's logs, and the rows of bench/results.md.

build=build-release
cache=bench/cache
out=bench/out

# The release build of this tree: vlconvert and loggen (the same configuration as bench/run.sh).
buildCurrent() {
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNOXI_BUILD_TESTS=OFF -DNOXI_BUILD_BENCH=ON \
        >/dev/null
    cmake --build "$build" -j 2 --target vlconvert loggen >/dev/null
    vlconvert=$build/bin/vlconvert
    loggen=$build/bin/loggen
}

# The revision of this tree as a short commit, with "+changes" when the tree differs from it.
currentRevision() {
    revision=$(git rev-parse --short=7 HEAD 2>/dev/null || echo unknown)
    git diff --quiet HEAD -- 2>/dev/null || revision="$revision+changes"
    echo "$revision"
}

# The release build of revision $1, made once from its files (git archive, so no worktree is registered)
# into bench/cache/base-COMMIT/ and kept there. Sets baseVlconvert and baseRevision.
buildBase() {
    full=$(git rev-parse --verify --quiet "$1^{commit}") || { echo "unknown revision '$1'" >&2; exit 2; }
    baseRevision=$(git rev-parse --short=7 "$full")
    dir=$cache/base-$baseRevision
    baseVlconvert=$dir/build/bin/vlconvert
    [ -x "$baseVlconvert" ] && return 0
    echo "Building $baseRevision into $dir (once)..." >&2
    rm -rf "$dir"
    mkdir -p "$dir/src"
    git archive "$full" | tar -x -C "$dir/src"
    cmake -S "$dir/src" -B "$dir/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNOXI_BUILD_TESTS=OFF >/dev/null
    cmake --build "$dir/build" -j 2 --target vlconvert >/dev/null
}

# makeLog FILE LOGGEN-OPTIONS...: the log, generated again when loggen is newer than it.
makeLog() {
    file=$1
    shift
    [ -s "$file" ] && [ "$file" -nt "$loggen" ] && return 0
    "$loggen" "$@" --output "$file.part"
    mv "$file.part" "$file"
}

# The benchmark's ascending log of $1 hands (1 % damaged lines), as bench/run.sh makes it; sets ascendingLog.
ascendingLog() {
    ascendingLog=$cache/GAMES_V3_$1.LOG
    makeLog "$ascendingLog" --hands "$1" --seed 1 --broken 0.01
}

# The log of a player at 24 tables at once, $1 hands with 1 % repeated lines and 1 % damaged lines; sets
# tablesLog.
tablesLog() {
    tablesLog=$cache/GAMES_V3_$1_24tables.LOG
    makeLog "$tablesLog" --hands "$1" --seed 1 --broken 0.01 --tables 24 --repeats 0.01
}

# The same lines as the 24-table log, in hand-number order: what the order alone costs shows against it.
# Sets sortedTablesLog.
sortedTablesLog() {
    sortedTablesLog=$cache/GAMES_V3_$1_24tables_sorted.LOG
    [ -s "$sortedTablesLog" ] && [ "$sortedTablesLog" -nt "$tablesLog" ] && return 0
    LC_ALL=C sort -s -t= -k2,2n "$tablesLog" > "$sortedTablesLog.part"
    mv "$sortedTablesLog.part" "$sortedTablesLog"
}

# median of the numbers on standard input
median() {
    sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# appendRow FILE HEADER ROW: appends ROW to the table at the end of FILE, first starting a table with
# HEADER (and its separator line) when the file's last line is not a row with as many columns, so that
# the scripts' tables never run into each other.
appendRow() {
    columns=$(printf '%s\n' "$2" | awk -F'|' '{ print NF }')
    last=$(tail -n 1 "$1" 2>/dev/null | awk -F'|' '/^\|/ { print NF }')
    if [ "$last" != "$columns" ]; then
        separator=$(printf '%s\n' "$2" | awk -F'|' '{ s = "|"; for (i = 2; i < NF; i++) s = s "---|"; print s }')
        printf '\n%s\n%s\n' "$2" "$separator" >> "$1"
    fi
    printf '%s\n' "$3" >> "$1"
}
