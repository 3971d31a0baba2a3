"""The paths a user takes through the real vek.exe under Wine: a lookup
with its busy state and interrupt, the resolver and a target from the command
line, a report of 1,000,000 records, saving it, the settings kept between
runs, About and Quick help, the root-server menu, and closing the window
during a lookup."""
import os
import re
import struct
import tempfile

import dns.message
import dns.name
import dns.rrset
import pytest

from winegui import wait_for

IDC_TCP_LOOKUP, IDC_WINSOCK_LOOKUP, IDC_SAVE, IDC_ABOUT = 1, 1040, 1041, 33774
IDC_DETAILED_ERRORS, IDC_RECURSIVE, IDC_SERVER, IDC_QUERY_TYPE = 1000, 1002, 1037, 1044
IDC_OUTPUT, IDC_ROOT_SERVER, IDC_TARGET = 1045, 1048, 1127
IDCANCEL, IDC_QUICK_HELP, IDC_HELP_TEXT = 2, 3, 1009
VK_RETURN, VK_ESCAPE, VK_DOWN = 0x0D, 0x1B, 0x28
EM_GETSEL = 0xB0
CB_GETCURSEL, CB_SETCURSEL, BM_GETCHECK, BM_SETCHECK = 0x147, 0x14E, 0xF0, 0xF1
WM_SYSCOMMAND = 0x112
IDLE, BUSY = "TCP &lookup", "&Interrupt"
LOCALHOST = "Default lookup result:\n\tlocalhost resolved as 127.0.0.1"
ZONE = dns.name.from_text("xfr.test")


def framed(message):
    wire = message.to_wire(max_size=65535)
    return (struct.pack("!H", len(wire)) + wire).hex()


def a_reply(text):
    name = dns.name.from_text(text)
    query = dns.message.make_query(name, "A")
    reply = dns.message.make_response(query)
    reply.answer.append(dns.rrset.from_text(name, 3600, "IN", "A", "192.0.2.7"))
    return framed(reply)


def lookup(vek, server, target, type_line=1):
    vek.settext(IDC_TARGET, target)
    vek.settext(IDC_SERVER, server)
    vek.send(IDC_QUERY_TYPE, CB_SETCURSEL, type_line)
    vek.click(IDC_TCP_LOOKUP)


def idle(vek, seconds=30):
    vek.wait_text(IDC_TCP_LOOKUP, IDLE, seconds)
    wait_for(lambda: vek.enabled(IDC_WINSOCK_LOOKUP), 10, "Winsock lookup enabled")


# A reply, an interrupt by the button, and one by the Enter key in the
# target field (the dialog's default command while busy).
@pytest.mark.parametrize("ending", ["reply", "button", "enter"])
def test_lookup_busy_and_interrupt(vek, server, ending):
    answer = [["send", a_reply("www.example.test")]] if ending == "reply" else []
    dns_server = server(21, [["accept"], ["read_query"]] + answer + [["hold", 60]])
    vek.start()
    lookup(vek, dns_server.address, "www.example.test")
    query = dns.message.from_wire(dns_server.query())
    assert (str(query.question[0].name), query.question[0].rdtype, query.flags) == ("www.example.test.", 1, 0x0100)
    if ending != "reply":
        vek.wait_text(IDC_TCP_LOOKUP, BUSY)
        assert vek.enabled(IDC_TCP_LOOKUP) and not vek.enabled(IDC_WINSOCK_LOOKUP)
        if ending == "button":
            vek.click(IDC_TCP_LOOKUP)
        else:
            vek.key(IDC_TARGET, VK_RETURN)
        dns_server.sees("closed by client")
    idle(vek)
    report = vek.text(IDC_OUTPUT)
    if ending == "reply":
        assert report.startswith("Reply from %s : " % dns_server.address) and "192.0.2.7" in report, report
    else:
        assert report == "Lookup failed: no data recieved", report
    assert vek.text(IDC_TARGET) == "www.example.test"


# Without a saved server a target from the command line goes to the
# resolver; with one, to that server.
@pytest.mark.parametrize("saved_server", [False, True])
def test_command_line_target(vek, server, wine, saved_server):
    target = "www.example.test" if saved_server else "localhost"
    if saved_server:
        dns_server = server(28, [["accept"], ["read_query"], ["send", a_reply(target)], ["hold", 60]])
        wine.run(["reg", "add", r"HKCU\software\Corvane\Vek\Options", "/v", "DNS server", "/t", "REG_SZ",
                  "/d", dns_server.address, "/f"])
    vek.start(target)
    assert vek.text(IDC_TARGET) == target
    idle(vek)
    report = vek.text(IDC_OUTPUT)
    if saved_server:
        assert report.startswith("Reply from %s : " % dns_server.address) and "192.0.2.7" in report, report
    else:
        assert report == LOCALHOST, report


