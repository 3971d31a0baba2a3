#!/usr/bin/env bash
# Checks that two builds of vek-cli write byte-identical reports: of a
# generated corpus of replies (bench/report_corpus.py), each decoded as an
# ordinary reply and as a zone transfer, and of any further stream files
# given. For performance work: build the old tree somewhere, then
#   bash bench/same_reports.sh OLD/vek-cli build/native/vek-cli [FILE...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
old=$1 new=$2
shift 2
work=$(mktemp -d /tmp/vek-same.XXXXXX)
trap 'rm -rf "$work"' EXIT
python3 "$here/report_corpus.py" "$work/corpus" "${CORPUS_SIZE:-2000}" "${CORPUS_SEED:-1}"
checked=0 differ=0
for file in "$work"/corpus/*.bin "$@"; do
  for type in A AXFR; do
    "$old" --decode "$file" -s 127.0.0.1 -t "$type" > "$work/old.txt" 2>&1 || true
    "$new" --decode "$file" -s 127.0.0.1 -t "$type" > "$work/new.txt" 2>&1 || true
    checked=$((checked + 1))
    if ! cmp -s "$work/old.txt" "$work/new.txt"; then
      differ=$((differ + 1))
      echo "differs: $file as $type"
    fi
  done
done
echo "$checked reports compared, $differ differ"
[ "$differ" = 0 ]
