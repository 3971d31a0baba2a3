"""Starts BIND 9 and Knot DNS on loopback addresses, port 53, with
configurations and zone files of their own in a scratch folder, and stops
them by PID."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "servers"))
from harness import stop_pid, wait_for  # noqa: E402

import zones  # noqa: E402

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
};
controls { };
zone "%(types)s" { type primary; file "%(dir)s/types.zone"; };
zone "%(big)s" { type primary; file "%(dir)s/big.zone"; };
"""

KNOT_CONF = """server:
    rundir: "%(dir)s"
    listen: %(address)s@53
log:
  - target: stderr
    any: warning
database:
    storage: "%(dir)s"
acl:
  - id: transfer
    address: 127.0.0.0/8
    action: transfer
template:
  - id: default
    storage: "%(dir)s"
    acl: transfer
zone:
  - domain: %(types)s
    file: "%(dir)s/types.zone"
  - domain: %(big)s
    file: "%(dir)s/big.zone"
"""


class NameServer:
    """kind: "bind" or "knot"."""

    def __init__(self, kind, address, directory):
        self.kind, self.address, self.dir = kind, address, directory
        self.process = None

    def __enter__(self):
        os.makedirs(self.dir, exist_ok=True)
        all_types = self.kind == "knot"  # BIND refuses MD and MF
        self.write("types.zone", zones.zone_file(zones.types_records(all_types)))
        self.write("big.zone", zones.zone_file(zones.big_records()))
        values = {"dir": self.dir, "address": self.address,
                  "types": zones.TYPES_ZONE, "big": zones.BIG_ZONE}
        if self.kind == "bind":
            # BIND listens only on addresses that an interface has.
            subprocess.run(["ip", "addr", "add", self.address + "/8", "dev", "lo"],
                           stderr=subprocess.DEVNULL)
            conf = self.write("named.conf", BIND_CONF % values)
            command = ["named", "-g", "-4", "-c", conf]
        else:
            conf = self.write("knot.conf", KNOT_CONF % values)
            command = ["knotd", "-c", conf]
        return self.start(command, self.answers)

    def start(self, command, ready):
        """Runs the server's command, logging to its folder, until ready()."""
        self.log = open(os.path.join(self.dir, self.kind + ".log"), "w")
        self.process = subprocess.Popen(command, stdout=self.log, stderr=subprocess.STDOUT)
        if not wait_for(ready, 30, step=0.2) or self.process.poll() is not None:
            self.__exit__()
            raise RuntimeError("%s did not come up; its log:\n%s" % (self.kind, self.log_text()))
        return self

    def __exit__(self, *exc):
        if self.process:
            stop_pid(self.process, 10)
        self.log.close()

    def write(self, name, text):
        path = os.path.join(self.dir, name)
        with open(path, "w") as out:
            out.write(text)
        return path

    def log_text(self):
        with open(os.path.join(self.dir, self.kind + ".log")) as log:
            return log.read()[-3000:]

    def answers(self):
        if self.process.poll() is not None:
            return True  # ended: the caller sees no answer and reports
        for zone in (zones.TYPES_ZONE, zones.BIG_ZONE):
            if "status: NOERROR" not in kdig(self.address, zone, "SOA"):
                return False
        return True


def kdig(address, name, qtype, *options):
    """kdig over TCP, without EDNS, so that it asks what vek-cli asks."""
    result = subprocess.run(
        ["kdig", "@" + address, "+tcp", "+noedns", "+time=2", "+retry=0"] + list(options)
        + [name, "TYPE%d" % zones.TYPE_CODES[qtype] if qtype != "AXFR" else "AXFR"],
        stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=60)
    return result.stdout.decode(errors="replace")
