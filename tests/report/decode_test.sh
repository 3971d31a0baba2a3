#!/usr/bin/env bash
# Decodes every saved reply of tests/data through vek-cli --decode and
# compares the printed report with the expected one, byte for byte. vek-cli
# ends a report that has no closing line end with one; nothing else differs.
# Usage: decode_test.sh VEK_CLI [RUNNER]   (RUNNER: e.g. scripts/wine-run.sh)
set -u
cli=$1
runner=${2:-}
data=$(cd "$(dirname "$0")/../data" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
checked=0

for bin in "$data"/*.bin; do
  name=$(basename "$bin" .bin)
  args=(--decode "$bin" -s 127.0.0.1)
  case $name in *axfr*) args+=(-t AXFR) ;; esac
  # shellcheck disable=SC2086
  timeout 120 $runner "$cli" "${args[@]}" >"$work/out" 2>"$work/err"
  status=$?
  cp "$data/$name.report" "$work/want"
  [ -z "$(tail -c 1 "$work/want")" ] || printf '\n' >>"$work/want"
  want_status=0
  [ "$name" = edge-empty ] && want_status=1
  if [ "$status" -ne "$want_status" ] || ! cmp -s "$work/out" "$work/want"; then
    echo "FAIL: $name (status $status, wanted $want_status)"
    diff "$work/want" "$work/out" | head -10
    cat "$work/err"
    failures=$((failures + 1))
  fi
  checked=$((checked + 1))
done

echo "$checked replies decoded, $failures failed"
[ "$checked" -ge 50 ] && [ "$failures" -eq 0 ]
