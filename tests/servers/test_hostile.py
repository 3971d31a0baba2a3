"""Hostile name servers: replies and streams made to break a client. Whatever
arrives, vek-cli must end by itself (or on Ctrl-C), report what it
received, and never read outside it; the sanitizer builds run these too."""
import base64
import re

import pytest

from conftest import INCOMPLETE, OK, SANITIZED, serve
from messages import AA, ANSWER, a, framed, header, message, raw_answer, raw_record, soa
from scripted_server import HOLD, SERVE

MALFORMED = "Reply truncated or malformed: the rest of this message is not decoded.\n"
HEAD = ("Reply from %s : %d bytes recieved\nDirect authoritative answer: recursion desired; "
        "recursion available; result: succesful.\n")


def raw_dump(server, data):
    """The report of fewer bytes than a header."""
    return ("Reply from %s : %d bytes recieved\nheader is incomplete - parsing skipped\n"
            "raw header data dump:\t%s\n\n" % (server, len(data), data.hex(" ") + " "))


def summary(records, size):
    return "\nRecieved %d records (%d bytes) in reply to AXFR request.\n" % (records, size)


def one_address(index):
    """A transfer message of one address record."""
    return message([a("h%d.zt" % index, 60, "10.0.%d.%d" % (index // 256, index % 256))])


def counts(questions, answers, authority=0, additional=0):
    return ("Contains %d question entries, %d answer entries, %d nameserver records and %d "
            "additional records.\n\n> Questions:\n" % (questions, answers, authority, additional))


OPENING = message([soa("zt", 3600)])
SOA_LINES = ("\tzt\t3600 \tSOA\tns.zt\n\t\t\temail:\tadmin.zt\n\t\t\tserial:\t1\n"
             "\t\t\trefresh:\t7200\n\t\t\tretry:\t900\n\t\t\texpire\t86400\n\t\t\tminimum\t300\n")
ADDRESS_LINE = "\t%s\t60 \tA\t%s\n"
SHORT = b"\xff\xff" + bytes(range(1, 11))
PREFIX_AND_HEADER = b"\xff\xff" + header(ANSWER, 1, 1) + b"\x05abcde\x03"
TWO_ADDRESSES = raw_answer([raw_record(1, b"\x0a\x00\x00\x01"), raw_record(1, b"\x0a\x00\x00\x02")])
CUT_TRANSFER = message([soa("zt", 3600), a("a.zt", 60, "10.0.0.1")]) + one_address(7)[:-5]


@pytest.mark.parametrize("qtype, sent, end, tail", [
    pytest.param("A", framed(header(ANSWER, *[0xFFFF] * 4)), "close", MALFORMED, id="counts-of-65535"),
    pytest.param("AXFR", framed(header(AA, 0, *[0xFFFF] * 3)), "close", MALFORMED + summary(0, 14),
                 id="transfer-counts-of-65535"),
    pytest.param("A", SHORT, "close", raw_dump("", SHORT).split("\n", 1)[1], id="length-65535-then-close"),
    pytest.param("A", PREFIX_AND_HEADER, "close", MALFORMED, id="length-65535-header-then-close"),
    pytest.param("A", TWO_ADDRESSES[:-3], "reset", ADDRESS_LINE % ("x.zt", "10.0.0.1") + MALFORMED,
                 id="reset-mid-reply"),
    pytest.param("AXFR", CUT_TRANSFER, "reset", ADDRESS_LINE % ("a.zt", "10.0.0.1")
                 + summary(2, len(CUT_TRANSFER)), id="reset-mid-transfer"),
])
def test_cut_and_overstated_replies(cli, qtype, sent, end, tail):
    """What arrived, and no more, is reported up to the first missing part
    (how each part reads is the report's business), and the lookup ends when
    the server closes or resets."""
    with serve(145, SERVE + [["send", sent], ["pause", 0.05], [end]]) as server:
        status, report, _ = cli.run(["-s", server.address, "-t", qtype, "zt"])
        assert status == (INCOMPLETE if qtype == "AXFR" else OK) and report.endswith(tail), report
        assert qtype == "AXFR" or report.startswith("Reply from %s : %d bytes recieved\n"
                                                    % (server.address, len(sent)))


def test_reply_a_byte_at_a_time_then_ctrl_c(cli):
    """Ctrl-C ends the lookup at once, and the report dumps exactly the
    bytes that came: the fourth was sent half a second before the fifth."""
    reply = raw_answer([raw_record(1, b"\x0a\x00\x00\x01")])
    with serve(146, SERVE + [["trickle", reply, 0.5], ["hold", HOLD]]) as server:
        status, report, _ = cli.run(["-s", server.address, "x.zt"],
                                    interrupt_when=lambda: server.saw("trickled 5"),
                                    timeout=20)
        count = int(re.match(r"Reply from \S+ : (\d+) bytes", report).group(1))
        assert 4 <= count < 14 and (status, report) == (OK, raw_dump(server.address, reply[:count]))
        assert server.sees("closed by client")
        assert not server.saw("trickled %d" % (count + 4)), server.events()


def test_transfer_that_never_ends_until_ctrl_c(cli):
    """No closing SOA and no close: the client reads on until Ctrl-C, then
    reports every whole message with a summary that counts them. By the
    600th block of 34 KB sent, the client has taken more than the socket
    buffers of both ends hold."""
    endless = [["send", OPENING], ["repeat", one_address(0) * 1000, 10 ** 4]]
    with serve(147, SERVE + endless + [["hold", HOLD]]) as server:
        status, report, _ = cli.run(["-s", server.address, "-t", "AXFR", "zt"],
                                    interrupt_when=lambda: server.saw("repeated 600"),
                                    timeout=20)
        records = report.count(ADDRESS_LINE % ("h0.zt", "10.0.0.0")) + 1
        assert status == INCOMPLETE and report.startswith("Reply from %s :\n" % server.address)
        assert records > 1000 and re.search(r"\nRecieved %d records \(\d+ bytes\) in reply to AXFR "
                                            r"request\.\n$" % records, report), report[-300:]


def test_ten_thousand_messages(cli):
    """The opening SOA, 9,998 messages of one address and the closing SOA,
    after which the server holds on: every record is reported, in order."""
    stream = OPENING + b"".join(one_address(i) for i in range(9998)) + OPENING
    with serve(149, SERVE + [["send", stream], ["hold", HOLD]]) as server:
        status, report, _ = cli.run(["-s", server.address, "-t", "AXFR", "zt"])
        addresses = "".join(ADDRESS_LINE % ("h%d.zt" % i, "10.0.%d.%d" % (i // 256, i % 256))
                            for i in range(9998))
        assert status == OK
        assert report.split("\n> Answers:\n")[1] == (SOA_LINES + addresses + SOA_LINES
                                                     + summary(10000, len(stream)))
        assert server.sees("closed by client")


@pytest.mark.skipif(SANITIZED, reason="the sanitizers reserve more address space than the bound")
def test_transfer_larger_than_memory(cli):
    """A transfer larger than the memory the client may have: vek-cli holds
    neither the stream nor the report, so it reads and reports it all. The
    messages after the first carry no records, so that the report stays
    small."""
    empty = framed(header(AA) + bytes(65535 - 12))
    with serve(150, SERVE + [["send", OPENING], ["repeat", empty, 3000], ["close"]]) as server:
        status, report, _ = cli.run(["-s", server.address, "-t", "AXFR", "zt"],
                                    memory_limit=160 << 20)
        total = len(OPENING) + 3000 * len(empty)
        assert status == INCOMPLETE and report.endswith(summary(1, total)), report[-300:]


@pytest.mark.wine
def test_every_byte_value(cli):
    """Two TXT records and a HINFO record hold every byte value, in the
    owner's labels and in character-strings: each is copied into the report
    unchanged; a zero byte adds nothing."""
    values = bytes(range(256))
    labels = [values[i:i + 63] for i in range(0, 256, 63)]
    text = lambda data: data.replace(b"\x00", b"").decode("latin-1")
    owner = b"".join(bytes([len(label)]) + label for label in labels) + b"\x00"
    reply = raw_answer([raw_record(16, bytes([255]) + values[:255], owner),
                        raw_record(16, b"\x01" + values[255:]),
                        raw_record(13, bytes([128]) + values[:128] + bytes([128]) + values[128:])],
                       qtype="ANY")
    with serve(151, SERVE + [["send", reply], ["hold", HOLD]]) as server:
        status, report, _ = cli.run(["-s", server.address, "-t", "ANY", "x.zt"])
        assert status == OK
        assert report == (HEAD % (server.address, len(reply)) + counts(1, 3)
                          + "\tx.zt\ttype: ANY (all records)  class: IN (Internet)\n> Answers:\n"
                          + "\t%s\t60 \tTXT\t%s\n" % (".".join(map(text, labels)), text(values[:255]))
                          + "\tx.zt\t60 \tTXT\t%s\n" % text(values[255:])
                          + "\tx.zt\t60 \tHINFO\tCPU:%s  OS:%s\n" % (text(values[:128]),
                                                                      text(values[128:])))


SECRET = base64.b64encode(b"signed-transfer-test-secret-0123").decode()


@pytest.mark.parametrize("mode, status, said, lines", [
    pytest.param("good", OK, "TSIG verified with key tk (12 messages)", 49, marks=pytest.mark.wine),
    ("sparse", OK, "TSIG verified with key tk (101 messages)", 405),
    pytest.param("alter5", 1, "MAC does not match in message 5", 0, marks=pytest.mark.wine),
    ("unsigned_first", 1, "the first message is not signed", 0),
    ("unsigned_100", 1, "more than 99 unsigned messages in a row (messages 2 to 101)", 0),
    ("cut10", INCOMPLETE, "ended without its closing SOA after 10 messages", 41),
    ("stale", 1, "time outside the fudge in message 1 (signed 10", 0),
])
def test_signed_stream(cli, mode, status, said, lines):
    """A spoiled signed transfer is caught and named, a sound one verifies,
    one cut short keeps what arrived; the secret is never shown."""
    end = ["close"] if mode == "cut10" else ["hold", HOLD]
    with serve(152, SERVE + [["signed", mode, "tk:" + SECRET], end]) as server:
        got, out, err = cli.run(["-s", server.address, "-t", "AXFR", "-y", "tk:" + SECRET,
                                 "--zone", "signed.zt"], timeout=45)
        assert (got, out.count("\n"), said in err) == (status, lines, True), err
        assert SECRET not in err + out
