#!/usr/bin/env bash
# Builds the Debian package and checks it: the files it installs, its
# control data (version, dependencies) and the desktop entry.
#   scripts/package.sh            in build-pkg/ (a Release build without tests)
#   scripts/package.sh BUILD_DIR  in a build folder configured already
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --package
build="${1:-build-pkg}"
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORBE_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j2 --target zorbe zorbe_icon_files
(cd "$build" && rm -f zorbe_*.deb && cpack -G DEB >/dev/null)
deb="$(ls "$build"/zorbe_*.deb)"
version="$("$build/src/app/zorbe" --version | sed 's/^zorbe //')"
echo "package: $deb (version $version)"

fail() { echo "package check failed: $*" >&2; exit 1; }
contents="$(dpkg-deb --contents "$deb")"
for f in ./usr/bin/zorbe ./usr/share/applications/zorbe.desktop ./usr/share/man/man1/zorbe.1 \
         ./usr/share/doc/zorbe/README.md ./usr/share/doc/zorbe/manual/index.html \
         ./usr/share/doc/zorbe/manual/main.png; do
    grep -q " $f\$" <<<"$contents" || fail "missing $f"
done
for size in 16 22 24 32 48 64 128 256; do
    grep -q " ./usr/share/icons/hicolor/${size}x${size}/apps/zorbe.png\$" <<<"$contents" || fail "missing icon $size"
done
info="$(dpkg-deb --info "$deb")"
grep -q "^ Version: $version\$" <<<"$info" || fail "version is not $version"
depends="$(grep '^ Depends:' <<<"$info")"
for dep in libqt6widgets6 libqt6printsupport6 libqt6gui6 libharfbuzz0b liblhasa0 fonts-ipafont-gothic \
           fonts-ipafont-mincho; do
    grep -q "$dep" <<<"$depends" || fail "no dependency on $dep: $depends"
done
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -x "$deb" "$tmp"
desktop-file-validate "$tmp/usr/share/applications/zorbe.desktop"
grep -q '^Exec=zorbe$' "$tmp/usr/share/applications/zorbe.desktop" || fail "Exec is not zorbe"
"$tmp/usr/bin/zorbe" --version | grep -qx "zorbe $version" || fail "installed program's version"
echo "package checks passed"
