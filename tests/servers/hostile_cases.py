#!/usr/bin/env python3
"""Hostile name servers: replies crafted to break a DNS client, one case a
run:

    hostile_cases.py --cli COMMAND CASE

Each case starts its own scripted server on its own loopback address, runs
the client against it and checks the report word for word and the exit
status. Whatever arrives, the client must end by itself (or on Ctrl-C),
report what it received and never read outside it; the sanitizer builds
run the same cases."""
import re
import struct
import sys

from dns_messages import QUESTION_NAME, a, header, message, name, question, record, soa
from exchange_cases import (AA, HOLD, SERVE, a_line, check, check_client_closed_first,
                            check_report, hexs, soa_line, transfer_report)
from harness import ScriptedServer, run_case

OK, FAILED = 0, 1
INCOMPLETE = 3  # a zone transfer without its closing SOA
ANSWER = 0x8580  # answer, authoritative, recursion desired and available
MALFORMED = "Reply truncated or malformed: the rest of this message is not decoded.\n"


def reply_head(server, size, answers=1, questions=1):
    return ("Reply from %s : %d bytes recieved\nDirect authoritative answer: recursion "
            "desired; recursion available; result: succesful.\nContains %d question "
            "entries, %d answer entries, 0 nameserver records and 0 additional records.\n\n"
            % (server, size, questions, answers))


def cut_header_report(server, data):
    """The report of fewer bytes than a header: a raw dump."""
    return ("Reply from %s : %d bytes recieved\nheader is incomplete - parsing skipped\n"
            "raw header data dump:\t%s\n\n" % (server, len(data), "".join("%02x " % b for b in data)))


def question_line(text, qtype="A (host address)"):
    return "> Questions:\n\t%s\ttype: %s  class: IN (Internet)\n" % (text, qtype)


def framed(body):
    return struct.pack("!H", len(body)) + body


def raw_record(rtype, rdata, owner=QUESTION_NAME, rdlength=None):
    """A record with any type code and, if asked, a RDLENGTH that lies."""
    size = len(rdata) if rdlength is None else rdlength
    return owner + struct.pack("!HHiH", rtype, 1, 60, size) + rdata


def answer(records, qname="x.zt", qtype="A"):
    """An answer to one question, records given as bytes, with the prefix."""
    body = header(ANSWER, 1, len(records)) + question(qname, qtype) + b"".join(records)
    return framed(body)


def ask(client, server, target="x.zt", qtype="A"):
    return client.run(["-s", server.address, "-t", qtype, target])


def serve_once(data):
    """Answers one query with `data`, then holds the connection open."""
    return SERVE + [["send", hexs(data)], ["hold", HOLD]]


# Message offsets: the header is 12 bytes, the question "x.zt" A IN 10 more,
# so the first answer record starts at 22; behind its pointer owner (2),
# type, class, TTL and RDLENGTH (10) its data starts at 34.
FIRST_RDATA = 34
CNAME = 5


QUESTION_TYPES = {"A": "A (host address)", "CNAME": "CNAME (the canonical name for an alias)"}
GOOD = a(QUESTION_NAME, 60, "10.0.0.1")
GOOD_LINE = a_line("x.zt", 60, "10.0.0.1")


def check_stops_at_bad_record(client, host, records, qtype="A"):
    """Every record before the first bad one is reported; the bad one is
    replaced by the line that says the rest is not decoded."""
    reply = answer(records, qtype=qtype)
    with ScriptedServer(host, serve_once(reply)) as server:
        status, report = ask(client, server, qtype=qtype)
        good = GOOD_LINE * records.index(next(r for r in records if r != GOOD))
        check_report(report, reply_head(server.address, len(reply), len(records))
                     + question_line("x.zt", QUESTION_TYPES[qtype]) + "> Answers:\n"
                     + good + MALFORMED)
        check(status == OK, "exit status %d" % status)
        check_client_closed_first(server)


