"""vek-cli against the signed-transfer server: every spoiled stream is
caught and named, a sound one verifies, and a transfer cut short ends with
status 3 and keeps what arrived. VEK_CLI names the program (and a runner)."""
import base64
import os
import shlex
import subprocess
import tempfile

import pytest

from conftest import address
from scripted_server import stop_pid, wait_for

SECRET = base64.b64encode(b"signed-transfer-test-secret-0123").decode()
PORT = 5300

WINE = pytest.mark.wine
CASES = [
    # mode, exit status, piece of standard error, zone lines printed
    pytest.param("good", 0, "TSIG verified with key tk (12 messages)", 49, marks=WINE),
    ("sparse", 0, "TSIG verified with key tk (101 messages)", 405),
    pytest.param("alter5", 1, "MAC does not match in message 5", 0, marks=WINE),
    ("unsigned_first", 1, "the first message is not signed", 0),
    ("unsigned_100", 1, "more than 99 unsigned messages in a row (messages 2 to 101)", 0),
    ("cut10", 3, "ended without its closing SOA after 10 messages", 41),
    ("stale", 1, "time outside the fudge in message 1 (signed 10", 0),
]


@pytest.mark.timeout(60)
@pytest.mark.parametrize("mode,status,said,lines", CASES)
def test_signed_stream(mode, status, said, lines):
    host = address(31)
    folder = tempfile.mkdtemp(prefix="vek-tsig-")
    ready = os.path.join(folder, "ready")
    server = subprocess.Popen([
        "/usr/bin/python3", os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                         "signed_transfer.py"),
        "--address", host, "--port", str(PORT), "--mode", mode, "--key", "tk:" + SECRET,
        "--ready", ready, "--lifetime", "30"])
    try:
        assert wait_for(lambda: os.path.exists(ready) or server.poll() is not None, 10)
        run = subprocess.run(shlex.split(os.environ["VEK_CLI"]) + [
            "-s", host, "-p", str(PORT), "-t", "AXFR", "-y", "tk:" + SECRET, "--zone",
            "signed.zt"], stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=45)
    finally:
        stop_pid(server)
    err = run.stderr.decode()
    assert run.returncode == status, err
    assert said in err
    assert SECRET not in err + run.stdout.decode()
    assert run.stdout.decode().count("\n") == lines
