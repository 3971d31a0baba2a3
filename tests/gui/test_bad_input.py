#!/usr/bin/env python3
"""Bad input in the "DNS lookup" window: fields of 30,000 characters,
control characters and bytes above 127 in either field, an empty target on
the lookup buttons, a clipboard with no text or a huge one for "Target >",
garbage in every registry value, hostile replies shown in the report and a
reply sent a byte a second, interrupted.
Each case writes down the outcome it expects; after each, the window must
still answer messages within a second."""
import os
import struct
import sys
import time

import vekgui
from vekgui import (IDC_DETAILED_ERRORS, IDC_OUTPUT, IDC_PASTE_TARGET, IDC_QUERY_TYPE, IDC_RECURSIVE,
                    IDC_SERVER, IDC_TARGET, IDC_TCP_LOOKUP, IDC_WINSOCK_LOOKUP, OPTIONS_KEY, plain)

sys.path.insert(0, os.path.join(vekgui.ROOT, "tests", "servers"))
import hostile_cases as hostile  # noqa: E402
from dns_messages import QUESTION_NAME, a, header  # noqa: E402
from harness import ScriptedServer, address  # noqa: E402

GOOD = hostile.GOOD
framed = hostile.framed

LONG = 30000
TOO_LONG = ("Lookup refused: the query name is too long (%d characters).\n\tA query can carry a "
            "name of at most 980 characters, a final dot not counted.")
NO_SERVER = "Lookup failed while retrieving server address:\n\t"
MALFORMED = hostile.MALFORMED
PLACEMENT_KEY = r"HKCU\Software\Corvane\Ombrix\Ovek"
# The first two lines of the query-type list: the QTYPE sent and its name
# in the report.
QUERY_TYPES = {0: (255, "ANY (all records)"), 1: (1, "A (host address)")}


def responsive(s):
    s.ask("responsive 1000")


def wait_for(condition, what, seconds=30):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            raise AssertionError("waited in vain for " + what)
        time.sleep(0.1)


def finish(s):
    """Waits for the lookup to end: a report shows (the test cleared it
    before the click, which is only posted) and the buttons are idle."""
    wait_for(lambda: plain(s.text(IDC_OUTPUT)) != "", "a report")
    s.wait_text(IDC_TCP_LOOKUP, "TCP &lookup")
    s.wait_enabled(IDC_WINSOCK_LOOKUP)
    responsive(s)
    return plain(s.text(IDC_OUTPUT))


def click_lookup(s, button):
    s.settext(IDC_OUTPUT, "")
    s.click(button)
    return finish(s)


def tcp_lookup(s, target, server):
    s.settext(IDC_TARGET, target)
    s.settext(IDC_SERVER, server)
    return click_lookup(s, IDC_TCP_LOOKUP)


@vekgui.case
def test_fields_of_30000_characters(s):
    """A target that long is refused before anything is sent, and the
    resolver cannot find it; a server name that long cannot be resolved.
    Both fields keep the whole text."""
    s.start_vek()
    s.find()
    report = tcp_lookup(s, "t" * LONG, address(180))
    assert report == TOO_LONG % LONG, report[:300]
    assert s.text(IDC_TARGET) == "t" * LONG
    report = tcp_lookup(s, "x.zt", "s" * LONG)
    assert report.startswith(NO_SERVER), report[:300]
    assert s.text(IDC_SERVER) == "s" * LONG
    # The resolver cannot find such a name either, and the report says so
    # with the whole name in it.
    s.settext(IDC_TARGET, "w" * LONG)
    report = click_lookup(s, IDC_WINSOCK_LOOKUP)
    assert report.startswith("Default lookup of <%s> failed due to following reason:\n\t" % ("w" * LONG)), \
        report[:300]
    s.screenshot("long-fields")


@vekgui.case
def test_control_characters_and_high_bytes(s):
    """The target's bytes go into the query as typed, control characters and
    bytes above 127 included, and come back into the report unchanged. A
    server name made of such bytes cannot be resolved."""
    s.start_vek()
    s.find()
    typed = "a\x01b\tc\x1b\x7f.\xfc\xe9\xff.zt"
    s.settext(IDC_TARGET, typed)
    target = s.text(IDC_TARGET)  # as the program holds it, in its code page
    qname = target.encode("latin-1")
    labels = b"".join(bytes([len(label)]) + label for label in qname.split(b".")) + b"\x00"
    index = s.selected(IDC_QUERY_TYPE)  # the query type the window starts with
    qtype, qtype_text = QUERY_TYPES[index]
    body = header(0x8580, 1, 1) + labels + struct.pack("!HH", qtype, 1) + a(QUESTION_NAME, 60, "10.0.0.9")
    script = [["accept"], ["read_query"], ["send", framed(body).hex()], ["hold", 30]]
    with ScriptedServer(181, script) as server:
        report = tcp_lookup(s, target, server.address)
        query = framed(header(0x0100, 1) + labels + struct.pack("!HH", qtype, 1))
        assert server.saw("query " + query.hex()), server.events()
    assert ("> Questions:\n\t%s\ttype: %s  class: IN (Internet)\n> Answers:\n"
            "\t%s\t60 \tA\t10.0.0.9\n" % (target, qtype_text, target)) in report, report
    for server_name in ("\x01\x02", "n\xe4me\t.invalid"):
        report = tcp_lookup(s, "x.zt", server_name)
        assert report.startswith(NO_SERVER), report


