#!/usr/bin/env python3
"""Runs the settings store's GoogleTest suite (vek-settings-store-tests.exe)
under Wine, in a prefix of its own, on a display of its own."""
import os
import sys

import vekgui


def main():
    with vekgui.Session.from_args("settings-store-rules", 9, private_prefix=True) as s:
        exe = os.path.join(s.build, "vek-settings-store-tests.exe")
        done = s.run_wine([exe], timeout=240)
        sys.stdout.write(done.stdout.decode("latin-1"))
        return done.returncode


if __name__ == "__main__":
    sys.exit(main())
