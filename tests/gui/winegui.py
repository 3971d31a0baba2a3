"""Wine on a virtual display for the window tests: a prefix of the test's
own (a linked copy of the build's prefix, with its own registry), an Xvfb
display at VEK_TEST_DISPLAY + an offset, and every process started here
stopped by its PID at the end."""
import os
import shutil
import subprocess
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run.sh")


def wait_for(condition, seconds, what="a state"):
    """Polls `condition` until it is true, for at most `seconds`."""
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("waited %.0f s in vain for %s" % (seconds, what))
        time.sleep(0.02)


def stop(process, grace=5):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(grace)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait(grace)


class Wine:
    def __init__(self, build, name, offset):
        self.build = build
        self.processes = []
        display = int(os.environ.get("VEK_TEST_DISPLAY", "99")) + offset
        self.env = dict(os.environ, DISPLAY=":%d" % display, WINEDEBUG="-all")
        self.xvfb = self.popen(["Xvfb", ":%d" % display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"])
        wait_for(lambda: os.path.exists("/tmp/.X11-unix/X%d" % display) or self.xvfb.poll() is not None,
                 10, "the display")
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
            stop(process)