@vekgui.case
def test_empty_target_on_each_lookup_button(s):
    """"TCP lookup" with an empty target does nothing, with or without a
    server; "Winsock lookup" asks the resolver about the empty text and
    reports its answer."""
    s.start_vek()
    s.find()
    s.settext(IDC_OUTPUT, "kept")
    s.settext(IDC_SERVER, address(182))
    s.click(IDC_TCP_LOOKUP)
    time.sleep(1)  # a click that does something shows it by then
    responsive(s)
    assert s.text(IDC_TCP_LOOKUP) == "TCP lookup"
    assert plain(s.text(IDC_OUTPUT)) == "kept"
    report = click_lookup(s, IDC_WINSOCK_LOOKUP)
    assert report.startswith(("Default lookup result:", "Lookup failed")), report


@vekgui.case
def test_clipboard_without_text_or_huge(s):
    """"Target >" with an empty clipboard, or one that holds only a
    picture, leaves the target as it is; a huge text replaces it (as much as
    the field takes) and a lookup on it is refused as too long."""
    s.start_vek()
    s.find()
    s.settext(IDC_TARGET, "kept.zt")
    for kind in ("empty", "bitmap"):
        s.ask("clipboard " + kind)
        s.click(IDC_PASTE_TARGET)
        time.sleep(1)  # a paste shows by then
        responsive(s)
        assert s.text(IDC_TARGET) == "kept.zt", kind
    s.ask("clipboard huge 1000000")
    s.click(IDC_PASTE_TARGET)
    wait_for(lambda: s.text(IDC_TARGET) != "kept.zt", "the paste")
    responsive(s)
    pasted = s.text(IDC_TARGET)
    assert len(pasted) >= LONG and set(pasted) == {"h"}, len(pasted)
    s.settext(IDC_SERVER, address(183))
    assert click_lookup(s, IDC_TCP_LOOKUP) == TOO_LONG % len(pasted)


def reg(s, *args):
    return s.run_wine(["reg"] + list(args)).stdout.decode("latin-1", "replace")


def checked(s, cid):
    return int(s.ask("checked %d" % cid))


def garbage(s, values):
    for key, name, kind, data in values:
        reg(s, "add", key, "/v", name, "/t", kind, "/d", data, "/f")


@vekgui.case
def test_garbage_in_every_registry_value(s):
    """Values of the wrong type and size: the window still comes up,
    answers, shows sound options, and a close writes values of the right
    types and sizes back."""
    # Each set of values, and what the window shows for it: the query type
    # selected, the two check boxes, the server. A value of the wrong type
    # or size gives the default; a number outside 0 to 2 shows a clear box.
    for values, shown in (
        ([(OPTIONS_KEY, "Type", "REG_SZ", "garbage"),
          (OPTIONS_KEY, "Recursive", "REG_BINARY", "ffffffffffffffffff"),
          (OPTIONS_KEY, "Detailed errors", "REG_SZ", ""),
          (OPTIONS_KEY, "DNS server", "REG_DWORD", "7"),
          (PLACEMENT_KEY, "Window position", "REG_BINARY", "0102")], (1, 1, 0, "")),
        ([(OPTIONS_KEY, "Type", "REG_BINARY", "ff" * 64),
          (OPTIONS_KEY, "Recursive", "REG_DWORD", "4294967295"),
          (OPTIONS_KEY, "Detailed errors", "REG_DWORD", "2147483648"),
          (OPTIONS_KEY, "DNS server", "REG_BINARY", "41" * 5000),
          (PLACEMENT_KEY, "Window position", "REG_SZ", "x" * 100)], (1, 0, 0, "")),
    ):
        garbage(s, values)
        s.start_vek()
        s.find()
        responsive(s)
        assert (s.selected(IDC_QUERY_TYPE), checked(s, IDC_RECURSIVE), checked(s, IDC_DETAILED_ERRORS),
                s.text(IDC_SERVER)) == shown, values
        _, _, width, height = s.rect(0)
        assert width > 0 and height > 0
        s.close()
        s.gone()
        assert s.vek_exited(10)
        stored = reg(s, "query", OPTIONS_KEY) + reg(s, "query", PLACEMENT_KEY)
        for name, kind in (("Type", "REG_DWORD"), ("Recursive", "REG_DWORD"),
                           ("Detailed errors", "REG_DWORD"), ("DNS server", "REG_SZ"),
                           ("Window position", "REG_BINARY")):
            assert any(line.strip().startswith(name + "    " + kind) for line in stored.splitlines()), \
                (name, stored)
        rect = [line.split()[-1] for line in stored.splitlines() if "Window position" in line]
        assert len(rect[0]) == 32, rect  # the 16 bytes of a rectangle
        s.stop_all()
        s.start_display()