def transfer_script(count, per_message=2000):
    """A zone transfer of `count` records in messages of `per_message`: the
    SOA, then A records named h<k mod per_message> for the k-th record, then
    the SOA; every middle message is the same."""
    soa = dns.rrset.from_text(ZONE, 3600, "IN", "SOA", "ns.xfr.test. admin.xfr.test. 1 3600 600 86400 300")

    def message(first, last):
        reply = dns.message.make_response(dns.message.make_query(ZONE, "AXFR"))
        reply.flags |= 0x0400
        if first:
            reply.answer.append(soa)
        for k in range(1 if first else 0, per_message - (1 if last else 0)):
            reply.answer.append(dns.rrset.from_text("h%d.xfr.test." % k, 300, "IN", "A", "10.0.%d.%d" % (k >> 8, k & 255)))
        if last:
            reply.answer.append(soa)
        return framed(reply)

    middle = count // per_message - 2
    return [["accept"], ["read_query"], ["send", message(True, False)],
            ["repeat", message(False, False), middle], ["send", message(False, True)], ["hold", 60]]


def test_report_of_1000000_records(vek, server):
    count = 1000000
    dns_server = server(25, transfer_script(count))
    vek.start()
    lookup(vek, dns_server.address, "xfr.test", type_line=17)
    idle(vek, 240)
    size, lines = map(int, vek.ask("textinfo %d" % IDC_OUTPUT, timeout=120).split())
    deep = [2011, 2012, 777777, 999999, lines - 9, lines - 2, lines - 1]
    shown = vek.ask("lines %d %s" % (IDC_OUTPUT, " ".join(map(str, list(range(13)) + deep))),
                    timeout=120).split("\n")
    # Header lines, the SOA, then one line a record (record k named
    # h<k mod 2000>), the closing SOA, a blank line and the summary: nothing
    # lost or doubled on the way.
    assert shown[0] == "Reply from %s :" % dns_server.address and "\tSOA\t" in shown[4], shown[:13]
    start = next(i for i, line in enumerate(shown) if line.startswith("\th1.xfr.test\t"))
    assert lines == start + count + 7, (lines, start)
    for index, line in zip(deep[:4], shown[13:17]):
        assert re.match(r"\th%d\.xfr\.test\t300 \tA\t10\.0\." % ((index - start + 1) % 2000), line), (index, line)
    assert "\tSOA\t" in shown[-3] and shown[-2] == "", shown[-3:]
    assert re.fullmatch(r"Recieved %d records \(\d+ bytes\) in reply to AXFR request\." % count, shown[-1]), shown
    assert vek.ask("class %d" % IDC_OUTPUT) == "VekTextView"
    # Enter in the report starts no lookup and leaves the report.
    vek.post(IDC_OUTPUT, 0x201, 1, 0)  # a click in it gives it the focus
    vek.post(IDC_OUTPUT, 0x202, 0, 0)
    wait_for(lambda: vek.ask("focus") == str(IDC_OUTPUT), 10, "the report focused")
    vek.key(IDC_OUTPUT, VK_RETURN)
    vek.key(IDC_OUTPUT, VK_DOWN)  # handled after the Enter key: the caret moves
    wait_for(lambda: vek.send(IDC_OUTPUT, EM_GETSEL) != 0, 10, "the caret moved")
    assert vek.text(IDC_TCP_LOOKUP) == IDLE and vek.enabled(IDC_WINSOCK_LOOKUP)
    assert vek.ask("textinfo %d" % IDC_OUTPUT, timeout=120) == "%d %d" % (size, lines)
    assert len([e for e in dns_server.events() if e == "accepted"]) == 1
    # The next lookup replaces it, back in the Rich Edit control.
    vek.settext(IDC_TARGET, "localhost")
    vek.click(IDC_WINSOCK_LOOKUP)
    wait_for(lambda: vek.text(IDC_OUTPUT) == LOCALHOST, 120, "the short report")
    assert vek.ask("class %d" % IDC_OUTPUT).upper() == "RICHEDIT"


