#!/usr/bin/env bash
# Packs vek.exe, vek-cli.exe and the user's guide (CR LF line ends) into
# build/vek-VERSION-win64.zip, VERSION being the project's version.
set -eu
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project(Vek VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "dist: no version in CMakeLists.txt" >&2; exit 1; }
for f in build/win/vek.exe build/win/vek-cli.exe docs/guide.txt; do
  [ -f "$f" ] || { echo "dist: $f is missing (make win)" >&2; exit 1; }
done
name=vek-$version-win64
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"
cp build/win/vek.exe build/win/vek-cli.exe "$stage/$name/"
sed 's/\r*$/\r/' docs/guide.txt > "$stage/$name/README.txt"
rm -f "build/$name.zip"
(cd "$stage" && zip -q -X -r "$OLDPWD/build/$name.zip" "$name")
echo "dist: build/$name.zip"