def hostile_replies():
    """(what, server script, expected report for a server address): replies
    of the hostile-server suite, shown in the window's report."""
    loop = b"\x01a" + struct.pack("!H", 0xC000 | hostile.FIRST_RDATA)
    cut = [([hostile.raw_record(hostile.CNAME, loop)], 0),
           ([hostile.raw_record(1, b"\x0a\x00\x00\x01", owner=b"\xc0\x16")], 0),
           ([GOOD, hostile.raw_record(2, b"\xff\xff")], 1),
           ([GOOD, hostile.raw_record(10, b"\x01\x02", rdlength=0xFFFF)], 1)]
    for records, good in cut:
        reply = hostile.answer(records)
        yield ("cut after %d good records" % good, hostile.serve_once(reply),
               lambda server, reply=reply, records=records, good=good:
               hostile.reply_head(server, len(reply), len(records)) + hostile.question_line("x.zt")
               + "> Answers:\n" + hostile.GOOD_LINE * good + MALFORMED)
    bare = framed(struct.pack("!HHHHHH", 0, hostile.ANSWER, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF))
    yield ("counts of 65535", hostile.serve_once(bare),
           lambda server: "Reply from %s : 14 bytes recieved\nDirect authoritative answer: "
           "recursion desired; recursion available; result: succesful.\nContains 65535 question "
           "entries, 65535 answer entries, 65535 nameserver records and 65535 additional "
           "records.\n\n> Questions:\n%s" % (server, MALFORMED))
    short = b"\xff\xff" + bytes(range(1, 11))
    yield ("prefix of 65535, 10 bytes, close",
           [["accept"], ["read_query"], ["send", short.hex()], ["pause", 0.3], ["close"]],
           lambda server: hostile.cut_header_report(server, short))
    reply = hostile.answer([GOOD, GOOD])[:-3]
    yield ("reset mid reply",
           [["accept"], ["read_query"], ["send", reply.hex()], ["pause", 0.5], ["reset"]],
           lambda server: hostile.reply_head(server, len(reply), 2) + hostile.question_line("x.zt")
           + "> Answers:\n" + hostile.GOOD_LINE + MALFORMED)


@vekgui.case
def test_hostile_replies_in_the_report(s):
    """Crafted and broken replies: the report shows what could be decoded
    and the line that says where decoding stopped, as vek-cli does."""
    s.start_vek()
    s.find()
    for what, script, expected in hostile_replies():
        with ScriptedServer(184, script) as server:
            report = tcp_lookup(s, "x.zt", server.address)
        assert report == expected(server.address), (what, report)


@vekgui.case
def test_every_byte_value_in_the_report(s):
    """Records whose names and strings hold every byte value, control
    characters included: the report control shows them and the window
    goes on answering."""
    reply = hostile.answer(hostile.every_byte_records(), qtype="ANY")
    s.start_vek()
    s.find()
    with ScriptedServer(186, hostile.serve_once(reply)) as server:
        report = tcp_lookup(s, "x.zt", server.address)
        assert report.startswith(hostile.reply_head(server.address, len(reply), 3)
                                 + hostile.question_line("x.zt", "ANY (all records)")), report[:400]
    assert "\tx.zt\t60 \tHINFO\tCPU:" in report, report


@vekgui.case
def test_a_byte_a_second_interrupted(s):
    """A server that sends a byte a second: "&Interrupt" after the third
    byte ends the lookup at once, and the report dumps exactly the bytes
    that came (the third or a few more, as the click lands)."""
    reply = hostile.answer([GOOD])
    script = [["accept"], ["read_query"], ["trickle", reply.hex(), 1.0], ["hold", 60]]
    s.start_vek()
    s.find()
    with ScriptedServer(185, script) as server:
        s.settext(IDC_TARGET, "x.zt")
        s.settext(IDC_SERVER, server.address)
        s.click(IDC_TCP_LOOKUP)
        assert server.sees("trickled 3", 60), server.events()
        s.click(IDC_TCP_LOOKUP)  # "&Interrupt"
        finish(s)
        report = plain(s.text(IDC_OUTPUT))
        count = hostile.bytes_reported(report)
        assert 3 <= count < 14, report
        assert not server.saw("trickled %d" % (count + 3)), server.events()
    assert report == hostile.cut_header_report(server.address, reply[:count]), report


if __name__ == "__main__":
    vekgui.main_for("bad-input", 12, private_prefix=True)
