"""Knot DNS and BIND 9 serving zones whose transfers need a TSIG key (Knot
an hmac-sha256 key from keymgr -t, BIND an hmac-sha512 key from
tsig-keygen), each on its own address under VEK_TEST_NET, port 53; Knot
also on ::1 at port 5365. Knot signs one zone itself (NSEC3, CDS and
CDNSKEY published), so that its DNSSEC records are real. Stopped by PID."""
import os
import pathlib
import shutil
import subprocess
import sys

import dns.query
import dns.tsigkeyring
import dns.zone

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from conftest import address  # noqa: E402

import all_types  # noqa: E402
from name_servers import BIND_CONF as PLAIN_BIND_CONF, NameServer, kdig, write_config  # noqa: E402

SIGNED_ZONE = "signed.zt."
IPV6_PORT = 5365

KNOT_KEYED = {
    "listen": "[ %(address)s@53, ::1@%(v6port)d ]",
    "allow": "key: knotkey",
    "sections": """include: "%(dir)s/knot.key"
policy:
  - id: signing
    algorithm: ecdsap256sha256
    nsec3: on
    cds-cdnskey-publish: always
""",
}
KNOT_SIGNED_ZONE = "    dnssec-signing: on\n    dnssec-policy: signing\n"

# The options of the plain servers; the zone's own transfer rule overrides
# theirs.
BIND_CONF = PLAIN_BIND_CONF + """include "%(dir)s/bind.key";
zone "%(alltypes)s" { type primary; file "%(dir)s/alltypes.zone"; allow-transfer { key bindkey; }; };
"""


class KeyedServer(NameServer):
    """kind: "knot" or "bind"."""

    def __init__(self, kind, directory):
        os.makedirs(os.path.join(directory, "db"), exist_ok=True)
        zones = [all_types.ZONE, SIGNED_ZONE] if kind == "knot" else [all_types.ZONE]
        super().__init__(kind, address(20 if kind == "knot" else 21), directory, zones)

    def command(self):
        alltypes = self.write("alltypes.zone", all_types.zone_text())
        values = {"dir": self.dir, "address": self.address, "v6port": IPV6_PORT,
                  "alltypes": all_types.ZONE, "signed": SIGNED_ZONE}
        if self.kind == "knot":
            self.write("knot.key", self.run(["keymgr", "-t", "knotkey", "hmac-sha256"]))
            signed = shutil.copy(os.path.join(all_types.DATA, "signed.zone"), self.dir)
            zones = {all_types.ZONE: alltypes, SIGNED_ZONE: signed}
            command = write_config("knot", self.dir, self.address, zones,
                                   **{k: v % values for k, v in KNOT_KEYED.items()})
            with open(command[-1], "a") as conf:
                conf.write(KNOT_SIGNED_ZONE)  # the last zone's
            return command
        self.write("bind.key", self.run(["tsig-keygen", "-a", "hmac-sha512", "bindkey"]))
        return ["named", "-g", "-4", "-c", self.write("named.conf", BIND_CONF % values)]

    def write(self, name, text):
        (path := pathlib.Path(self.dir, name)).write_text(text)
        return str(path)

    @property
    def key_file(self):
        return os.path.join(self.dir, self.kind + ".key")

    def key(self):
        """(name, algorithm, secret) of the key, read from the key file."""
        text = open(self.key_file).read()
        if self.kind == "knot":
            algorithm, name, secret = text.split("\n")[0].lstrip("# ").split(":")
            return name, algorithm, secret
        return "bindkey", "hmac-sha512", text.split('secret "')[1].split('"')[0]

    def served(self, zone_name, where=None, port=53):
        """The zone as dnspython transfers it with the key."""
        name, algorithm, secret = self.key()
        keyring = dns.tsigkeyring.from_text({name: (algorithm, secret)})
        return dns.zone.from_xfr(dns.query.xfr(where or self.address, zone_name, keyring=keyring,
                                               keyname=name, port=port, relativize=False,
                                               lifetime=30), relativize=False)

    def answers(self):
        """Ready once each zone answers and Knot has signed its zone."""
        return super().answers() and (self.kind == "bind" or self.process.poll() is not None
                                      or "RRSIG" in kdig(self.address, SIGNED_ZONE, "SOA", "+dnssec"))

    def run(self, command):
        return subprocess.run(command, check=True, stdout=subprocess.PIPE, timeout=30).stdout.decode()