def case_pointer_loop(client):
    """Data a(label) then a pointer back to its own start: a.a.a... without
    end. The pointer does not lead backwards of the name it is in, so the
    record is not decoded; the report says so and goes no further."""
    loop = b"\x01a" + struct.pack("!H", 0xC000 | FIRST_RDATA)
    check_stops_at_bad_record(client, 140, [raw_record(CNAME, loop)], "CNAME")
    # Two names that point at each other: the second record's data points
    # at the first's, which points forward at the second's.
    second_rdata = FIRST_RDATA + 2 + 12
    crossed = [raw_record(CNAME, struct.pack("!H", 0xC000 | second_rdata)),
               raw_record(CNAME, struct.pack("!H", 0xC000 | FIRST_RDATA))]
    check_stops_at_bad_record(client, 140, crossed, "CNAME")


def case_pointer_to_itself(client):
    """An owner name that is a pointer to its own position (offset 22), and
    record data that is one."""
    check_stops_at_bad_record(client, 141, [raw_record(1, b"\x0a\x00\x00\x01", owner=b"\xc0\x16")])
    check_stops_at_bad_record(client, 141, [raw_record(CNAME, struct.pack("!H", 0xC000 | FIRST_RDATA))],
                              "CNAME")


def case_pointer_past_the_end(client):
    """Pointers to offset 255 and to the highest offset, 16383, in a reply
    of 52 bytes; the good record before them is reported."""
    for pointer in (0xC0FF, 0xFFFF):
        check_stops_at_bad_record(client, 142, [GOOD, raw_record(2, struct.pack("!H", pointer))])


def case_rdlength_past_the_end(client):
    """A record whose RDLENGTH says 65,535 with 4 bytes behind it, as an
    address and as a hex dump (NULL); and one whose RDLENGTH is larger than
    what the message has left by one byte."""
    for rtype, rdata, rdlength in ((1, b"\x0a\x00\x00\x02", 0xFFFF), (10, b"\x01\x02\x03\x04", 0xFFFF),
                                   (16, b"\x02hi", 4)):
        check_stops_at_bad_record(client, 143, [GOOD, raw_record(rtype, rdata, rdlength=rdlength)])


def case_counts_of_65535(client):
    """A bare header that announces 65,535 entries in every section: the
    counts are printed as they are, the first missing entry stops the
    report. In a zone transfer the stream is read to the close and the
    missing records are not counted."""
    bare = framed(struct.pack("!HHHHHH", 0, ANSWER, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF))
    with ScriptedServer(144, serve_once(bare)) as server:
        status, report = ask(client, server)
        check_report(report, "Reply from %s : 14 bytes recieved\nDirect authoritative answer: "
                     "recursion desired; recursion available; result: succesful.\nContains "
                     "65535 question entries, 65535 answer entries, 65535 nameserver records "
                     "and 65535 additional records.\n\n> Questions:\n" % server.address + MALFORMED)
        check(status == OK, "exit status %d" % status)
    transfer = framed(struct.pack("!HHHHHH", 0, AA, 0, 0xFFFF, 0xFFFF, 0xFFFF))
    with ScriptedServer(144, SERVE + [["send", hexs(transfer)], ["pause", 0.3], ["close"]]) as server:
        status, report = ask(client, server, "zt", "AXFR")
        check_report(report, "Reply from %s :\nDirect authoritative answer: recursion not desired; "
                     "recursion not available; result: succesful.\n\n> Answers:\n%s\nRecieved 0 "
                     "records (14 bytes) in reply to AXFR request.\n" % (server.address, MALFORMED))
        check(status == INCOMPLETE, "exit status %d" % status)


def case_prefix_of_65535_then_close(client):
    """A length prefix of 65,535 followed by 10 bytes and a close: 12 bytes
    are no whole header, so they are dumped raw. With 20 bytes behind the
    prefix the header is reported and the missing question stops it."""
    short = b"\xff\xff" + bytes(range(1, 11))
    with ScriptedServer(145, SERVE + [["send", hexs(short)], ["pause", 0.3], ["close"]]) as server:
        status, report = ask(client, server)
        check_report(report, cut_header_report(server.address, short))
        check(status == OK, "exit status %d" % status)
    longer = b"\xff\xff" + header(ANSWER, 1, 1) + b"\x05abcde\x03"
    with ScriptedServer(145, SERVE + [["send", hexs(longer)], ["pause", 0.3], ["close"]]) as server:
        status, report = ask(client, server)
        check_report(report, reply_head(server.address, len(longer)) + "> Questions:\n" + MALFORMED)
        check(status == OK, "exit status %d" % status)


