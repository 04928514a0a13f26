#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   scripts/test.sh              the normal build (build/)
#   scripts/test.sh --sanitize   with AddressSanitizer and UBSan (build-asan/)
#   scripts/test.sh --no-gui     the core alone, without Qt (build-core/)
set -euo pipefail
cd "$(dirname "$0")/.."

mode="${1:-}"
case "$mode" in
    "")         dir=build;      opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo); scripts/deps.sh ;;
    --sanitize) dir=build-asan; opts=(-DCMAKE_BUILD_TYPE=Debug -DZORBE_SANITIZE=ON); scripts/deps.sh ;;
    --no-gui)   dir=build-core; opts=(-DCMAKE_BUILD_TYPE=Debug -DZORBE_GUI=OFF); scripts/deps.sh --core ;;
    *) echo "usage: scripts/test.sh [--sanitize|--no-gui]" >&2; exit 2 ;;
esac

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B "$dir" -G Ninja "${opts[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
