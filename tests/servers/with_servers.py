#!/usr/bin/env python3
"""Runs a test program while scripted servers play named scripts of
scenarios.py, each on VEK_TEST_NET.HOST; they are stopped by their PIDs
when the program ends, and its exit status is ours.

    with_servers.py HOST=SCENARIO... -- PROGRAM [ARGS...]
"""
import contextlib
import os
import subprocess
import sys

import scenarios
from scripted_server import Server


def main(args):
    split = args.index("--")
    net = os.environ.get("VEK_TEST_NET", "127.0.53")
    with contextlib.ExitStack() as servers:
        for pair in args[:split]:
            host, name = pair.split("=")
            servers.enter_context(Server("%s.%s" % (net, host), scenarios.SCRIPTS[name]()))
        return subprocess.run(args[split + 1:], timeout=600).returncode


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
