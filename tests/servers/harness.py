"""Runs a scripted server and a client against it, and stops both by PID.

Every wait is bounded. The server is stopped by its PID when the test ends,
also when it fails; the client is stopped by its PID when it overruns."""
import argparse
import json
import os
import shlex
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
NET = os.environ.get("VEK_TEST_NET", "127.0.53")
# Port 53 needs root; elsewhere the servers take a high port and the client
# is told with -p.
PORT = 53 if os.geteuid() == 0 else 10053


def address(host):
    return "%s.%d" % (NET, host)


def wait_for(condition, seconds, step=0.02):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if condition():
            return True
        time.sleep(step)
    return condition()


def stop_pid(process, seconds=5):
    """Ends a process we started, by its PID: TERM, then KILL."""
    if process.poll() is not None:
        return
    os.kill(process.pid, signal.SIGTERM)
    try:
        process.wait(seconds)
    except subprocess.TimeoutExpired:
        os.kill(process.pid, signal.SIGKILL)
        process.wait(seconds)


class ScriptedServer:
    def __init__(self, host, script, lifetime=90, port=PORT):
        """`host`: the last number of an address under VEK_TEST_NET, or a
        whole address."""
        self.address = host if isinstance(host, str) else address(host)
        self.dir = tempfile.mkdtemp(prefix="vek-server-")
        self.ready = os.path.join(self.dir, "ready")
        self.log = os.path.join(self.dir, "log")
        script_file = os.path.join(self.dir, "script")
        with open(script_file, "w") as out:
            json.dump(script, out)
        self.process = subprocess.Popen([
            sys.executable, os.path.join(HERE, "scripted_server.py"),
            "--address", self.address, "--port", str(port),
            "--script-file", script_file, "--ready", self.ready,
            "--log", self.log, "--lifetime", str(lifetime)])

    def __enter__(self):
        if not wait_for(lambda: os.path.exists(self.ready) or self.process.poll() is not None, 10):
            raise RuntimeError("scripted server did not get ready")
        if self.process.poll() is not None:
            raise RuntimeError("scripted server ended at start: %s" % self.process.returncode)
        return self

    def __exit__(self, *exc):
        stop_pid(self.process)
        shutil.rmtree(self.dir, ignore_errors=True)

    def events(self):
        with open(self.log) as log:
            return [line.split(" ", 1)[1].rstrip("\n") for line in log if " " in line]

    def saw(self, prefix):
        return any(event.startswith(prefix) for event in self.events())

    def sees(self, prefix, seconds=5):
        """Waits, a bounded time, for an event the server logs."""
        return wait_for(lambda: self.saw(prefix), seconds)


class Client:
    """The command under test: vek-cli, natively or through a wrapper."""

    def __init__(self, command):
        self.command = command

    def run(self, args, interrupt_when=None, timeout=60, memory_limit=None):
        """Runs the client; when `interrupt_when` becomes true, sends it
        SIGINT; `memory_limit` bounds its address space (bytes). Returns the
        exit status and the standard output."""
        if PORT != 53 and "-p" not in args:
            args = ["-p", str(PORT)] + args
        def limit_memory():
            resource.setrlimit(resource.RLIMIT_AS, (memory_limit, memory_limit))

        process = subprocess.Popen(self.command + args, stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE,
                                   preexec_fn=limit_memory if memory_limit else None)
        try:
            if interrupt_when is not None:
                if not wait_for(interrupt_when, 10):
                    raise AssertionError("the moment to interrupt never came")
                time.sleep(0.2)
                os.kill(process.pid, signal.SIGINT)
            out, err = process.communicate(timeout=timeout)
        finally:
            stop_pid(process)
        if err:
            sys.stderr.write(err.decode(errors="replace"))
        # A sanitizer build's finding fails the case whatever the client's
        # exit status says.
        if b"Sanitizer" in err or b"runtime error:" in err:
            raise AssertionError("sanitizer report from the client")
        text = out.decode("latin-1").replace("\r\n", "\n")
        return process.returncode, text


def run_case(cases):
    """The command line of a case file: --cli COMMAND CASE. Runs the case
    against the client and prints its outcome; returns the exit status."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True, help="the client command, words split as a shell would")
    parser.add_argument("case", choices=sorted(cases))
    args = parser.parse_args()
    # A resolver that cannot be reached answers quickly.
    os.environ.setdefault("RES_OPTIONS", "timeout:1 attempts:1")
    try:
        cases[args.case](Client(shlex.split(args.cli)))
    except AssertionError as error:
        print("FAIL %s: %s" % (args.case, error))
        return 1
    print("ok %s" % args.case)
    return 0
