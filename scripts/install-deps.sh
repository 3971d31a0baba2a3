#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and
# the machine lacks. Quiet and quick when everything is there already.
set -eu
packages=(
  cmake make g++ python3 googletest libbenchmark-dev libssl-dev
  python3-dnspython python3-pytest python3-pytest-timeout
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine64 wine xvfb xdotool imagemagick x11-utils zip
  clang-14 libclang-rt-14-dev
  bind9 bind9-dnsutils knot knot-dnsutils ldnsutils dns-root-data
  iproute2 procps time
  libxfixes3
  libssl-dev python3-dnspython python3-pytest python3-pytest-timeout knot-dnssecutils bind9-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
