#!/usr/bin/env python3
"""TCP lookups in the window against a scripted server on loopback port 53:
the busy, interrupting and idle states with their captions, an interrupt by
the button and by the Enter key, closing the window during a lookup, and a
zone transfer of 1,000,000 records shown whole."""
import re
import time

import vekgui
from dnsserver import (FullListener, ScriptedServer, a_reply, answer_after_release, axfr_stream,
                       hold_until_client_closes, parse_query, send_stream)
from vekgui import IDC_OUTPUT, IDC_QUERY_TYPE, IDC_SERVER, IDC_TARGET, IDC_TCP_LOOKUP, IDC_WINSOCK_LOOKUP, plain

NET = vekgui.test_net()
IDLE = "TCP &lookup"
BUSY = "&Interrupt"
INTERRUPTING = "Interrupting.."
NO_DATA = "Lookup failed: no data recieved"


def start_lookup(s, server, target, type_line=1):
    s.start_vek()
    s.find()
    s.settext(IDC_TARGET, target)
    s.settext(IDC_SERVER, server)
    s.select(IDC_QUERY_TYPE, type_line)
    s.click(IDC_TCP_LOOKUP)


@vekgui.case
def test_tcp_lookup_busy_then_reply(s):
    address = NET + ".21"
    server = s.keep_server(ScriptedServer(address, answer_after_release(a_reply), limit=30))
    start_lookup(s, address, "www.example.test")
    s.wait_text(IDC_TCP_LOOKUP, BUSY)
    assert s.enabled(IDC_TCP_LOOKUP) and not s.enabled(IDC_WINSOCK_LOOKUP)
    flags, name, qtype = parse_query(server.wait_query())
    assert (name, qtype, flags) == ("www.example.test", 1, 0x0100)
    s.screenshot("busy")
    server.release.set()
    s.wait_text(IDC_TCP_LOOKUP, IDLE)
    report = plain(s.text(IDC_OUTPUT))
    assert report.startswith("Reply from %s : " % address), report
    assert "192.0.2.7" in report, report
    assert s.enabled(IDC_WINSOCK_LOOKUP) and s.enabled(IDC_TCP_LOOKUP)
    assert s.text(IDC_TARGET) == "www.example.test"
    s.screenshot("reply")


@vekgui.case
def test_interrupt_closes_the_connection(s):
    for n, press in ((22, "button"), (23, "enter")):
        address = NET + ".%d" % n
        server = s.keep_server(ScriptedServer(address, hold_until_client_closes, limit=30))
        if n == 22:
            start_lookup(s, address, "slow.example.test")
        else:
            s.settext(IDC_SERVER, address)
            s.key(IDC_TARGET, "enter")
        s.wait_text(IDC_TCP_LOOKUP, BUSY)
        assert server.wait_query() is not None
        if press == "button":
            s.click(IDC_TCP_LOOKUP)
        else:
            s.key(IDC_TARGET, "enter")
        assert server.client_closed.wait(10), "the interrupt left the connection open"
        s.wait_text(IDC_TCP_LOOKUP, IDLE)
        s.wait_text(IDC_OUTPUT, NO_DATA)
        assert s.enabled(IDC_WINSOCK_LOOKUP) and s.enabled(IDC_TCP_LOOKUP)


@vekgui.case
def test_interrupting_state_lasts_until_the_lookup_ends(s):
    # The connect waits on a full accept queue: there is no socket to close
    # yet, so the dialog stays interrupting until the connect completes.
    address = NET + ".26"
    listener = s.keep_server(FullListener(address))
    start_lookup(s, address, "held.example.test")
    s.wait_text(IDC_TCP_LOOKUP, BUSY)
    s.click(IDC_TCP_LOOKUP)
    s.wait_text(IDC_TCP_LOOKUP, INTERRUPTING)
    assert not s.enabled(IDC_TCP_LOOKUP) and not s.enabled(IDC_WINSOCK_LOOKUP)
    s.key(IDC_TARGET, "enter")  # a second request changes nothing
    time.sleep(0.5)
    assert s.text(IDC_TCP_LOOKUP) == INTERRUPTING and not s.enabled(IDC_TCP_LOOKUP)
    s.screenshot("interrupting")
    listener.release()
    s.wait_text(IDC_TCP_LOOKUP, IDLE)
    assert s.enabled(IDC_TCP_LOOKUP) and s.enabled(IDC_WINSOCK_LOOKUP)


@vekgui.case
def test_closing_during_a_lookup_ends_the_program(s):
    address = NET + ".24"
    server = s.keep_server(ScriptedServer(address, hold_until_client_closes, limit=30))
    start_lookup(s, address, "slow.example.test")
    s.wait_text(IDC_TCP_LOOKUP, BUSY)
    assert server.wait_query() is not None
    s.close()
    s.gone()
    assert s.vek_exited(10), "vek.exe still runs after its window closed"
    assert server.client_closed.wait(10), "the connection stayed open"


@vekgui.case
def test_report_of_1000000_records_is_shown_whole(s):
    address = NET + ".25"
    count = 1000000
    stream = axfr_stream("xfr.test", count)
    server = s.keep_server(ScriptedServer(address, send_stream(stream), limit=120))
    start_lookup(s, address, "xfr.test", type_line=17)
    started = time.monotonic()
    states = s.watch(IDC_OUTPUT, IDC_TCP_LOOKUP, IDLE, ms=120000)
    shown = time.monotonic() - started
    # The progress text is on screen before the report replaces it.
    assert [text for text, _ in states if text][:1] == ["Data recieved, decoding..."], states
    assert server.wait_query() is not None
    report = plain(s.text(IDC_OUTPUT))
    summary = "Recieved %d records (%d bytes) in reply to AXFR request." % (count, len(stream))
    assert report.rstrip("\n").endswith(summary), report[-300:]
    names = set(int(n) for n in re.findall(r"\th(\d+)\.xfr\.test", report))
    assert names == set(range(1, count - 1)), "%d of %d names shown" % (len(names), count - 2)
    print("1,000,000-record transfer: %.1f s from click to idle, %d report characters" % (shown, len(report)))
    # A report this long is in the plain text view that stands in for the
    # Rich Edit control, which cannot lay it out.
    assert s.window_class(IDC_OUTPUT) == "VekTextView"
    s.screenshot("transfer")
    # The next lookup replaces the large report.
    s.settext(IDC_TARGET, "localhost")
    started = time.monotonic()
    s.click(IDC_WINSOCK_LOOKUP)
    s.wait_text(IDC_OUTPUT, "Default lookup result:\n\tlocalhost resolved as 127.0.0.1", ms=120000)
    print("replacing it: %.1f s" % (time.monotonic() - started))
    # A short report is back in the Rich Edit control of the dialog's template.
    assert s.window_class(IDC_OUTPUT).upper() == "RICHEDIT"


if __name__ == "__main__":
    vekgui.main_for("lookup", 1, private_prefix=True)
