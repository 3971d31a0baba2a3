#!/usr/bin/env python3
"""The "DNS lookup" window as a user meets it: its controls and texts, the
query-type list, the string table, the command-line start, resolver lookups
through /etc/hosts, an empty target, the Enter and Escape keys."""
import vekgui
from dnsserver import ScriptedServer, a_reply, answer_after_release, parse_query
from vekgui import (IDC_ABOUT, IDC_DETAILED_ERRORS, IDC_OUTPUT, IDC_PASTE_TARGET, IDC_QUERY_TYPE,
                    IDC_RECURSIVE, IDC_REVERSE_QUERY, IDC_ROOT_SERVER, IDC_SAVE, IDC_SERVER,
                    IDC_STATUS, IDC_TARGET, IDC_TCP_LOOKUP, IDC_WINSOCK_LOOKUP, plain)

WS_CHILD, WS_VISIBLE, WS_BORDER, WS_TABSTOP = 0x40000000, 0x10000000, 0x800000, 0x10000
WS_GROUP, WS_VSCROLL, WS_EX_STATICEDGE, WS_EX_APPWINDOW = 0x20000, 0x200000, 0x20000, 0x40000
ES_MULTILINE, ES_AUTOVSCROLL, ES_AUTOHSCROLL = 0x4, 0x40, 0x80
ES_OEMCONVERT, ES_READONLY, ES_WANTRETURN = 0x400, 0x800, 0x1000
BS_AUTOCHECKBOX, BS_OWNERDRAW, BS_FLAT = 0x3, 0xB, 0x8000
CBS_DROPDOWNLIST, SS_SUNKEN = 0x3, 0x1000
WS_POPUP, WS_CAPTION, WS_SYSMENU, WS_THICKFRAME = 0x80000000, 0xC00000, 0x80000, 0x40000
WS_MINIMIZEBOX, WS_MAXIMIZEBOX, DS_SETFONT = 0x20000, 0x10000, 0x40
DIALOG = (WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX
          | WS_MAXIMIZEBOX | DS_SETFONT)
SHOWN = WS_CHILD | WS_VISIBLE
EDIT = SHOWN | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL
FLAT = SHOWN | WS_TABSTOP | BS_FLAT | BS_OWNERDRAW

# The template in tab order: id, class, text, (left, top, width, height) in
# dialog units, style, extended style.
TEMPLATE = [
    (IDC_TARGET, "Edit", "", (57, 3, 162, 13), EDIT, 0),
    (IDC_WINSOCK_LOOKUP, "Button", "Winsock lookup", (267, 3, 61, 13), FLAT, 0),
    (IDC_SERVER, "Edit", "", (57, 16, 111, 13), EDIT, 0),
    (IDC_QUERY_TYPE, "ComboBox", "", (169, 16, 158, 176), SHOWN | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, 0),
    (IDC_OUTPUT, "RICHEDIT", "", (3, 43, 324, 146), SHOWN | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE
     | ES_AUTOVSCROLL | ES_OEMCONVERT | ES_READONLY | ES_WANTRETURN, WS_EX_STATICEDGE),
    (IDC_TCP_LOOKUP, "Button", "TCP lookup", (219, 3, 48, 13), FLAT, 0),
    (IDC_PASTE_TARGET, "Button", "Target >", (3, 3, 54, 13), FLAT, 0),
    (IDC_DETAILED_ERRORS, "Button", "Detailed errors", (108, 31, 60, 10),
     SHOWN | WS_TABSTOP | BS_FLAT | BS_AUTOCHECKBOX, 0),
    (IDC_REVERSE_QUERY, "Button", "Reverse query", (97, 26, 60, 10), WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, 0),
    (IDC_RECURSIVE, "Button", "Recursive", (60, 31, 48, 10), SHOWN | WS_TABSTOP | BS_FLAT | BS_AUTOCHECKBOX, 0),
    (IDC_ROOT_SERVER, "Button", "Set root server", (3, 16, 54, 13), FLAT, 0),
    (IDC_SAVE, "Button", "Save data...", (235, 29, 92, 13), FLAT, 0),
    (IDC_STATUS, "Static", "Idle", (0, 177, 324, 11), WS_CHILD | WS_GROUP | SS_SUNKEN, 0),
    (IDC_ABOUT, "Button", "About...", (168, 29, 67, 13), FLAT, 0),
]

