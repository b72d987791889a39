#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, then gives
# the INI fuzzer a short run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
(cd build && ctest --output-on-failure -j2)
if [ -f fuzz/CMakeLists.txt ]; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DVORLAGEN_FUZZ=ON \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
    cmake --build build-fuzz --target fuzz_inifiles
    # New inputs go to the build folder; fuzz/corpus holds the seeds only.
    mkdir -p build-fuzz/corpus
    build-fuzz/fuzz/fuzz_inifiles -max_total_time=30 -rss_limit_mb=2048 build-fuzz/corpus \
        fuzz/corpus 2>&1 | tail -n 3
fi
