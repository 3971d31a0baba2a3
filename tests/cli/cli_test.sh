#!/usr/bin/env bash
# Runs vek-cli on a few cases and checks its output and exit status.
# Usage: cli_test.sh VEK_CLI [RUNNER]   (RUNNER: e.g. scripts/wine-run.sh)
set -u
cli=$1
runner=${2:-}
net=${VEK_TEST_NET:-127.0.53}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

run() {  # run ARGS...: stdout to $work/out, stderr to $work/err, status to $status
    if [ -n "$runner" ]; then
        timeout 120 "$runner" "$cli" "$@" >"$work/out" 2>"$work/err"
    else
        timeout 60 "$cli" "$@" >"$work/out" 2>"$work/err"
    fi
    status=$?
}

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# expect NAME STATUS EXPECTED-STDOUT ARGS...: exact standard output and status.
expect() {
    local name=$1 want_status=$2 want=$3
    shift 3
    run "$@"
    printf '%b' "$want" >"$work/want"
    [ "$status" -eq "$want_status" ] || fail "$name: status $status, wanted $want_status"
    cmp -s "$work/out" "$work/want" || {
        fail "$name: output differs"
        od -c "$work/out" | head -20
    }
}

# usage_error NAME FIRST-LINE ARGS...: status 2, nothing on stdout, the line then the usage on stderr.
usage_error() {
    local name=$1 line=$2
    shift 2
    run "$@"
    [ "$status" -eq 2 ] || fail "$name: status $status, wanted 2"
    [ -s "$work/out" ] && fail "$name: wrote to standard output"
    grep -v '^wine\|^[0-9a-f]*:err:\|^[0-9a-f]*:fixme:' "$work/err" | tr -d '\r' >"$work/errlines"
    [ "$(sed -n 1p "$work/errlines")" = "$line" ] || fail "$name: first line '$(sed -n 1p "$work/errlines")'"
    sed -n 2p "$work/errlines" | grep -q '^usage: vek-cli \[-s SERVER\]' || fail "$name: no usage line"
}

# --- informational options
expect version 0 'vek-cli 0.4.1\n' --version
run --help
[ "$status" -eq 0 ] && grep -q -- '--print-query' "$work/out" || fail "help"

# --- bad usage
usage_error no-target "vek-cli: no target given"
usage_error two-targets "vek-cli: more than one target ('a' and 'b')" a b
usage_error bad-type "vek-cli: unknown query type 'AAAA' (a name such as MX, or 0 to 19)" -t AAAA x
usage_error bad-port "vek-cli: invalid port '70000' (1 to 65535)" -p 70000 x
usage_error unknown-option "vek-cli: unknown option '--bogus'" --bogus x
usage_error missing-file "vek-cli: cannot open '$work/absent.bin': No such file or directory" --decode "$work/absent.bin"

# --- the query bytes, nothing sent
expect query-axfr-inverse 0 \
    '00 16 00 00 08 00 00 01 00 00 00 00 00 00 02 61 \n62 01 63 00 00 fc 00 01 \n' \
    --print-query -t AXFR --no-recursive --inverse ab.c
expect query-recursive-a 0 \
    '00 16 00 00 01 00 00 01 00 00 00 00 00 00 02 61 \n62 01 63 00 00 01 00 01 \n' \
    --print-query ab.c.
expect query-refused 1 \
    'Lookup refused: the query name <a..b> has an empty label.\n\tRemove the leading dot or the doubled dots and try again.\n' \
    --print-query a..b

# --- resolver lookups through the host table
expect resolver-name 0 'Default lookup result:\n\tlocalhost resolved as 127.0.0.1\n' localhost
run 127.0.0.1
[ "$status" -eq 0 ] || fail "resolver-address: status $status"
printf 'Default lookup result:\n\t127.0.0.1 (127.0.0.1) resolved as localhost' >"$work/want"
head -c "$(wc -c <"$work/want")" "$work/out" | cmp -s - "$work/want" ||
    fail "resolver-address: $(cat "$work/out")"
run -d no-such-host.invalid
[ "$status" -eq 1 ] || fail "resolver-failure: status $status"
grep -q '^Detailed explanation:' "$work/out" || fail "resolver-failure: no explanation"

# --- saving: CR LF line ends, the report and nothing else
expect save 0 'Default lookup result:\n\tlocalhost resolved as 127.0.0.1\n' -o "$work/saved.txt" localhost
printf 'Default lookup result:\r\n\tlocalhost resolved as 127.0.0.1' | cmp -s - "$work/saved.txt" || fail "save: file differs"

# --- a TCP lookup to a port where nothing listens
expect refused 1 'Lookup failed while connecting to server:\n\tconnection refused\n' -s "$net.203" -p 9 ab.c

# --- a saved reply decoded
python3 - "$work/reply.bin" <<'PY'
import struct, sys
message = (struct.pack(">HHHHHH", 0, 0x8180, 1, 1, 0, 0)  # header: reply, 1 question, 1 answer
           + b"\x02ab\x01c\x00" + struct.pack(">HH", 1, 1)  # question ab.c A IN
           + b"\xc0\x0c" + struct.pack(">HHIH", 1, 1, 3600, 4) + bytes([10, 0, 0, 1]))  # ab.c A 10.0.0.1
open(sys.argv[1], "wb").write(struct.pack(">H", len(message)) + message)
PY
run --decode "$work/reply.bin" -s 127.0.0.2
[ "$status" -eq 0 ] || fail "decode: status $status"
[ "$(head -n 1 "$work/out" | tr -d '\r')" = "Reply from 127.0.0.2 : 40 bytes recieved" ] || fail "decode: $(head -n 1 "$work/out")"

# --- Ctrl-C during a TCP lookup: the report of what arrived (native only:
# a console control event cannot be sent to a program under Wine from here)
if [ -z "$runner" ]; then
    here=$(cd "$(dirname "$0")" && pwd)
    port=5353
    python3 "$here/stalling_server.py" "$net.204" "$port" "$work" &
    server=$!
    trap 'kill "$server" 2>/dev/null; rm -rf "$work"' EXIT
    for _ in $(seq 50); do [ -f "$work/ready" ] && break; sleep 0.1; done
    "$cli" -s "$net.204" -p "$port" ab.c >"$work/out" 2>"$work/err" &
    client=$!
    for _ in $(seq 50); do [ -f "$work/sent" ] && break; sleep 0.1; done
    sleep 0.3
    kill -INT "$client"
    for _ in $(seq 50); do kill -0 "$client" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$client" 2>/dev/null; then
        fail "interrupt: vek-cli still running"
        kill -KILL "$client"
    fi
    wait "$client"
    status=$?
    [ "$status" -eq 0 ] || fail "interrupt: status $status"
    grep -q '^Reply from '"$net.204"' : 24 bytes recieved' "$work/out" || fail "interrupt: $(cat "$work/out")"
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
fi

[ "$failures" -eq 0 ] && echo "all vek-cli cases passed"
[ "$failures" -eq 0 ]
