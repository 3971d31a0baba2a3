#!/usr/bin/env python3
"""Runs a GoogleTest program of the Windows build under Wine at --dpi dots
per inch (Wine's LogPixels setting), on a display and in a prefix of its own:
run_gtest.py --build DIR --offset N --dpi D NAME.exe [ARGUMENTS...]"""
import argparse
import os
import sys

from winegui import Wine

parser = argparse.ArgumentParser()
parser.add_argument("--build", required=True)
parser.add_argument("--offset", type=int, required=True)
parser.add_argument("--dpi", type=int, default=96)
parser.add_argument("exe")
args, rest = parser.parse_known_args()
wine = Wine(args.build, "%s-%d" % (os.path.splitext(args.exe)[0], args.dpi), args.offset)
try:
    wine.run(["reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
              "/d", str(args.dpi), "/f"])
    wine.env["VEK_TEST_DPI"] = str(args.dpi)
    done = wine.run([os.path.join(args.build, args.exe)] + rest, timeout=240)
    sys.stdout.write(done.stdout.decode("latin-1"))
    sys.exit(done.returncode)
finally:
    wine.close()
