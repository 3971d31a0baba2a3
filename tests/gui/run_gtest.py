#!/usr/bin/env python3
"""Runs a GoogleTest program of the Windows build under Wine, on a display
and in a prefix of its own: run_gtest.py --build DIR --offset N NAME.exe"""
import argparse
import os
import sys

from winegui import Wine

parser = argparse.ArgumentParser()
parser.add_argument("--build", required=True)
parser.add_argument("--offset", type=int, required=True)
parser.add_argument("exe")
args = parser.parse_args()
wine = Wine(args.build, os.path.splitext(args.exe)[0], args.offset)
try:
    done = wine.run([os.path.join(args.build, args.exe)], timeout=240)
    sys.stdout.write(done.stdout.decode("latin-1"))
    sys.exit(done.returncode)
finally:
    wine.close()
