#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
exec build/src/app/zorbe "$@"
