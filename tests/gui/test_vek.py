"""The paths a user takes through the real vek.exe under Wine: a lookup
with its busy state and interrupt, a report of 1,000,000 records, saving it,
About and Quick help and the root-server menu on one running window; then,
each on runs of its own, the resolver and a target from the command line,
the settings kept between runs, and closing the window during a lookup."""
import os
import re
import tempfile

import dns.message
import pytest

from messages import ANSWER, a, message, soa
from winegui import wait_for

IDC_TCP_LOOKUP, IDC_WINSOCK_LOOKUP, IDC_SAVE, IDC_ABOUT = 1, 1040, 1041, 33774
IDC_DETAILED_ERRORS, IDC_RECURSIVE, IDC_SERVER, IDC_QUERY_TYPE = 1000, 1002, 1037, 1044
IDC_OUTPUT, IDC_ROOT_SERVER, IDC_TARGET = 1045, 1048, 1127
IDOK, IDCANCEL, IDC_QUICK_HELP, IDC_HELP_TEXT, IDC_FILE_NAME = 1, 2, 3, 1009, 1148
VK_RETURN, VK_ESCAPE = 0x0D, 0x1B
CB_GETCURSEL, CB_SETCURSEL, BM_GETCHECK, BM_SETCHECK = 0x147, 0x14E, 0xF0, 0xF1
WM_CHAR, WM_SYSCOMMAND = 0x102, 0x112
IDLE, BUSY = "TCP &lookup", "&Interrupt"
LOCALHOST = "Default lookup result:\n\tlocalhost resolved as 127.0.0.1"


def a_reply(name):
    return message([a(name + ".", 3600, "192.0.2.7")], (name, "A"), ANSWER)


def lookup(vek, server, target, type_line=1):
    vek.settext(IDC_TARGET, target)
    vek.settext(IDC_SERVER, server)
    vek.send(IDC_QUERY_TYPE, CB_SETCURSEL, type_line)
    vek.click(IDC_TCP_LOOKUP)


def idle(vek, seconds=30):
    vek.wait_text(IDC_TCP_LOOKUP, IDLE, seconds)
    wait_for(lambda: vek.enabled(IDC_WINSOCK_LOOKUP), 10, "Winsock lookup enabled")