QUERY_TYPES = [
    "ANY   : all records", "A     : host address", "NS    : authoritative name server",
    "MD    : mail destination (Obsolete: use MX)", "MF    : mail forwarder (Obsolete: use MX)",
    "CNAME : the canonical name for an alias", "SOA   : start of a zone of authority",
    "MB    : mailbox domain name (EXP)", "MG    : mail group member (EXP)",
    "MR    : mail rename domain name (EXP)", "NULL  : null RR (EXP)",
    "WKS   : well known service description", "PTR   : domain name pointer",
    "HINFO : host information", "MINFO : mailbox or mail list information", "MX    : mail exchange",
    "TXT   : text strings", "AXFR  : transfer of an entire zone",
    "MAILB : mailbox-related RRs (MB, MG or MR)", "MAILA : mail agent RRs (Obsolete: use MX)",
]

RESOLVED_LOCALHOST = "Default lookup result:\n\tlocalhost resolved as 127.0.0.1"


def strings_def():
    """(id, text) of every numbered text, read from strings.def as C literals."""
    import ast
    import os
    import re
    folder = os.path.join(vekgui.ROOT, "src", "resources")
    entries = []
    for name in ("strings.def", "socket_error_strings.def"):
        with open(os.path.join(folder, name), encoding="latin-1") as f:
            for m in re.finditer(r'^S\((\d+),\s*(".*")\)\s*$', f.read(), re.M):
                entries.append((int(m.group(1)), ast.literal_eval(m.group(2))))
    return entries


@vekgui.case
def test_template_controls_and_texts(s):
    s.start_vek()
    assert s.find() == "DNS lookup"
    dialog, *controls = s.template(102)
    assert dialog == ["DNS lookup", "0 0 331 193", "%x" % DIALOG, "%x" % WS_EX_APPWINDOW, "8 MS Sans Serif"]
    for line in controls:
        line[1] = line[1].lower()
    assert controls == [[str(cid), cls.lower(), text, "%d %d %d %d" % box, "%x" % style, "%x" % ex]
                        for cid, cls, text, box, style, ex in TEMPLATE], controls
    # The running window: tab order, texts, what is shown, where it is.
    assert s.children() == [c[0] for c in TEMPLATE], s.children()
    _, _, width, height = s.rect(0)
    for cid, cls, text, box, style, _ in TEMPLATE:
        assert s.window_class(cid).lower() == cls.lower(), (cid, s.window_class(cid))
        if cls != "ComboBox":
            assert s.text(cid) == text, (cid, s.text(cid))
        assert s.visible(cid) == bool(style & WS_VISIBLE), cid
        left, top, w, h = s.rect(cid)
        got = (left * 331 / width, top * 193 / height, w * 331 / width, h * 193 / height)
        want = box if cls != "ComboBox" else box[:3]
        for a, b in zip(want, got):
            assert abs(a - b) <= 1.0, (cid, box, got)
    assert plain(s.text(IDC_OUTPUT)) == ""
    s.screenshot("idle")


@vekgui.case
def test_query_type_list_and_string_table(s):
    s.start_vek()
    s.find()
    assert s.list_lines(IDC_QUERY_TYPE) == QUERY_TYPES
    for sid, text in strings_def():
        assert s.load_string(sid) == text, (sid, s.load_string(sid), text)


