#!/usr/bin/env python3
"""Runs one of the GoogleTest suites of the Windows build (--exe NAME.exe)
under Wine, in a prefix of its own, on a display of its own."""
import argparse
import os
import sys

import vekgui


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    args, _ = parser.parse_known_args()
    name = os.path.splitext(args.exe)[0]
    with vekgui.Session.from_args(name, 9, private_prefix=True) as s:
        done = s.run_wine([os.path.join(s.build, args.exe)], timeout=240)
        sys.stdout.write(done.stdout.decode("latin-1"))
        return done.returncode


if __name__ == "__main__":
    sys.exit(main())
