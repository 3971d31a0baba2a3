#!/usr/bin/env python3
"""BIND 9 and Knot DNS for the tests, the reply capture and the benchmark:
the one writer of their configurations, and a server started and stopped
by its PID.

    name_servers.py bind|knot DIR ADDRESS ZONE=FILE...

writes DIR/named.conf or DIR/knot.conf for primary zones on ADDRESS, port 53,
and prints the command that starts the server in the foreground."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "servers"))
from scripted_server import stop_pid, wait_for  # noqa: E402

# One worker each and no journal: a server that spends no time on what the
# tests and the benchmark never ask of it.
BIND_CONF = """options {
    directory "%(dir)s";
    pid-file "%(dir)s/named.pid";
    session-keyfile "%(dir)s/session.key";
    listen-on port 53 { %(address)s; };
    listen-on-v6 { none; };
    recursion no;
    allow-transfer { any; };
    notify no;
    dnssec-validation no;
    check-integrity no;
    check-names primary ignore;
};
controls { };
"""
BIND_ZONE = 'zone "%s" { type primary; file "%s"; };\n'
# Knot's listening addresses, its transfer rule and any sections before it
# are the caller's to change (see write_config).
KNOT_CONF = """server:
    rundir: "%(dir)s"
    listen: %(listen)s
    tcp-workers: 1
    udp-workers: 1
    background-workers: 1
log:
  - target: stderr
    any: warning
database:
    storage: "%(dir)s/db"
%(sections)sacl:
  - id: transfer
    %(allow)s
    action: transfer
template:
  - id: default
    storage: "%(dir)s"
    journal-content: none
    zonefile-sync: -1
    acl: transfer
zone:
"""
KNOT_ZONE = '  - domain: %s\n    file: "%s"\n'


def write_config(kind, directory, address, zones, **knot):
    """Writes the configuration for `zones` ({name: zone file}); returns the
    command that starts the server in the foreground. Knot's `listen`,
    `allow` (who may transfer) and `sections` may be given in `knot`."""
    values = dict({"dir": directory, "address": address, "listen": address + "@53",
                   "allow": "address: 127.0.0.0/8", "sections": ""}, **knot)
    if kind == "bind":
        text = BIND_CONF % values + "".join(BIND_ZONE % z for z in zones.items())
        path, command = "named.conf", ["named", "-g", "-4", "-n", "1", "-c"]
    else:
        text = KNOT_CONF % values + "".join(KNOT_ZONE % z for z in zones.items())
        path, command = "knot.conf", ["knotd", "-c"]
    path = os.path.join(directory, path)
    with open(path, "w") as out:
        out.write(text)
    return command + [path]


def kdig(address, name, qtype, *options):
    """kdig over TCP, without EDNS, as vek-cli asks."""
    return subprocess.run(["kdig", "@" + address, "+tcp", "+noedns", "+time=2", "+retry=0"]
                          + list(options) + [name, qtype], stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, timeout=60).stdout.decode(errors="replace")


class NameServer:
    """A server of `kind` ("bind" or "knot") on `address`, serving `zones`
    ({name: zone file}) from `directory`; ready once it answers for each.
    A server with a configuration of its own overrides `command` (and
    `answers`, when being ready means more)."""

    def __init__(self, kind, address, directory, zones):
        self.kind, self.address, self.dir, self.zones = kind, address, directory, zones
        if kind == "bind":  # BIND listens only on addresses that an interface has
            subprocess.run(["ip", "addr", "add", address + "/8", "dev", "lo"],
                           stderr=subprocess.DEVNULL)
        self.log_path = os.path.join(directory, kind + ".log")
        with open(self.log_path, "w") as log:
            self.process = subprocess.Popen(self.command(), stdout=log, stderr=subprocess.STDOUT)
        if not wait_for(self.answers, 60, step=0.1) or self.process.poll() is not None:
            self.stop()
            with open(self.log_path) as log:
                raise RuntimeError("%s did not come up:\n%s" % (kind, log.read()[-3000:]))

    def command(self):
        return write_config(self.kind, self.dir, self.address, self.zones)

    def answers(self):
        return self.process.poll() is not None or all(
            "status: NOERROR" in kdig(self.address, zone, "SOA") for zone in self.zones)

    def stop(self):
        stop_pid(self.process, 10)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


def main():
    kind, directory, address = sys.argv[1:4]
    zones = dict(arg.split("=", 1) for arg in sys.argv[4:])
    print(" ".join(write_config(kind, directory, address, zones)))


if __name__ == "__main__":
    main()
