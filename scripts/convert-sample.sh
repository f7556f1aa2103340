#!/bin/sh
# The main job: builds the converter and converts the bundled sample log.
set -eu
cd "$(dirname "$0")/.."
. scripts/deps.sh
need_linux_build
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)"
echo "Built build/lib/libNoxiConverter.so; the converter itself is not there yet."