def test_save_through_the_dialog(vek):
    vek.start()
    vek.settext(IDC_TARGET, "localhost")
    vek.click(IDC_WINSOCK_LOOKUP)
    vek.wait_text(IDC_OUTPUT, LOCALHOST)
    idle(vek)
    vek.settext(IDC_TARGET, "changed.example")  # the name offered is the lookup's
    with tempfile.TemporaryDirectory(prefix="vek-save-") as folder:
        path = os.path.join(folder, "saved")
        vek.click(IDC_SAVE)
        assert vek.ask("savefile 20000 Z:" + path.replace("/", "\\\\"), timeout=30) == "localhost"
        wait_for(lambda: os.path.exists(path + ".txt") and os.path.getsize(path + ".txt"), 20, "the file")
        with open(path + ".txt", "rb") as saved:
            assert saved.read() == LOCALHOST.replace("\n", "\r\n").encode()


def options(vek):
    return (vek.send(IDC_QUERY_TYPE, CB_GETCURSEL), vek.send(IDC_RECURSIVE, BM_GETCHECK),
            vek.send(IDC_DETAILED_ERRORS, BM_GETCHECK), vek.text(IDC_SERVER))


def rect(vek):
    return [int(v) for v in vek.ask("rect").split()]


def test_settings_across_runs_and_escape_saving_nothing(vek):
    vek.start()
    assert options(vek) == (1, 1, 0, "")
    left, top, right, bottom = rect(vek)
    vek.settext(IDC_SERVER, "127.0.15.9")
    vek.send(IDC_QUERY_TYPE, CB_SETCURSEL, 17)
    vek.send(IDC_RECURSIVE, BM_SETCHECK, 0)
    vek.send(IDC_DETAILED_ERRORS, BM_SETCHECK, 1)
    vek.ask("setpos 210 130 %d %d" % (right - left, bottom - top + 40))
    placed = rect(vek)
    vek.close()
    vek.ended()
    vek.start()
    assert options(vek) == (17, 0, 1, "127.0.15.9") and rect(vek) == placed
    vek.settext(IDC_SERVER, "changed.example")
    vek.ask("setpos 300 200 %d %d" % (right - left, bottom - top))
    vek.key(IDC_SERVER, VK_ESCAPE)
    vek.ended()
    vek.start()
    assert options(vek) == (17, 0, 1, "127.0.15.9") and rect(vek) == placed


# The program ends at once, the connection closes, and the options shown
# are kept.
def test_closing_during_a_lookup(vek, server):
    dns_server = server(24, [["accept"], ["read_query"], ["hold", 60]])
    vek.start()
    lookup(vek, dns_server.address, "slow.example.test")
    vek.wait_text(IDC_TCP_LOOKUP, BUSY)
    dns_server.sees("query")
    vek.send(IDC_QUERY_TYPE, CB_SETCURSEL, 12)
    vek.send(IDC_DETAILED_ERRORS, BM_SETCHECK, 1)
    vek.close()
    vek.ended()
    dns_server.sees("closed by client")
    vek.start()
    assert options(vek) == (12, 1, 1, dns_server.address)


def test_about_and_quick_help(vek):
    vek.start()
    vek.click(IDC_ABOUT)
    vek.find("About Vek")
    vek.click(IDC_QUICK_HELP)
    vek.find("Quick help")
    help_lines = vek.text(IDC_HELP_TEXT).split("\n")
    assert len(help_lines) == 15 and help_lines[0].startswith("  This is a TCP-based DNS client"), help_lines
    vek.click(IDCANCEL)  # "Done"
    vek.ask("gone 10000")
    vek.find("About Vek")
    vek.click(IDCANCEL)  # "OK"
    vek.ask("gone 10000")
    # The system menu's item, whatever its low four bits.
    vek.find("DNS lookup")
    vek.post(0, WM_SYSCOMMAND, 16 + 15)
    vek.find("About Vek")
    vek.key(IDCANCEL, VK_ESCAPE)
    vek.ask("gone 10000")
    vek.find("DNS lookup")
    wait_for(lambda: vek.enabled(0), 10, "the window enabled again")


def test_root_menu(vek):
    vek.start()
    vek.settext(IDC_TARGET, "typed.example")
    vek.click(IDC_ROOT_SERVER)
    vek.ask("popupkey 10000 d", timeout=20)
    vek.wait_text(IDC_SERVER, "199.7.91.13")
    assert vek.text(IDC_TARGET) == "typed.example"
