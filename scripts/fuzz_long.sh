#!/usr/bin/env bash
# Long, random runs of the fuzzers on every core (libFuzzer's fork mode), for the
# figures in the README. Usage: scripts/fuzz_long.sh [seconds] [target]...
# (default 3600 seconds for each of inifiles and projectimport). Crashes land in
# build-fuzz/long/TARGET/; the last status line of each gives the inputs run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-3600}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(inifiles projectimport)
jobs=${JOBS:-$(nproc)}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DVORLAGEN_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
status=0
for target in "${targets[@]}"; do
    case "$target" in
    inifiles) seeds=fuzz/corpus corpus=build-fuzz/corpus extra=(-dict=fuzz/ini.dict) ;;
    projectimport) seeds=fuzz/corpus_projectimport corpus=build-fuzz/corpus_projectimport extra=() ;;
    *) echo "unknown target: $target (inifiles, projectimport)" >&2; exit 2 ;;
    esac
    cmake --build build-fuzz --target "fuzz_$target"
    long=build-fuzz/long/$target
    mkdir -p "$corpus" "$long"
    # New inputs go to the build folder; the folders in fuzz/ hold the seeds only.
    "build-fuzz/fuzz/fuzz_$target" -fork="$jobs" -max_total_time="$seconds" -rss_limit_mb=2048 \
        ${extra[@]+"${extra[@]}"} -artifact_prefix="$long/" "$corpus" "$seeds" \
        > "$long/log.txt" 2>&1 || status=$?
    echo "$target:"
    grep -E '^#[0-9]+' "$long/log.txt" | tail -n 1
    grep -E 'DONE|crash|ERROR' "$long/log.txt" | tail -n 3 || true
done
exit "$status"
