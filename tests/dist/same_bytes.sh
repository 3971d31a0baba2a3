#!/usr/bin/env bash
# Two dists of the same commit are the same bytes: packs the Windows build
# (argument 1), links both programs again, packs once more and compares the
# zips and their sums.
set -eu
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pack() { VEK_WIN_BUILD="$build" VEK_DIST_DIR="$work/$1" bash "$here/scripts/dist.sh" >/dev/null; }
link() { cmake --build "$build" --target vek vek-cli >/dev/null; }
link
pack first
rm -f "$build/vek.exe" "$build/vek-cli.exe"
link
pack second
cmp "$work"/first/*.zip "$work"/second/*.zip
cmp "$work/first/SHA256SUMS" "$work/second/SHA256SUMS"
(cd "$work/first" && sha256sum --quiet -c SHA256SUMS)
echo "dist: the same bytes twice"
