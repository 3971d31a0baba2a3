"""Fixtures of the end-to-end window tests: vek.exe under Wine, worked from
outside by vek-gui-driver.exe, and scripted name servers on VEK_TEST_NET."""
import os
import select
import subprocess

import pytest

from winegui import ROOT, WINE_RUN, Wine, scripted_server, stop_pid, wait_for

NET = os.environ.get("VEK_TEST_NET", "127.0.53")
OPTIONS_KEY, RECT_KEY = r"HKCU\software\Corvane\Vek", r"HKCU\Software\Corvane\Ombrix"


def pytest_addoption(parser):
    parser.addoption("--build", default=os.path.join(ROOT, "build", "win"))


class Vek:
    """vek.exe runs and the driver that works their windows."""

    def __init__(self, wine):
        self.wine = wine
        self.process = None
        self.driver = wine.popen([WINE_RUN, os.path.join(wine.build, "vek-gui-driver.exe")],
                                 stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

    def ask(self, line, timeout=30):
        self.driver.stdin.write((line + "\n").encode("latin-1"))
        self.driver.stdin.flush()
        answer, out = b"", self.driver.stdout.fileno()
        while not answer.endswith(b"\n"):
            if not select.select([out], [], [], timeout)[0]:
                raise AssertionError("driver did not answer %r in %d s" % (line[:60], timeout))
            chunk = os.read(out, 1 << 16)
            if not chunk:
                raise AssertionError("driver ended on %r" % line[:60])
            answer += chunk
        answer = answer.decode("latin-1").rstrip("\r\n")
        assert answer == "ok" or answer.startswith("ok "), "%s -> %s" % (line[:60], answer)
        return answer[3:].encode("latin-1").decode("unicode_escape")  # the driver's \n, \r, \t, \\

    def start(self, *words):
        """Starts vek.exe with these command-line words; waits for its window."""
        self.process = self.wine.popen([WINE_RUN, os.path.join(self.wine.build, "vek.exe")] + list(words),
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.find("DNS lookup")

    def find(self, caption, seconds=60):
        self.ask("find %d %s" % (seconds * 1000, caption), timeout=seconds + 10)

    def ended(self, seconds=20):
        """Waits for the current window to go and vek.exe to end."""
        self.ask("gone %d" % (seconds * 1000), timeout=seconds + 10)
        self.process.wait(seconds)

    def text(self, cid):
        return self.ask("text %d" % cid).replace("\r\n", "\n")

    def settext(self, cid, text):
        self.ask("settext %d %s" % (cid, text))

    def post(self, cid, message, w=0, l=0):
        self.ask("post %d %d %d %d" % (cid, message, w, l))

    def send(self, cid, message, w=0, l=0):
        return int(self.ask("send %d %d %d %d" % (cid, message, w, l)))

    def click(self, cid):
        self.post(cid, 0xF5)  # BM_CLICK, posted: a modal box may follow

    def key(self, cid, vk):
        self.post(cid, 0x100, vk, 1)  # WM_KEYDOWN through the dialog's loop

    def enabled(self, cid):
        return self.ask("enabled %d" % cid) == "1"

    def wait_text(self, cid, want, seconds=30):
        wait_for(lambda: self.text(cid) == want, seconds, "%r in control %d" % (want, cid))

    def stop(self):
        for process in (self.process, self.driver):
            if process is not None:
                stop_pid(process)


@pytest.fixture(scope="session")
def wine(request):
    session = Wine(os.path.abspath(request.config.getoption("--build")), "gui", 0)
    yield session
    session.close()


def fresh_vek(wine):
    """A driver, and an empty settings store."""
    for key in (OPTIONS_KEY, RECT_KEY):
        wine.run(["reg", "delete", key, "/f"])
    return Vek(wine)


@pytest.fixture
def vek(wine):
    """vek.exe is started by the test."""
    runs = fresh_vek(wine)
    yield runs
    runs.stop()


@pytest.fixture(scope="class")
def running(wine):
    """One vek.exe for the cases that leave its window idle as they found it."""
    runs = fresh_vek(wine)
    runs.start()
    yield runs
    runs.stop()


@pytest.fixture
def shared(running):
    running.find("DNS lookup", 10)
    return running


@pytest.fixture
def server():
    """Scripted name servers on the test network, port 53 (the window asks
    no other): server(host, script)."""
    started = []
    yield lambda host, script: started.append(
        scripted_server.Server("%s.%d" % (NET, host), script, port=53, lifetime=120)) or started[-1]
    for one in started:
        one.stop()
