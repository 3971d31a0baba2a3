"""What the pytest files of tests/ share: the client under test (VEK_CLI,
a command line, e.g. "scripts/wine-run.sh build/win/vek-cli.exe"), the
loopback network (VEK_TEST_NET) and scripted servers on it."""
import os
import resource
import shlex
import signal
import subprocess
import sys
import tempfile

import pytest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "servers"))
from scripted_server import PORT, Server, stop_pid, wait_for  # noqa: E402

NET = os.environ.get("VEK_TEST_NET", "127.0.53")
SANITIZED = bool(os.environ.get("VEK_SANITIZE"))
OK, FAILED, USAGE, INCOMPLETE = 0, 1, 2, 3  # INCOMPLETE: a transfer without its closing SOA
# A resolver that cannot be reached answers quickly.
os.environ.setdefault("RES_OPTIONS", "timeout:1 attempts:1")


def address(host):
    return "%s.%d" % (NET, host)


def serve(host, script, **options):
    """A scripted server on address(host); use it in a with block."""
    return Server(address(host), script, **options)


def text(output):
    """A client's output file as latin-1 text, CR LF as LF."""
    output.seek(0)
    return output.read().decode("latin-1").replace("\r\n", "\n")


class Client:
    """The command under test: vek-cli, natively or through a wrapper."""

    def __init__(self, command):
        self.command = command

    def run(self, args, interrupt_when=None, memory_limit=None, timeout=120):
        """Runs the client with `args` (-p added for a high port). When
        `interrupt_when()` becomes true it sends SIGINT; `memory_limit`
        bounds its address space (bytes). Returns (exit status, stdout,
        stderr), the output as latin-1 text with CR LF as LF."""
        if PORT != 53 and "-p" not in args:
            args = ["-p", str(PORT)] + args
        limit = (lambda: resource.setrlimit(resource.RLIMIT_AS, (memory_limit,) * 2)) \
            if memory_limit else None
        # Output goes to files: a client that streams its report must never
        # wait for a reader.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            process = subprocess.Popen(self.command + args, stdout=out, stderr=err,
                                       preexec_fn=limit)
            try:
                if interrupt_when is not None:
                    assert wait_for(interrupt_when, 20), "the moment never came"
                    os.kill(process.pid, signal.SIGINT)
                process.wait(timeout)
            finally:
                stop_pid(process)
            out, err = text(out), text(err)
        # A sanitizer's finding fails the case whatever the exit status says.
        assert "Sanitizer" not in err and "runtime error:" not in err, err
        return process.returncode, out, err


@pytest.fixture(scope="session")
def cli():
    command = os.environ.get("VEK_CLI")
    if not command:
        pytest.fail("VEK_CLI names no client")
    return Client(shlex.split(command))