def bytes_reported(report):
    """The byte count of a report's first line."""
    match = re.match(r"Reply from \S+ : (\d+) bytes recieved\n", report)
    check(match is not None, "report %r" % report[:200])
    return int(match.group(1))


def case_a_byte_a_second(client):
    """A server that sends its reply a byte a second: Ctrl-C after the
    fourth byte ends the lookup at once, and the report dumps exactly the
    bytes that came (the fourth or a few more, as the signal lands)."""
    reply = answer([a(QUESTION_NAME, 60, "10.0.0.1")])
    with ScriptedServer(146, SERVE + [["trickle", hexs(reply), 1.0], ["hold", HOLD]]) as server:
        status, report = client.run(["-s", server.address, "x.zt"],
                                    interrupt_when=lambda: server.saw("trickled 4"))
        count = bytes_reported(report)
        check(4 <= count < 14, "%d bytes reported" % count)
        check_report(report, cut_header_report(server.address, reply[:count]))
        check(status == OK, "exit status %d" % status)
        check_client_closed_first(server)
        check(not server.saw("trickled %d" % (count + 4)), "the client waited on: %s" % server.events())


# A transfer message of one address record, and the closing one.
def one_record_message(index):
    return message(AA, answers=[a("h%d.zt" % index, 60, "10.0.%d.%d" % (index // 256 % 256, index % 256))])


def case_transfer_that_never_ends(client):
    """A zone transfer whose closing SOA never comes and whose server never
    closes: the client reads on until Ctrl-C, then reports every whole
    message that arrived with a summary that counts them."""
    opening = message(AA, answers=[soa("zt", 3600, 1)])
    endless = [["send", hexs(opening)], ["loop", 100000, [["send", hexs(one_record_message(0))]]]]
    with ScriptedServer(147, SERVE + endless + [["hold", HOLD]], lifetime=120) as server:
        status, report = client.run(["-s", server.address, "-t", "AXFR", "zt"],
                                    interrupt_when=lambda: server.saw("accepted"))
        check(status == INCOMPLETE, "exit status %d" % status)
        lines = report.split("\n")
        check(report.startswith("Reply from %s :\n" % server.address), "report %r" % report[:300])
        records = report.count("\tA\t10.0.0.0\n")
        summary = "Recieved %d records (" % (records + 1)
        check(lines[-2].startswith(summary) and lines[-2].endswith(" in reply to AXFR request."),
              "summary %r for %d records" % (lines[-2], records + 1))


def case_reset_mid_reply(client):
    """The server resets the connection in the middle of a reply: what came
    before the reset is reported; in a transfer the cut message is not."""
    reply = answer([a(QUESTION_NAME, 60, "10.0.0.1"), a(QUESTION_NAME, 60, "10.0.0.2")])
    cut = reply[:-3]
    with ScriptedServer(148, SERVE + [["send", hexs(cut)], ["pause", 0.5], ["reset"]]) as server:
        status, report = ask(client, server)
        check_report(report, reply_head(server.address, len(cut), 2) + question_line("x.zt")
                     + "> Answers:\n" + a_line("x.zt", 60, "10.0.0.1") + MALFORMED)
        check(status == OK, "exit status %d" % status)
    first = message(AA, answers=[soa("zt", 3600, 1), a("a.zt", 60, "10.0.0.1")])
    stream = first + one_record_message(7)[:-5]
    with ScriptedServer(148, SERVE + [["send", hexs(stream)], ["pause", 0.5], ["reset"]]) as server:
        status, report = ask(client, server, "zt", "AXFR")
        check_report(report, transfer_report(server.address, [soa_line("zt", 3600, 1),
                                                              a_line("a.zt", 60, "10.0.0.1")],
                                             len(stream)))
        check(status == INCOMPLETE, "exit status %d" % status)


def case_ten_thousand_messages(client):
    """A zone transfer in 10,000 messages of one record each: the opening
    SOA, 9,998 addresses and the closing SOA, after which the server holds
    the connection open. Every record is reported, in order."""
    opening = message(AA, answers=[soa("zt", 3600, 1)])
    body = b"".join(one_record_message(i) for i in range(9998))
    stream = opening + body + opening
    with ScriptedServer(149, SERVE + [["send", hexs(stream)], ["hold", HOLD]]) as server:
        status, report = ask(client, server, "zt", "AXFR")
        lines = [soa_line("zt", 3600, 1)]
        lines += [a_line("h%d.zt" % i, 60, "10.0.%d.%d" % (i // 256, i % 256)) for i in range(9998)]
        lines += [soa_line("zt", 3600, 1)]
        check_report(report, transfer_report(server.address, lines, len(stream)))
        check(status == OK, "exit status %d" % status)
        check_client_closed_first(server)


def long_name(sizes):
    """A name of labels of the given sizes, each made of one letter."""
    return ".".join(chr(ord("a") + i) * size for i, size in enumerate(sizes))


def case_names_of_255_and_256_bytes(client):
    """Names of exactly 255 and 256 bytes as encoded (labels 63, 63, 63, 61
    or 62 and the root): the target is sent as typed, and the owner and
    the data names of the reply are reported in full."""
    for sizes in ((63, 63, 63, 61), (63, 63, 63, 62)):
        text = long_name(sizes)
        encoded = name(text)
        check(len(encoded) == sum(sizes) + 5, "encoded %d" % len(encoded))
        records = [record(QUESTION_NAME, "CNAME", 60, b"\x03www" + QUESTION_NAME)]
        reply = answer(records, text, "CNAME")
        with ScriptedServer(150, serve_once(reply)) as server:
            status, report = ask(client, server, text, "CNAME")
            check_report(report, reply_head(server.address, len(reply))
                         + question_line(text, "CNAME (the canonical name for an alias)")
                         + "> Answers:\n\t%s\t60 \tCNAME\twww.%s\n" % (text, text))
            check(status == OK, "exit status %d" % status)
            sent = framed(header(0x0100, 1) + question(text, "CNAME"))
            check(server.saw("query %s" % hexs(sent)), "query: %s" % server.events())


def every_byte_records():
    """Two TXT records and a HINFO record that hold every byte value: in the
    first owner's labels (63 bytes each), in the character-strings."""
    values = bytes(range(256))
    labels = [values[i:i + 63] for i in range(0, 256, 63)]
    owner = b"".join(bytes([len(label)]) + label for label in labels) + b"\x00"
    txt = [bytes([255]) + values[:255], b"\x01" + values[255:]]
    hinfo = bytes([128]) + values[:128] + bytes([128]) + values[128:]
    return [raw_record(16, txt[0], owner), raw_record(16, txt[1], QUESTION_NAME),
            raw_record(13, hinfo, QUESTION_NAME)]


def case_every_byte_value(client):
    """Every byte value 0 to 255 inside labels (owner names), inside the
    character-strings of TXT and HINFO, copied unchanged into the report;
    a zero byte adds nothing."""
    values = bytes(range(256))
    labels = [values[i:i + 63] for i in range(0, 256, 63)]
    owner_text = ".".join(label.replace(b"\x00", b"").decode("latin-1") for label in labels)
    reply = answer(every_byte_records(), qtype="ANY")
    text = lambda data: data.replace(b"\x00", b"").decode("latin-1")
    with ScriptedServer(151, serve_once(reply)) as server:
        status, report = ask(client, server, qtype="ANY")
        check_report(report, reply_head(server.address, len(reply), 3)
                     + question_line("x.zt", "ANY (all records)") + "> Answers:\n"
                     + "\t%s\t60 \tTXT\t%s\n" % (owner_text, text(values[:255]))
                     + "\tx.zt\t60 \tTXT\t%s\n" % text(values[255:])
                     + "\tx.zt\t60 \tHINFO\tCPU:%s  OS:%s\n" % (text(values[:128]), text(values[128:])))
        check(status == OK, "exit status %d" % status)


CASES = {name[5:]: f for name, f in globals().items() if name.startswith("case_")}


if __name__ == "__main__":
    sys.exit(run_case(CASES))