@vekgui.case
def test_resolver_lookup_through_hosts(s):
    s.start_vek()
    s.find()
    s.settext(IDC_TARGET, "localhost")
    s.click(IDC_WINSOCK_LOOKUP)
    s.wait_text(IDC_OUTPUT, RESOLVED_LOCALHOST)
    s.wait_enabled(IDC_WINSOCK_LOOKUP)
    assert s.text(IDC_TCP_LOOKUP) == "TCP &lookup"
    assert s.text(IDC_TARGET) == "localhost"
    # A TCP lookup without a server is the resolver lookup; the Enter key in
    # the target field is the TCP lookup command.
    s.settext(IDC_OUTPUT, "")
    s.key(IDC_TARGET, "enter")
    s.wait_text(IDC_OUTPUT, RESOLVED_LOCALHOST)
    s.wait_enabled(IDC_WINSOCK_LOOKUP)
    # An address is looked up by name.
    s.settext(IDC_TARGET, "127.0.0.1")
    s.click(IDC_TCP_LOOKUP)
    s.wait_prefix(IDC_OUTPUT, "Default lookup result:\n\t127.0.0.1 (127.0.0.1) resolved as ")
    s.wait_enabled(IDC_WINSOCK_LOOKUP)
    # A new report leaves the controls, their tab order and the tab stops as they were.
    assert s.children() == [c[0] for c in TEMPLATE], s.children()
    assert s.exstyle(IDC_OUTPUT) & WS_EX_STATICEDGE
    s.screenshot("resolved")


@vekgui.case
def test_empty_target_changes_nothing(s):
    s.start_vek()
    s.find()
    s.settext(IDC_OUTPUT, "kept")
    s.click(IDC_TCP_LOOKUP)
    s.key(IDC_TARGET, "enter")
    s.settext(IDC_SERVER, "x")  # a later command is served: the first two were
    assert s.text(IDC_TCP_LOOKUP) == "TCP lookup"
    assert s.enabled(IDC_WINSOCK_LOOKUP)
    assert plain(s.text(IDC_OUTPUT)) == "kept"


@vekgui.case
def test_enter_in_the_server_field_and_paste_target(s):
    s.start_vek()
    s.find()
    # The Enter key in the server field is the TCP lookup command too.
    s.settext(IDC_TARGET, "localhost")
    s.key(IDC_SERVER, "enter")
    s.wait_text(IDC_OUTPUT, RESOLVED_LOCALHOST)
    s.settext(IDC_TARGET, "old text here")
    s.ask("clipboard text pasted.example.test")
    s.click(IDC_PASTE_TARGET)
    s.wait_text(IDC_TARGET, "pasted.example.test")
    s.ask("clipboard empty")  # nothing on the clipboard: the field stays
    s.click(IDC_PASTE_TARGET)
    s.settext(IDC_SERVER, "")  # served after the click
    assert s.text(IDC_TARGET) == "pasted.example.test"


@vekgui.case
def test_command_line_starts_a_lookup(s):
    # No saved server: the automatic start is the resolver lookup.
    s.start_vek("localhost")
    s.find()
    assert s.text(IDC_TARGET) == "localhost"
    s.wait_text(IDC_OUTPUT, RESOLVED_LOCALHOST)
    s.wait_text(IDC_TCP_LOOKUP, "TCP &lookup")


@vekgui.case
def test_command_line_with_a_saved_server_asks_it(s):
    address = vekgui.test_net() + ".28"
    server = s.keep_server(ScriptedServer(address, answer_after_release(a_reply), limit=30))
    server.release.set()
    s.set_option("DNS server", address)
    s.start_vek("www.example.test")
    s.find()
    assert s.text(IDC_SERVER) == address
    s.wait_text(IDC_TCP_LOOKUP, "TCP &lookup")
    assert parse_query(server.wait_query())[1] == "www.example.test"
    report = plain(s.text(IDC_OUTPUT))
    assert report.startswith("Reply from %s : " % address), report
    assert "192.0.2.7" in report, report


@vekgui.case
def test_command_line_of_two_words_is_one_target(s):
    s.start_vek("no-such-host.invalid", "second")
    s.find()
    s.wait_text(IDC_TCP_LOOKUP, "TCP &lookup")
    assert s.text(IDC_TARGET) == "no-such-host.invalid second"
    assert plain(s.text(IDC_OUTPUT)) != ""


@vekgui.case
def test_escape_ends_the_program(s):
    s.start_vek()
    s.find()
    s.key(IDC_TARGET, "escape")
    s.gone()
    assert s.vek_exited(10)


if __name__ == "__main__":
    vekgui.main_for("window", 0, private_prefix=True)
