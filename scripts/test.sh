#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, checks the
# Debian package, its AppStream metadata and the manual pages, runs the tests
# once more under the sanitizers, then gives the INI and project file fuzzers a
# short run that is the same for the same commit.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
(cd build && ctest --output-on-failure -j2)

# The package as a user gets it: lintian finds neither errors nor warnings, the
# metadata validates without network, the manual pages render without a warning.
rm -f build/vorlagen_*.deb
(cd build && cpack -G DEB > /dev/null)
lintian --fail-on error,warning build/vorlagen_*_amd64.deb
appstreamcli validate --no-net data/*.metainfo.xml
for page in src/app/vorlagen.1 src/copytool/QvtrCopy.1; do
    warnings=$(groff -man -ww -z "$page" 2>&1)
    warnings+=$(LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 > /dev/null)
    [ -z "$warnings" ] || { echo "$page: $warnings" >&2; exit 1; }
done

# The same tests again with AddressSanitizer and UndefinedBehaviorSanitizer, in a
# second build folder. Any report ends the test program with a failure; leaks are
# ignored only inside the system libraries listed in scripts/lsan.supp.
san="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$san" -DCMAKE_EXE_LINKER_FLAGS="$san" -DCMAKE_MODULE_LINKER_FLAGS="$san" > /dev/null
cmake --build build-asan --target vorlagen_tests
(export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:check_initialization_order=1:strict_init_order=1
 export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
 export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
 cd build-asan && ctest --output-on-failure -j2)
if [ -f fuzz/CMakeLists.txt ]; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DVORLAGEN_FUZZ=ON \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
    cmake --build build-fuzz --target fuzz_inifiles fuzz_projectimport
    # A fixed seed and number of inputs, from the seeds alone (new inputs go to a
    # folder emptied first) and Qt's hash seed fixed: a commit always gives the same
    # run, about 30 and 15 seconds here. The long, random runs: scripts/fuzz_long.sh.
    export QT_HASH_SEED=0
    rm -rf build-fuzz/test && mkdir -p build-fuzz/test/ini build-fuzz/test/projectimport
    build-fuzz/fuzz/fuzz_inifiles -seed=1 -runs=250000 -rss_limit_mb=2048 -dict=fuzz/ini.dict \
        build-fuzz/test/ini fuzz/corpus 2>&1 | tail -n 3
    build-fuzz/fuzz/fuzz_projectimport -seed=1 -runs=15000 -rss_limit_mb=2048 \
        build-fuzz/test/projectimport fuzz/corpus_projectimport 2>&1 | tail -n 3
fi
