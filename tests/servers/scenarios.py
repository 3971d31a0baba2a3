"""Named scripts for the scripted servers of the GoogleTest programs
(with_servers.py HOST=NAME)."""
import struct

from messages import ANSWER, a, message, raw_answer, raw_record

SERVE = [["accept"], ["read_query"]]


def silent():
    return SERVE + [["hold", 20]]


# Zone zt: an opening message (SOA and a.zt) and messages of one address.
OPENING = message(["zt. 3600 SOA . . 1 7200 900 86400 300", a("a.zt.", 60, "10.0.0.1")])
ONE_ADDRESS = message([a("a.zt.", 60, "10.0.0.1")])


def trickled_transfers():
    """Six transfers, each the opening message and 40 more a moment apart."""
    trickle = [["send", OPENING]] + [["pause", 0.01], ["send", ONE_ADDRESS]] * 40
    return [["loop", 6, SERVE + trickle + [["hold", 5]]]]


def endless_transfer():
    """The SOA (a message of 50 bytes), then messages of 34 bytes without end."""
    return SERVE + [["send", message(["zt. 3600 SOA . . 1 7200 900 86400 300"])],
                    ["repeat", ONE_ADDRESS, 200000]]


CYCLE = [
    message([a("x.zt.", 60, "10.0.0.1")], ("x.zt", "A"), ANSWER),    # a good answer
    raw_answer([raw_record(5, b"\x01a" + struct.pack("!H", 0xC022))]),  # a name that loops
    raw_answer([raw_record(10, b"\x01\x02", rdlength=0xFFFF)] * 2),  # RDLENGTH past the end
    b"\xff\xff\x00\x00\x85",                                         # a header cut short
    b"",                                                             # nothing at all
]


def thousand_lookups():
    """1,000 connections, cycling through CYCLE, each closed after its reply."""
    cycle = [x for reply in CYCLE for x in SERVE + [["send", reply], ["close"]]]
    return [["loop", 1000 // len(CYCLE), cycle]]


SCRIPTS = {f.__name__: f for f in (silent, trickled_transfers, endless_transfer, thousand_lookups)}
