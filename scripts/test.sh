#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the plain build with warnings as errors,
# the same tests under AddressSanitizer and UndefinedBehaviorSanitizer, the threaded search under
# ThreadSanitizer, and a short run of each fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/install-deps.sh

echo "== build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs"

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLET_SANITIZE=ON -DQUILLET_BENCH=OFF \
    -DQUILLET_WERROR=ON >/dev/null
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

echo "== the search engine and the search dialog under ThreadSanitizer"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLET_TSAN=ON -DQUILLET_BENCH=OFF \
    -DQUILLET_WERROR=ON >/dev/null
cmake --build build-tsan -j "$jobs" --target store_tests search_dialog_test
TSAN_OPTIONS=halt_on_error=1 build-tsan/bin/store_tests --gtest_brief=1 \
    --gtest_filter='CardSearch*:TextSearch*:SearchResults*'
TSAN_OPTIONS=halt_on_error=1 QT_QPA_PLATFORM=offscreen build-tsan/bin/search_dialog_test -silent

echo "== fuzz targets, briefly"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_FUZZ=ON \
    -DQUILLET_WITH_GUI=OFF >/dev/null
cmake --build build-fuzz -j "$jobs"
for seeds in fuzz/corpus/*/; do
    target=build-fuzz/bin/$(basename "$seeds")_reader_fuzz
    work=$(mktemp -d)
    mkdir "$work/corpus"
    cp "$seeds"* "$work/corpus"/
    status=0
    # Run inside the scratch folder: libFuzzer writes a found fault's input to the current folder.
    (cd "$work" && "$OLDPWD/$target" -max_total_time="${FUZZ_SECONDS:-30}" -rss_limit_mb=1024 -malloc_limit_mb=256 \
        -print_final_stats=1 corpus \
        >fuzz.log 2>&1) || status=$?
    grep -E "^(Done|stat::number_of_executed_units)|ERROR|SUMMARY" "$work/fuzz.log" || true
    if [ "$status" -ne 0 ]; then
        echo "fuzz target $target found a fault; the input is kept in $work"
        exit 1
    fi
    rm -rf "$work"
done
echo "all tests done"
