#!/usr/bin/env bash
# A long run of the INI fuzzer on every core (libFuzzer's fork mode), for the
# figure in the README. Usage: scripts/fuzz_long.sh [seconds] (default 3600).
# Crashes land in build-fuzz/long/; the last status line gives the inputs run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-3600}
jobs=${JOBS:-$(nproc)}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DVORLAGEN_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build-fuzz --target fuzz_inifiles
mkdir -p build-fuzz/corpus build-fuzz/long
# New inputs go to the build folder; fuzz/corpus holds the seeds only.
build-fuzz/fuzz/fuzz_inifiles -fork="$jobs" -max_total_time="$seconds" -rss_limit_mb=2048 \
    -dict=fuzz/ini.dict -artifact_prefix=build-fuzz/long/ build-fuzz/corpus fuzz/corpus \
    > build-fuzz/long/log.txt 2>&1 || status=$?
grep -E '^#[0-9]+' build-fuzz/long/log.txt | tail -n 1
grep -E 'DONE|crash|ERROR' build-fuzz/long/log.txt | tail -n 3 || true
exit "${status:-0}"
