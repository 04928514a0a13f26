#!/usr/bin/env bash
# Remakes the pictures of the user manual (data/manual/*.png) with the
# program itself, on one synthetic week in a home of its own:
#   scripts/manual-pictures.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
cmake --build "$build" -j2 --target zorbe zorbe_screens >/dev/null
zorbe="$build/src/app/zorbe"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
export ZORBE_HOME="$home" QT_QPA_PLATFORM=offscreen
out=data/manual
"$zorbe" feed generate --out "$home/feed" --weeks 1 >/dev/null
"$zorbe" download --now 20240607235959 >/dev/null
"$zorbe" download --now 20240610235959 >/dev/null
jra="$home/drives/d/zorbeLab/JRA"
sei="$home/drives/d/zorbeLab/sei"
day="$(ls "$jra" | grep '\.RDT$' | head -1)"
"$zorbe" results "$sei/${day%.RDT}.SDT" --out "$out/results.png" 2>/dev/null
"$build/src/app/zorbe_screens" "$out" "$jra/$day"
echo "$out: $(ls "$out"/*.png | xargs -n1 basename | tr '\n' ' ')"
