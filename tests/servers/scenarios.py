#!/usr/bin/env python3
"""Runs a GoogleTest program while scripted servers play the named scripts
below, each on VEK_TEST_NET.HOST; they are stopped by their PIDs when the
program ends, and its exit status is ours.

    scenarios.py HOST=SCENARIO... -- PROGRAM [ARGS...]
"""
import contextlib
import os
import struct
import subprocess
import sys

from messages import ANSWER, a, message, raw_answer, raw_record
from scripted_server import SERVE, Server



def silent():
    return SERVE + [["hold", 20]]


# Zone zt: an opening message (SOA and a.zt) and messages of one address.
OPENING = message(["zt. 3600 SOA . . 1 7200 900 86400 300", a("a.zt.", 60, "10.0.0.1")])
ONE_ADDRESS = message([a("a.zt.", 60, "10.0.0.1")])


def trickled_transfers():
    """Six transfers, each the opening message and 40 more a moment apart."""
    trickle = [["send", OPENING]] + [["pause", 0.01], ["send", ONE_ADDRESS]] * 40
    return [["loop", 6, SERVE + trickle + [["hold", 5]]]]


CYCLE = [
    message([a("x.zt.", 60, "10.0.0.1")], ("x.zt", "A"), ANSWER),    # a good answer
    raw_answer([raw_record(5, b"\x01a" + struct.pack("!H", 0xC022))]),  # a name that loops
    raw_answer([raw_record(10, b"\x01\x02", rdlength=0xFFFF)] * 2),  # RDLENGTH past the end
    b"\xff\xff\x00\x00\x85",                                         # a header cut short
    b"",                                                             # nothing at all
]


def thousand_lookups():
    """1,000 connections, cycling through CYCLE, each closed after its reply."""
    cycle = [x for reply in CYCLE for x in SERVE + [["send", reply], ["close"]]]
    return [["loop", 1000 // len(CYCLE), cycle]]


SCRIPTS = {f.__name__: f for f in (silent, trickled_transfers, thousand_lookups)}


def main(args):
    split = args.index("--")
    net = os.environ.get("VEK_TEST_NET", "127.0.53")
    with contextlib.ExitStack() as servers:
        for pair in args[:split]:
            host, name = pair.split("=")
            servers.enter_context(Server("%s.%s" % (net, host), SCRIPTS[name]()))
        return subprocess.run(args[split + 1:], timeout=600).returncode


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
