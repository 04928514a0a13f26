#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program's main job:
#   scripts/run.sh            the demo: a synthetic season downloaded day by
#                             day in a home of its own, then the newspaper of
#                             its latest race day (in the display window, or
#                             as PDF files when there is no display)
#   scripts/run.sh desktop    the desktop program on your own home; its first
#                             run writes a synthetic feed for "新聞データDL"
#   scripts/run.sh ARGS...    the program with a subcommand
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Only the executable: a first run need not compile every test.
cmake --build build -j "$(nproc)" --target zorbe
if [ $# -eq 0 ]; then
    exec build/src/app/zorbe demo
fi
if [ "$1" = desktop ]; then
    shift
    home="${ZORBE_HOME:-$HOME/.local/share/zorbe}"
    if [ -z "${ZORBE_FEED:-}" ] && [ ! -d "$home/feed" ]; then
        build/src/app/zorbe feed generate --out "$home/feed"
    fi
    exec build/src/app/zorbe "$@"
fi
exec build/src/app/zorbe "$@"
