#!/bin/sh
# The main job: builds the command-line converter and converts the sample log into out/, printing the summary.
set -eu
cd "$(dirname "$0")/.."
. scripts/deps.sh
need_linux_build
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)" --target vlconvert
log=examples/GAMES_V3.LOG
if [ ! -f "$log" ]; then
    log=tests/data/golden/showcase.log
    echo "No examples/GAMES_V3.LOG yet: converting $log instead."
fi
mkdir -p out
echo "Converting $log into out/hands.txt"
build/bin/vlconvert "$log" out/hands.txt
