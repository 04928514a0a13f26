#!/usr/bin/env bash
# Installs the Debian 12 packages the build needs, only those still missing.
#   scripts/deps.sh          everything (desktop program included)
#   scripts/deps.sh --core   only what the core and its tests need (no Qt)
#   scripts/deps.sh --fuzz   what the fuzz targets need (clang, libFuzzer)
#   scripts/deps.sh --package  what building and checking the Debian package needs
set -euo pipefail

core=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev liblhasa-dev libsqlite3-dev zlib1g-dev)
gui=(qt6-base-dev libgl-dev libharfbuzz-dev fonts-ipafont-gothic fonts-ipafont-mincho qt6-translations-l10n)
package=(desktop-file-utils dpkg-dev file)

# The fuzz targets build the core too, with its libraries.
fuzz=(cmake ninja-build pkg-config clang libfuzzer-14-dev liblhasa-dev libsqlite3-dev zlib1g-dev)

case "${1:-}" in
    --core) want=("${core[@]}") ;;
    --fuzz) want=("${fuzz[@]}") ;;
    --package) want=("${core[@]}" "${gui[@]}" "${package[@]}") ;;
    *)      want=("${core[@]}" "${gui[@]}") ;;
esac

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
