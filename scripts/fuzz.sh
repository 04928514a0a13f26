#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) in build-fuzz/
# and runs each for a bounded time; fails on any finding.
#   scripts/fuzz.sh                 every target, ZORBE_FUZZ_SECONDS (default 25) each
#   scripts/fuzz.sh race_card odds  only these targets
# Each target's corpus (build-fuzz/corpus/<target>) is seeded by the target
# itself from a generated feed and the program's own files, and kept between
# runs. A finding is written as build-fuzz/findings/<target>/crash-… (or
# leak-…, timeout-…); run the target on that file to see it again.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh --fuzz
seconds="${ZORBE_FUZZ_SECONDS:-25}"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZORBE_FUZZ=ON -DZORBE_GUI=OFF -DZORBE_TESTS=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for exe in build-fuzz/fuzz/fuzz_*; do
        [ -x "$exe" ] && targets+=("${exe##*/fuzz_}")
    done
fi

# The sample week every target takes its valid files and seeds from, made
# by the first target that needs it.
export ZORBE_FUZZ_SAMPLE="$PWD/build-fuzz/sample"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
for t in "${targets[@]}"; do
    exe="build-fuzz/fuzz/fuzz_$t"
    corpus="build-fuzz/corpus/$t"
    findings="build-fuzz/findings/$t"
    mkdir -p "$corpus" "$findings"
    if [ -z "$(ls -A "$corpus")" ]; then
        ZORBE_FUZZ_SEEDS="$corpus" "$exe" >/dev/null 2>&1
    fi
    echo "== $t: $(ls "$corpus" | wc -l) inputs, ${seconds} s"
    if ! "$exe" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
            -artifact_prefix="$findings/" -print_final_stats=1 >"build-fuzz/$t.log" 2>&1; then
        echo "FINDING in $t (log: build-fuzz/$t.log)"
        tail -40 "build-fuzz/$t.log"
        failed+=("$t")
    fi
done
if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzz: findings in ${failed[*]}" >&2
    exit 1
fi
echo "fuzz: no findings"
