"""Wine on a virtual display for the window tests: a prefix of the test's
own (a linked copy of the build's prefix, with its own registry), an Xvfb
display at VEK_TEST_DISPLAY + an offset, and every process started here
stopped by its PID at the end."""
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run.sh")
sys.path.insert(0, os.path.join(ROOT, "tests", "servers"))
import scripted_server  # noqa: E402  (the one scripted server, found by path)
from scripted_server import stop_pid  # noqa: E402


def wait_for(condition, seconds, what="a state"):
    """Polls `condition` for at most `seconds`; fails the test if it never holds."""
    assert scripted_server.wait_for(condition, seconds), "waited %.0f s in vain for %s" % (seconds, what)


class Wine:
    def __init__(self, build, name, offset):
        self.build = build
        self.processes = []
        display = int(os.environ.get("VEK_TEST_DISPLAY", "99")) + offset
        self.env = dict(os.environ, DISPLAY=":%d" % display, WINEDEBUG="-all")
        self.xvfb = self.popen(["Xvfb", ":%d" % display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"])
        scripted_server.wait_for(lambda: os.path.exists("/tmp/.X11-unix/X%d" % display)
                                 or self.xvfb.poll() is not None, 10)
        if self.xvfb.poll() is not None:
            raise RuntimeError("Xvfb could not start on display :%d" % display)
        self.env["WINEPREFIX"] = self._own_prefix(name)

    def _own_prefix(self, name):
        shared = os.path.join(self.build, "wineprefix")
        env = dict(self.env, WINEPREFIX=shared)
        subprocess.run([WINE_RUN, "cmd", "/c", "exit"], env=env, timeout=300, capture_output=True)
        # The registry files are whole once the prefix's wineserver has ended.
        subprocess.run(["wineserver", "-w"], env=env, timeout=120)
        own = os.path.join(self.build, "wineprefix-" + name)
        shutil.rmtree(own, ignore_errors=True)
        subprocess.run(["cp", "-a", "-l", shared, own], check=True)
        for reg in ("system.reg", "user.reg", "userdef.reg"):
            path = os.path.join(own, reg)
            os.unlink(path)
            shutil.copy2(os.path.join(shared, reg), path)
        return own

    def popen(self, args, **kw):
        process = subprocess.Popen(args, env=self.env, **kw)
        self.processes.append(process)
        return process

    def run(self, args, timeout=60):
        return subprocess.run([WINE_RUN] + args, env=self.env, timeout=timeout, capture_output=True)

    def close(self):
        for process in reversed(self.processes):
            stop_pid(process)
