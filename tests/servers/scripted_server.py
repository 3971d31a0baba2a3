#!/usr/bin/env python3
"""A scripted name server on TCP, for the tests that need a server to
misbehave on cue. It listens on one address and port and carries out a
script, one connection after another; DATA is bytes (hex in a script file):

  ["accept"]              wait for the next connection (at most 60 s)
  ["read_query"]          read one length-prefixed message (at most 30 s)
  ["send", DATA]          send these bytes
  ["repeat", DATA, N]     send them N times, logging "repeated N" after the Nth
  ["send_file", PATH]     send the bytes of this file, logging "sent N" (a
                          recorded stream too large to write into a script)
  ["trickle", DATA, S]    send them a byte at a time, S seconds apart,
                          logging "trickled N" after the Nth
  ["loop", N, [ACTIONS]]  carry out the nested actions N times
  ["pause", S]            let S seconds pass: what follows is a chunk of its own
  ["hold", S]             read and drop until the client closes ("closed by
                          client") or S seconds pass ("hold over")
  ["signed", MODE, KEY]   answer the query read last with a zone transfer
                          signed with KEY (NAME:SECRET, hmac-sha256) and
                          spoiled as MODE says (see signed_stream)
  ["close"] / ["reset"]   close the connection with FIN / with RST

It logs what it saw, one event a line, and ends when the script is done or
its lifetime is over. From Python:
    with scripted_server.Server(address, script) as server:
        server.pid, server.port, server.sees("query"), server.events()
"""
import argparse
import json
import os
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time

import dns.flags
import dns.message
import dns.rrset
import dns.tsigkeyring

# Port 53 needs root; elsewhere the client is told the high port with -p.
PORT = 53 if os.geteuid() == 0 else 10053
SERVE = [["accept"], ["read_query"]]  # how every script starts
# Longer than any lookup may take: a client that waited for the server to
# end a held connection would see it end first.
HOLD = 60


def wait_for(condition, seconds, step=0.02):
    """Polls `condition` until it holds or `seconds` have passed."""
    end = time.monotonic() + seconds
    while time.monotonic() < end and not condition():
        time.sleep(step)
    return condition()


def stop_pid(process, seconds=5):
    """Ends a process we started, by its PID: TERM, then KILL."""
    if process.poll() is None:
        os.kill(process.pid, signal.SIGTERM)
        try:
            process.wait(seconds)
        except subprocess.TimeoutExpired:
            os.kill(process.pid, signal.SIGKILL)
            process.wait(seconds)


def signed_stream(query, mode):
    """The messages of a transfer of signed.zt answering `query`, signed with
    its key and spoiled as `mode` says: good; sparse (messages 2 to 100 of
    101 unsigned); alter5 (a byte of message 5 altered after signing);
    unsigned_first; unsigned_100 (messages 2 to 101 of 102 unsigned); cut10
    (ten of twelve sent); stale (the caller turns the clock back)."""
    count = {"sparse": 101, "unsigned_100": 102}.get(mode, 12)
    unsigned = {"unsigned_first": [1], "sparse": range(2, count),
                "unsigned_100": range(2, count)}.get(mode, [])
    soa = [dns.rrset.from_text("signed.zt.", 300, "IN", "SOA",
                               "ns.signed.zt. admin.signed.zt. 7 3600 600 86400 300")]
    context = None
    for index in range(1, (10 if mode == "cut10" else count) + 1):
        reply = dns.message.make_response(query) if index == 1 else dns.message.Message(query.id)
        reply.flags |= dns.flags.QR | dns.flags.AA
        reply.answer = (soa if index == 1 else []) + [
            dns.rrset.from_text("h%d-%d.signed.zt." % (index, n), 300, "IN", "A",
                                "10.0.%d.%d" % (index, n)) for n in range(4)] + (
            soa if index == count else [])
        if index in unsigned:
            reply.keyring = reply.tsig = None  # what make_response took over from the query
            wire = reply.to_wire()
            if context:
                context.update(wire)
        else:
            if index > 1:
                reply.use_tsig(query.keyring, query.keyname)
            wire = reply.to_wire(multi=True, tsig_ctx=context)
            context = reply.tsig_ctx
        if mode == "alter5" and index == 5:
            at = wire.find(bytes([10, 0, 5, 2])) + 3
            wire = wire[:at] + bytes([wire[at] ^ 1]) + wire[at + 1:]
        yield struct.pack("!H", len(wire)) + wire


def as_json(actions):
    return [as_json(x) if isinstance(x, list) else x.hex() if isinstance(x, bytes) else x
            for x in actions]


