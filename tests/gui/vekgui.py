"""The window-test framework: the real vek.exe under Wine on a virtual
display (Xvfb), driven from outside by vek-gui-driver.exe.

A test script builds a Session, starts the program and talks to the driver:

    with vekgui.Session.from_args("mytest") as s:
        s.start_vek("localhost")
        s.find()
        assert s.text(IDC_TARGET) == "localhost"

Everything a session starts (Xvfb, vek.exe, the driver, servers given to
s.keep) is stopped by its PID when the session ends, also on failure. Every
wait is bounded. Displays come from VEK_TEST_DISPLAY (+ the script's offset);
loopback addresses from VEK_TEST_NET.
"""
import argparse
import os
import select
import shutil
import signal
import subprocess
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run.sh")

# Control ids of the lookup dialog (src/resources/resource.h).
IDC_TCP_LOOKUP = 1
IDC_DETAILED_ERRORS = 1000
IDC_REVERSE_QUERY = 1001
IDC_RECURSIVE = 1002
IDC_SERVER = 1037
IDC_WINSOCK_LOOKUP = 1040
IDC_SAVE = 1041
IDC_QUERY_TYPE = 1044
IDC_OUTPUT = 1045
IDC_PASTE_TARGET = 1047
IDC_ROOT_SERVER = 1048
IDC_TARGET = 1127
IDC_STATUS = 1130
IDC_ABOUT = 33774

OPTIONS_KEY = r"HKCU\Software\Corvane\Vek\Options"


def test_net():
    return os.environ.get("VEK_TEST_NET", "127.0.53")


def escape(text):
    return text.replace("\\", "\\\\").replace("\n", "\\n").replace("\r", "\\r").replace("\t", "\\t")


def unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            i += 1
            c = {"n": "\n", "r": "\r", "t": "\t"}.get(text[i], text[i])
        out.append(c)
        i += 1
    return "".join(out)


def plain(text):
    """The control's text with CR LF line ends read as LF."""
    return text.replace("\r\n", "\n")


class DriverError(AssertionError):
    pass


def stop_process(proc, grace=5.0):
    """Stops one process that we started, by its PID."""
    if proc is None or proc.poll() is not None:
        return
    try:
        proc.terminate()
        proc.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait(timeout=grace)


