#!/usr/bin/env python3
"""Runs vek-dpi-tests.exe under Wine at the resolution --dpi names (Wine's
LogPixels setting), in a prefix and on a display of its own, and takes a
picture of the screen while the test shows a report in the lookup window:
build/gui-shots/dpi-DPI.png."""
import argparse
import os
import shutil
import subprocess
import sys
import time

import vekgui

HERE = os.path.dirname(os.path.abspath(__file__))
REPORT = os.path.join(HERE, "..", "data", "bind-axfr.report")


def take_picture(s, folder, path, test, bound=120.0):
    """Waits (bounded) for the test's "shown", takes the picture, answers "taken"."""
    end = time.monotonic() + bound
    while not os.path.exists(os.path.join(folder, "shown")):
        if test.poll() is not None or time.monotonic() > end:
            return
        time.sleep(0.05)
    subprocess.run(["import", "-display", ":%d" % s.display, "-window", "root", path],
                   timeout=30, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    open(os.path.join(folder, "taken"), "w").close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dpi", type=int, required=True)
    args, _ = parser.parse_known_args()
    with vekgui.Session.from_args("dpi-%d" % args.dpi, 20, private_prefix=True) as s:
        s.run_wine(["reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                    "/t", "REG_DWORD", "/d", str(args.dpi), "/f"])
        folder = os.path.join(s.build, "gui-dpi-%d" % args.dpi)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        env = dict(s.env, VEK_TEST_DPI=str(args.dpi), VEK_DPI_SHOT="Z:" + folder,
                   VEK_DPI_REPORT="Z:" + os.path.abspath(REPORT))
        test = s.keep(subprocess.Popen([vekgui.WINE_RUN, os.path.join(s.build, "vek-dpi-tests.exe")],
                                       env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL))
        take_picture(s, folder, os.path.join(s.shots, "dpi-%d.png" % args.dpi), test)
        out, _ = test.communicate(timeout=240)
        sys.stdout.write(out.decode("latin-1"))
        return test.returncode


if __name__ == "__main__":
    sys.exit(main())
