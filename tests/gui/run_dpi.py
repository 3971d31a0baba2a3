#!/usr/bin/env python3
"""Runs vek-dpi-tests.exe under Wine at the resolution --dpi names (Wine's
LogPixels setting), in a prefix and on a display of its own. The test keeps
a picture of the lookup window, build/gui-shots/dpi-DPI.png."""
import argparse
import os
import subprocess
import sys

import vekgui

HERE = os.path.dirname(os.path.abspath(__file__))
REPORT = os.path.join(HERE, "..", "data", "bind-axfr.report")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dpi", type=int, required=True)
    args, _ = parser.parse_known_args()
    with vekgui.Session.from_args("dpi-%d" % args.dpi, 20, private_prefix=True) as s:
        s.run_wine(["reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                    "/t", "REG_DWORD", "/d", str(args.dpi), "/f"])
        bmp = os.path.join(s.shots, "dpi-%d.bmp" % args.dpi)
        s.env.update(VEK_TEST_DPI=str(args.dpi), VEK_DPI_SHOT="Z:" + bmp,
                     VEK_DPI_REPORT="Z:" + os.path.abspath(REPORT))
        done = s.run_wine([os.path.join(s.build, "vek-dpi-tests.exe")], timeout=240)
        sys.stdout.write(done.stdout.decode("latin-1"))
        if os.path.exists(bmp):
            subprocess.run(["convert", bmp, bmp[:-4] + ".png"], timeout=60)
            os.unlink(bmp)
        return done.returncode


if __name__ == "__main__":
    sys.exit(main())