class Session:
    def __init__(self, name, build, display, private_prefix=False):
        self.name = name
        self.build = build
        self.display = display
        self.processes = []
        self.servers = []
        self.xvfb = self.vek = self.driver = None
        self.env = dict(os.environ)
        self.env["DISPLAY"] = ":%d" % display
        self.env["WINEDEBUG"] = "-all"
        self.env["WINEPREFIX"] = self.env.get("VEK_GUI_PREFIX") or os.path.join(build, "wineprefix")
        self.private_prefix = private_prefix
        self.shots = os.path.join(build, "gui-shots")
        os.makedirs(self.shots, exist_ok=True)

    @classmethod
    def from_args(cls, name, offset=0, private_prefix=False):
        """A session for a test script run by ctest (--build DIR --display-offset N)."""
        parser = argparse.ArgumentParser()
        parser.add_argument("--build", default=os.path.join(ROOT, "build", "win"))
        parser.add_argument("--display-offset", type=int, default=offset)
        args, _ = parser.parse_known_args()
        display = int(os.environ.get("VEK_TEST_DISPLAY", "99")) + args.display_offset
        return cls(name, os.path.abspath(args.build), display, private_prefix)

    # -- life cycle -------------------------------------------------------
    def __enter__(self):
        self.start_display()
        if self.private_prefix:
            self.env["WINEPREFIX"] = self._private_prefix()
        else:
            self.prepare_prefix(self.env["WINEPREFIX"])
        return self

    def __exit__(self, *exc):
        self.stop_all()
        return False

    def keep(self, proc):
        """Hands a process to the session, which stops it at the end."""
        self.processes.append(proc)
        return proc

    def keep_server(self, server):
        """Hands a scripted server (anything with stop()) to the session."""
        self.servers.append(server)
        return server

    def stop_all(self):
        for server in self.servers:
            server.stop()
        self.servers = []
        if self.driver is not None and self.driver.poll() is None:
            try:
                self.driver.stdin.write(b"quit\n")
                self.driver.stdin.flush()
                self.driver.wait(timeout=3)
            except (OSError, subprocess.TimeoutExpired):
                pass
        for proc in reversed(self.processes):
            stop_process(proc)
        self.processes = []
        self.vek = self.driver = self.xvfb = None

    def _private_prefix(self):
        """A prefix of this script's own (its own registry): a copy of the
        build's prefix, the large Windows folder linked rather than copied."""
        shared = os.path.join(self.build, "wineprefix")
        self.prepare_prefix(shared)
        # The registry files are complete only once the prefix's wineserver
        # has written them out and ended.
        subprocess.run(["wineserver", "-w"], env=dict(self.env, WINEPREFIX=shared), timeout=120)
        private = os.path.join(self.build, "gui-prefix-" + self.name)
        shutil.rmtree(private, ignore_errors=True)
        subprocess.run(["cp", "-a", "-l", shared, private], check=True)
        for reg in ("system.reg", "user.reg", "userdef.reg"):
            path = os.path.join(private, reg)
            if os.path.exists(path):
                os.unlink(path)
                shutil.copy2(os.path.join(shared, reg), path)
        return private

    def prepare_prefix(self, prefix):
        """Creates the Wine prefix on first use (it takes a while), before
        anything is timed."""
        if not os.path.exists(os.path.join(prefix, "system.reg")):
            self.run_wine(["cmd", "/c", "exit"], prefix=prefix, timeout=300)

    def run_wine(self, args, prefix=None, timeout=60):
        env = dict(self.env)
        if prefix:
            env["WINEPREFIX"] = prefix
        return subprocess.run([WINE_RUN] + args, env=env, timeout=timeout,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

    def start_display(self):
        sock = "/tmp/.X11-unix/X%d" % self.display
        self.xvfb = self.keep(subprocess.Popen(
            ["Xvfb", ":%d" % self.display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        for _ in range(100):
            if os.path.exists(sock) or self.xvfb.poll() is not None:
                break
            time.sleep(0.05)
        if self.xvfb.poll() is not None:
            raise RuntimeError("Xvfb could not start on display :%d" % self.display)

    def set_option(self, name, value):
        """Writes an option to the registry before vek.exe starts."""
        kind = "REG_DWORD" if isinstance(value, int) else "REG_SZ"
        self.run_wine(["reg", "add", OPTIONS_KEY, "/v", name, "/t", kind, "/d", str(value), "/f"])

    def delete_options(self):
        self.run_wine(["reg", "delete", OPTIONS_KEY, "/f"])

    def start_vek(self, *args):
        """Starts vek.exe with the given command-line words and a driver."""
        exe = os.path.join(self.build, "vek.exe")
        self.vek = self.keep(subprocess.Popen([WINE_RUN, exe] + list(args), env=self.env,
                                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        self.start_driver()
        return self.vek

    def start_driver(self):
        """Starts the driver (once), also before vek.exe, for its registry commands."""
        if self.driver is None:
            self.driver = self.keep(subprocess.Popen(
                [WINE_RUN, os.path.join(self.build, "vek-gui-driver.exe")], env=self.env,
                stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL))

    def vek_exited(self, timeout):
        """True when vek.exe ends within the time (seconds)."""
        try:
            self.vek.wait(timeout=timeout)
            return True
        except subprocess.TimeoutExpired:
            return False

    def screenshot(self, label):
        path = os.path.join(self.shots, "%s-%s.png" % (self.name, label))
        subprocess.run(["import", "-display", ":%d" % self.display, "-window", "root", path],
                       timeout=30, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path

    # -- the driver -------------------------------------------------------
    def ask(self, line, timeout=30.0):
        """Sends one command; returns the answer's value; raises on error."""
        self.driver.stdin.write((line + "\n").encode("latin-1"))
        self.driver.stdin.flush()
        out = self.driver.stdout
        answer = b""
        deadline = time.monotonic() + timeout
        while not answer.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([out], [], [], left)[0]:
                raise DriverError("driver did not answer %r in %.0f s" % (line[:80], timeout))
            chunk = os.read(out.fileno(), 1 << 20)
            if not chunk:
                raise DriverError("driver ended on %r" % line[:80])
            answer += chunk
        answer = answer.decode("latin-1").rstrip("\r\n")
        if answer == "ok":
            return ""
        if answer.startswith("ok "):
            return answer[3:]
        raise DriverError("%s -> %s" % (line[:80], answer))

    def find(self, ms=60000):
        return unescape(self.ask("find %d" % ms, timeout=ms / 1000 + 10))

    def text(self, cid):
        return unescape(self.ask("text %d" % cid))

    def settext(self, cid, value):
        self.ask("settext %d %s" % (cid, escape(value)))

    def click(self, cid):
        self.ask("click %d" % cid)

    def command(self, cid):
        self.ask("command %d" % cid)

    def key(self, cid, name):
        self.ask("key %d %s" % (cid, name))

    def enabled(self, cid):
        return self.ask("enabled %d" % cid) == "1"

    def visible(self, cid):
        return self.ask("visible %d" % cid) == "1"

    def style(self, cid):
        return int(self.ask("style %d" % cid))

    def exstyle(self, cid):
        return int(self.ask("exstyle %d" % cid))

    def window_class(self, cid):
        return self.ask("class %d" % cid)

    def rect(self, cid):
        return [int(v) for v in self.ask("rect %d" % cid).split()]

    def list_lines(self, cid):
        return unescape(self.ask("list %d" % cid)).split("\n")

    def select(self, cid, line):
        self.ask("select %d %d" % (cid, line))

    def watch(self, cid, stop_id, stop_text, ms=30000):
        """The successive states (text head, enabled) of control cid until
        control stop_id shows stop_text."""
        answer = self.ask("watch %d %d %d %s" % (cid, ms, stop_id, escape(stop_text)), timeout=ms / 1000 + 10)
        states = []
        for line in unescape(answer).split("\n"):
            text, _, flag = line.rpartition("|")
            states.append((text, flag == "1"))
        return states

    def selected(self, cid):
        return int(self.ask("selected %d" % cid))

    def children(self):
        return [int(v) for v in self.ask("children 0").split()]

    def wait_text(self, cid, value, ms=30000):
        self.ask("waittext %d %d %s" % (cid, ms, escape(value)), timeout=ms / 1000 + 10)

    def wait_prefix(self, cid, value, ms=30000):
        self.ask("waitprefix %d %d %s" % (cid, ms, escape(value)), timeout=ms / 1000 + 10)

    def wait_enabled(self, cid, want=True, ms=30000):
        deadline = time.monotonic() + ms / 1000
        while self.enabled(cid) != want:
            if time.monotonic() > deadline:
                raise AssertionError("control %d enabled is not %s" % (cid, want))
            time.sleep(0.05)

    def close(self):
        self.ask("close 0")

    def gone(self, ms=10000):
        self.ask("gone %d" % ms, timeout=ms / 1000 + 10)

    def template(self, tid):
        """The dialog template tid of vek.exe: the dialog's line, then one
        line per control, fields separated by |."""
        exe = os.path.join(self.build, "vek.exe")
        return [line.split("|") for line in unescape(self.ask("template %s %d" % (exe, tid))).split("\n")]

    def load_string(self, sid):
        exe = os.path.join(self.build, "vek.exe")
        return unescape(self.ask("loadstring %s %d" % (exe, sid)))


_registered = []


def case(function):
    """Marks a test function of a script as one of its cases, in order."""
    _registered.append(function)
    return function


def run_cases(session_factory, cases):
    """Runs each case (a function taking a fresh Session); prints one line per
    case and exits non-zero when any failed. VEK_GUI_CASES (names, comma
    separated) runs only those."""
    only = [n for n in os.environ.get("VEK_GUI_CASES", "").split(",") if n]
    failed = []
    for case in cases:
        if only and case.__name__ not in only:
            continue
        start = time.monotonic()
        try:
            with session_factory() as s:
                try:
                    case(s)
                except BaseException:
                    if s.xvfb is not None:
                        s.screenshot(case.__name__ + "-failed")
                    raise
            print("PASS %s (%.1f s)" % (case.__name__, time.monotonic() - start), flush=True)
        except Exception:
            failed.append(case.__name__)
            print("FAIL %s" % case.__name__, flush=True)
            traceback.print_exc()
    if failed:
        print("failed: " + ", ".join(failed))
        sys.exit(1)


def main_for(name, offset, cases=None, private_prefix=False):
    """Runs a script's cases (by default those marked with @case)."""
    signal.signal(signal.SIGTERM, lambda *a: sys.exit(1))
    run_cases(lambda: Session.from_args(name, offset, private_prefix),
              _registered if cases is None else cases)
