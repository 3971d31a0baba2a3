"""The zone of tests/data/alltypes.zone (a record of every type vek-cli's
zone files decode, names and strings that need escaping, types it only knows
generically) and 4,000 addresses besides, so that the servers send it in
several messages and the chain of MACs from message to message is checked.
dnspython parses and writes it, so the served file is in its canonical form."""
import os

import dns.zone

ZONE = "alltypes.zt."
DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")


def zone_text():
    with open(os.path.join(DATA, "alltypes.zone")) as records:
        text = records.read() + "".join("h%d 300 IN A 10.0.%d.%d\n" % (i, i // 256, i % 256) for i in range(4000))
    return dns.zone.from_text(text, origin=ZONE, relativize=False).to_text(relativize=False)
