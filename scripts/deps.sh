#!/usr/bin/env bash
# Installs the Debian 12 packages the build needs, only those still missing.
#   scripts/deps.sh          everything (desktop program included)
#   scripts/deps.sh --core   only what the core and its tests need (no Qt)
set -euo pipefail

core=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev liblhasa-dev)
gui=(qt6-base-dev libgl-dev libharfbuzz-dev fonts-ipafont-gothic fonts-ipafont-mincho)

want=("${core[@]}")
[ "${1:-}" = "--core" ] || want+=("${gui[@]}")

missing=()
for p in "${want[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