def transfer_script(count, per_message=2000):
    """A zone transfer of `count` records in messages of `per_message`: the
    SOA, then A records named h<k mod per_message> for the k-th record, then
    the SOA; every middle message is the same."""
    def records(first, last):
        return [a("h%d.xfr.test." % k, 300, "10.0.%d.%d" % (k >> 8, k & 255))
                for k in range(1 if first else 0, per_message - (1 if last else 0))]

    head, tail = [soa("xfr.test.", 3600)], [soa("xfr.test.", 3600)]
    return [["accept"], ["read_query"], ["send", message(head + records(True, False))],
            ["repeat", message(records(False, False)), count // per_message - 2],
            ["send", message(records(False, True) + tail)], ["hold", 60]]


class TestOneRunningWindow:
    # A reply, and an interrupt by the Enter key in the target field (the
    # dialog's default command while busy; the button's own interrupt and the
    # busy states are BusyStates' in process).
    @pytest.mark.parametrize("ending", ["reply", "enter"])
    def test_lookup_busy_and_interrupt(self, shared, server, ending):
        vek = shared
        answer = [["send", a_reply("www.example.test")]] if ending == "reply" else []
        dns_server = server(21, [["accept"], ["read_query"]] + answer + [["hold", 60]])
        lookup(vek, dns_server.address, "www.example.test")
        assert dns_server.sees("query ", 30)
        sent = next(event for event in dns_server.events() if event.startswith("query "))
        query = dns.message.from_wire(bytes.fromhex(sent[6:])[2:])
        assert (str(query.question[0].name), query.question[0].rdtype, query.flags) == ("www.example.test.", 1, 0x0100)
        if ending != "reply":
            vek.wait_text(IDC_TCP_LOOKUP, BUSY)
            vek.key(IDC_TARGET, VK_RETURN)
            assert dns_server.sees("closed by client", 30)
        idle(vek)
        report = vek.text(IDC_OUTPUT)
        if ending == "reply":
            assert report.startswith("Reply from %s : " % dns_server.address) and "192.0.2.7" in report, report
        else:
            assert report == "Lookup failed: no data recieved", report
        assert vek.text(IDC_TARGET) == "www.example.test"

    # Read in place through the driver, never copied out whole: its size,
    # line count and sampled lines. Header lines, the SOA, one line a record
    # (record k named h<k mod 2000>), the closing SOA, a blank line and the
    # summary: nothing lost or doubled on the way.
    def test_report_of_1000000_records(self, shared, server):
        count, vek = 1000000, shared
        dns_server = server(25, transfer_script(count))
        lookup(vek, dns_server.address, "xfr.test", type_line=17)
        idle(vek, 240)
        deep = [2011, 2012, 777777, 999999]
        info, *shown = vek.ask("lines %d %s" % (IDC_OUTPUT, " ".join(map(str, list(range(13)) + deep))),
                               timeout=120).split("\n")
        lines = int(info.split()[1])
        assert shown[0] == "Reply from %s :" % dns_server.address and "\tSOA\t" in shown[4], shown[:13]
        start = next(i for i, line in enumerate(shown) if line.startswith("\th1.xfr.test\t"))
        assert lines == start + count + 7, (lines, start)
        for index, line in zip(deep, shown[13:]):
            assert re.match(r"\th%d\.xfr\.test\t300 \tA\t10\.0\." % ((index - start + 1) % 2000), line), (index, line)
        _, *tail = vek.ask("lines %d %d %d %d" % (IDC_OUTPUT, lines - 9, lines - 2, lines - 1), timeout=120).split("\n")
        assert "\tSOA\t" in tail[0] and tail[1] == "", tail
        assert re.fullmatch(r"Recieved %d records \(\d+ bytes\) in reply to AXFR request\." % count, tail[2]), tail

    def test_save_through_the_dialog(self, shared):
        vek = shared
        vek.settext(IDC_TARGET, "localhost")
        vek.click(IDC_WINSOCK_LOOKUP)
        vek.wait_text(IDC_OUTPUT, LOCALHOST, 60)
        idle(vek)
        vek.settext(IDC_TARGET, "changed.example")  # the name offered is the lookup's
        with tempfile.TemporaryDirectory(prefix="vek-save-") as folder:
            path = os.path.join(folder, "saved")
            vek.click(IDC_SAVE)
            vek.find("Save As", 20)
            assert vek.text(IDC_FILE_NAME) == "localhost"
            vek.settext(IDC_FILE_NAME, "Z:" + path.replace("/", "\\"))
            vek.click(IDOK)
            vek.ask("gone 20000")
            vek.find("DNS lookup")
            wait_for(lambda: os.path.exists(path + ".txt") and os.path.getsize(path + ".txt"), 20, "the file")
            with open(path + ".txt", "rb") as saved:
                assert saved.read() == LOCALHOST.replace("\n", "\r\n").encode()

    def test_about_and_quick_help(self, shared):
        vek = shared
        vek.click(IDC_ABOUT)
        vek.find("About Vek")
        vek.click(IDC_QUICK_HELP)
        vek.find("Quick help")
        assert vek.text(IDC_HELP_TEXT).count("\n") == 14  # the whole text, its lines as written
        for caption in ["Quick help", "About Vek"]:
            vek.find(caption)
            vek.click(IDCANCEL)  # "Done", "OK"
            vek.ask("gone 10000")
        # The system menu's item, whatever its low four bits; Escape closes it.
        vek.find("DNS lookup")
        vek.post(0, WM_SYSCOMMAND, 16 + 15)
        vek.find("About Vek")
        vek.key(IDCANCEL, VK_ESCAPE)
        vek.ask("gone 10000")
        vek.find("DNS lookup")
        wait_for(lambda: vek.enabled(0), 10, "the window enabled again")

    def test_root_menu(self, shared):
        vek = shared
        vek.settext(IDC_TARGET, "typed.example")
        vek.click(IDC_ROOT_SERVER)
        vek.ask("findclass 10000 #32768", timeout=20)  # the popup menu
        vek.post(0, WM_CHAR, ord("d"), 1)
        vek.ask("gone 10000")
        vek.find("DNS lookup")
        vek.wait_text(IDC_SERVER, "199.7.91.13")
        assert vek.text(IDC_TARGET) == "typed.example"


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


def options(vek):
    return (vek.send(IDC_QUERY_TYPE, CB_GETCURSEL), vek.send(IDC_RECURSIVE, BM_GETCHECK),
            vek.send(IDC_DETAILED_ERRORS, BM_GETCHECK), vek.text(IDC_SERVER))


def place(vek, *where):
    return [int(v) for v in vek.ask(" ".join(["place"] + [str(w) for w in where])).split()]


# Closing keeps the options and the place; Escape keeps nothing of what
# changed since.
def test_settings_across_runs_and_escape_saving_nothing(vek):
    vek.start()
    assert options(vek) == (1, 1, 0, "")
    left, top, right, bottom = place(vek)
    vek.settext(IDC_SERVER, "127.0.15.9")
    vek.send(IDC_QUERY_TYPE, CB_SETCURSEL, 17)
    vek.send(IDC_RECURSIVE, BM_SETCHECK, 0)
    vek.send(IDC_DETAILED_ERRORS, BM_SETCHECK, 1)
    placed = place(vek, 210, 130, right - left, bottom - top + 40)
    vek.post(0, 0x10)  # WM_CLOSE
    vek.ended()
    vek.start()
    assert options(vek) == (17, 0, 1, "127.0.15.9") and place(vek) == placed
    vek.settext(IDC_SERVER, "changed.example")
    place(vek, 300, 200, right - left, bottom - top)
    vek.key(IDC_SERVER, VK_ESCAPE)
    vek.ended()
    vek.start()
    assert options(vek) == (17, 0, 1, "127.0.15.9") and place(vek) == placed


# The program ends at once, the connection closes, and the options shown
# are kept.
def test_closing_during_a_lookup(vek, server):
    dns_server = server(24, [["accept"], ["read_query"], ["hold", 60]])
    vek.start()
    lookup(vek, dns_server.address, "slow.example.test")
    vek.wait_text(IDC_TCP_LOOKUP, BUSY)
    assert dns_server.sees("query", 30)
    vek.send(IDC_QUERY_TYPE, CB_SETCURSEL, 12)
    vek.send(IDC_DETAILED_ERRORS, BM_SETCHECK, 1)
    vek.post(0, 0x10)  # WM_CLOSE
    vek.ended()
    assert dns_server.sees("closed by client", 30)
    vek.start()
    assert options(vek) == (12, 1, 1, dns_server.address)