class Server:
    """A running server process; `address` and `port` are where it listens.
    Leaving the with block, or stop(), ends it by its PID."""

    def __init__(self, address, script, port=PORT, lifetime=90):
        self.address, self.port = address, port
        self.dir = tempfile.mkdtemp(prefix="vek-server-")
        self.ready, self.log = os.path.join(self.dir, "ready"), os.path.join(self.dir, "log")
        with open(os.path.join(self.dir, "script"), "w") as out:
            json.dump(as_json(script), out)
        self.process = subprocess.Popen([
            sys.executable, os.path.abspath(__file__), "--address", address, "--port", str(port),
            "--script-file", out.name, "--ready", self.ready, "--log", self.log,
            "--lifetime", str(lifetime)])
        self.pid = self.process.pid
        wait_for(lambda: os.path.exists(self.ready) or self.process.poll() is not None, 10)
        if not os.path.exists(self.ready):
            self.stop()
            raise RuntimeError("scripted server on %s did not start" % address)

    def stop(self):
        stop_pid(self.process)
        shutil.rmtree(self.dir, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()

    def events(self):
        with open(self.log) as log:
            return [line.split(" ", 1)[1].rstrip("\n") for line in log if " " in line]

    def saw(self, prefix):
        return any(event.startswith(prefix) for event in self.events())

    def sees(self, prefix, seconds=5):
        """Waits, a bounded time, for an event the server logs."""
        return wait_for(lambda: self.saw(prefix), seconds)


class Script:
    def __init__(self, listener, log, deadline):
        self.listener, self.log, self.deadline = listener, log, deadline
        self.conn, self.start = None, time.monotonic()

    def event(self, text):
        self.log.write("%.3f %s\n" % (time.monotonic() - self.start, text))
        self.log.flush()

    def do_loop(self, count, actions):
        for _ in range(count):
            for action in actions:
                if time.monotonic() > self.deadline:
                    return
                getattr(self, "do_" + action[0])(*action[1:])

    def do_accept(self):
        self.listener.settimeout(60)  # a client under Wine may be slow to start
        self.conn, _ = self.listener.accept()
        self.event("accepted")

    def read_exactly(self, count):
        data = b""
        while len(data) < count and (chunk := self.conn.recv(count - len(data))):
            data += chunk
        return data

    def do_read_query(self):
        """A client that resets is logged; the next connection is still served."""
        self.conn.settimeout(30)
        try:
            prefix = self.read_exactly(2)
            body = self.read_exactly(struct.unpack("!H", prefix)[0] if len(prefix) == 2 else 0)
        except OSError as error:
            return self.event("query not read: %s" % error)
        self.query = body
        self.event("query %s" % (prefix + body).hex())

    def send(self, data, count=1, step=None):
        """Sends `data` `count` times, logging `step` N after the Nth;
        False once the client has gone."""
        for sent in range(1, count + 1):
            try:
                self.conn.sendall(data)
            except OSError as error:
                self.event("send failed: %s" % error.strerror)
                return False
            if step:
                self.event("%s %d" % (step, sent))
            if time.monotonic() > self.deadline:
                break
        return True

    def do_send(self, data):
        self.send(bytes.fromhex(data))

    def do_send_file(self, path):
        with open(path, "rb") as stream:
            try:
                sent = self.conn.sendfile(stream)
            except OSError as error:
                return self.event("send failed: %s" % error.strerror)
        self.event("sent %d" % sent)

    def do_repeat(self, data, count):
        self.send(bytes.fromhex(data), count, "repeated")

    def do_trickle(self, data, seconds):
        for count, byte in enumerate(bytes.fromhex(data), 1):
            if not self.send(bytes([byte])):
                return
            self.event("trickled %d" % count)
            time.sleep(seconds)

    def do_signed(self, mode, key):
        keyring = dns.tsigkeyring.from_text(dict([key.split(":", 1)]))  # hmac-sha256
        query = dns.message.from_wire(self.query, keyring=keyring)
        if mode == "stale":
            clock = time.time
            time.time = lambda: clock() - 1000  # dnspython signs with time.time()
        all(self.send(framed) for framed in signed_stream(query, mode))

    def do_pause(self, seconds):
        time.sleep(seconds)

    def do_hold(self, seconds):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            self.conn.settimeout(max(0.01, end - time.monotonic()))
            try:
                if not self.conn.recv(65536):
                    return self.event("closed by client")
            except socket.timeout:
                break
            except OSError as error:
                return self.event("closed by client: %s" % error.strerror)
        self.event("hold over")

    def do_close(self):
        self.conn.close()
        self.event("closed")

    def do_reset(self):
        self.conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        self.conn.close()
        self.event("reset")


def main():
    parser = argparse.ArgumentParser()
    for option in ("--address", "--script-file", "--ready", "--log"):
        parser.add_argument(option, required=True)
    parser.add_argument("--port", type=int, default=PORT)
    parser.add_argument("--lifetime", type=float, default=90)
    args = parser.parse_args()
    with open(args.script_file) as text:
        script = json.load(text)
    listener = socket.socket(socket.AF_INET6 if ":" in args.address else socket.AF_INET)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind((args.address, args.port))
    listener.listen(4)
    with open(args.log, "w") as log:
        open(args.ready, "w").close()
        script_run = Script(listener, log, time.monotonic() + args.lifetime)
        try:
            script_run.do_loop(1, script)
            script_run.event("script done" if time.monotonic() < script_run.deadline
                             else "lifetime over")
        except OSError as error:
            script_run.event("error: %s" % error)


if __name__ == "__main__":
    main()
