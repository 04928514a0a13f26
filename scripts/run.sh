#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program.
# On the first run it also writes the built-in synthetic feed into the data
# link's default feed folder, so that "新聞データDL" has a season to fetch.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
home="${ZORBE_HOME:-$HOME/.local/share/zorbe}"
if [ -z "${ZORBE_FEED:-}" ] && [ ! -d "$home/feed" ]; then
    build/src/app/zorbe feed generate --out "$home/feed"
fi
exec build/src/app/zorbe "$@"
