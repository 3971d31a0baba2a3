#!/usr/bin/env bash
# Packs vek.exe, vek-cli.exe and the user's guide (CR LF line ends) into
# vek-VERSION-win64.zip, VERSION being the project's version, and writes
# its SHA-256 sum to SHA256SUMS beside it. The same commit gives the same
# bytes: the executables carry no link time, and the zip holds its files in
# a fixed order, with fixed modes and the commit's time (SOURCE_DATE_EPOCH
# when set), without extra fields.
# VEK_WIN_BUILD: the Windows build (build/win); VEK_DIST_DIR: where the zip
# goes (build).
set -eu
cd "$(dirname "$0")/.."
build=${VEK_WIN_BUILD:-build/win}
out=${VEK_DIST_DIR:-build}
version=$(sed -n 's/^project(Vek VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "dist: no version in CMakeLists.txt" >&2; exit 1; }
for f in "$build/vek.exe" "$build/vek-cli.exe" docs/guide.txt; do
  [ -f "$f" ] || { echo "dist: $f is missing (make win)" >&2; exit 1; }
done
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}
name=vek-$version-win64
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"
cp "$build/vek.exe" "$build/vek-cli.exe" "$stage/$name/"
sed 's/\r*$/\r/' docs/guide.txt > "$stage/$name/README.txt"
files=("$name/vek.exe" "$name/vek-cli.exe" "$name/README.txt")
chmod 755 "$stage/$name"
chmod 644 "${files[@]/#/$stage/}"
touch -h -d "@$epoch" "$stage/$name" "${files[@]/#/$stage/}"
mkdir -p "$out"
zipfile=$(cd "$out" && pwd)/$name.zip
rm -f "$zipfile"
(cd "$stage" && TZ=UTC zip -q -X -D "$zipfile" "${files[@]}")
(cd "$out" && sha256sum "$name.zip" > SHA256SUMS)
echo "dist: $out/$name.zip, $out/SHA256SUMS"
