#!/usr/bin/env python3
"""The About box and Quick help on the real vek.exe: their templates, the
About box from the "About..." button and from the system menu, Quick help
from it and back, the help text byte for byte, closing with "OK", "Done",
Enter and Escape, both boxes centred over their owners, and the links'
hand pointer and colours."""
import time

import vekgui
from dialogs import (ABOUT, ABOUT_COMMAND, HELP, IDC_FEEDBACK_LINK, IDC_HELP_TEXT, IDC_QUICK_HELP, IDC_WEB_LINK,
                     IDCANCEL, click_on, open_about_from_menu, open_dialog, screen_rect, settle, shown, wait_until)
from pixels import Screenshot
from pointer import centre, cursor_shape, xdotool
from vekgui import IDC_ABOUT

HAND = (32, 32, 8, 2)  # the link pointer: 32 by 32, hot spot at the fingertip
BLUE, CYAN = (0, 0, 255), (0, 255, 255)

WS_VISIBLE, WS_GROUP, WS_TABSTOP = 0x10000000, 0x20000, 0x10000
WS_POPUP, WS_CAPTION, WS_SYSMENU, DS_MODALFRAME, DS_SETFONT = 0x80000000, 0xC00000, 0x80000, 0x80, 0x40
SS_ICON, SS_NOPREFIX, SS_LEFTNOWORDWRAP = 0x3, 0x80, 0xC
BS_OWNERDRAW, BS_LEFT, BS_FLAT = 0xB, 0x100, 0x8000
ES_MULTILINE, ES_AUTOHSCROLL, ES_READONLY, ES_WANTRETURN = 0x4, 0x80, 0x800, 0x1000
WS_EX_STATICEDGE = 0x20000
CHILD = 0x40000000 | WS_VISIBLE
BOX = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT
FLAT = CHILD | BS_OWNERDRAW | BS_FLAT | WS_TABSTOP
LINK = CHILD | BS_OWNERDRAW | BS_LEFT | BS_FLAT | WS_TABSTOP

# (id, class, text, box, style, extended style) of templates 100 and 23455.
ABOUT_ITEMS = [
    (-1, "Static", "#128", (7, 7, 21, 20), CHILD | SS_ICON, 0),
    (IDCANCEL, "Button", "OK", (133, 7, 50, 15), FLAT | WS_GROUP, 0),
    (-1, "Static", "Corvane Vek version 0.4.1", (35, 7, 90, 8), CHILD | SS_LEFTNOWORDWRAP | SS_NOPREFIX | WS_GROUP, 0),
    (-1, "Static", "Copyright (C) Corvane", (35, 17, 83, 8), CHILD, 0),
    (-1, "Static", "Feedback:", (7, 29, 35, 8), CHILD, 0),
    (IDC_FEEDBACK_LINK, "Button", "vek@example.com", (43, 29, 73, 8), LINK, 0),
    (-1, "Static", "Web site:", (7, 38, 31, 8), CHILD, 0),
    (IDC_WEB_LINK, "Button", "http://www.example.com/", (43, 38, 121, 8), LINK, 0),
    (IDC_QUICK_HELP, "Button", "Quick help", (133, 22, 50, 15), FLAT | WS_GROUP, 0),
]
HELP_ITEMS = [
    (IDCANCEL, "Button", "Done", (3, 129, 297, 16), FLAT, 0),
    (IDC_HELP_TEXT, "Edit", "", (3, 3, 297, 123),
     CHILD | ES_MULTILINE | ES_AUTOHSCROLL | ES_READONLY | ES_WANTRETURN | WS_TABSTOP, WS_EX_STATICEDGE),
]

# The help text as the dialog must show it: fifteen lines, CR LF between
# them and none after the last; the blanks at line ends belong to it.
HELP_LINES = [
    "  This is a TCP-based DNS client that supports most of the available options, including ",
    "AXFR zone transfer. It has two operation modes - traditional and extended. ",
    "In first mode it asks address or host name by the default means of Windows sockets. ",
    "In extended mode it utilizes TCP connection to acquire any info that can be supplied by",
    "server, including AXFR. TCP ensures reliable data connection and full data set from server",
    "(default UDP answer data amount is limited to packet size).",
    "",
    "Ovek supports 20 different queries to nameserver, which are shortly described in drop-list.",
    "Default operation mode is extended, but if no server selected, host will be looked up by ",
    "Windows sockets.",
    "In case none of the DNS servers are known, Vek has default pre-defined root server list.",
    "WARNING: root servers contain only authority information and can't be used in regular lookup",
    "purposes - it's only a starting point for domain information discovery.",
    "The current list of root servers can be found at ftp://ftp.internic.net/domain/named.root",
    "For more information, please visit our web site at http://www.example.com/",
]
HELP_TEXT = "\r\n".join(HELP_LINES)


def start(s):
    s.start_vek()
    s.find()


def assert_centred_over(s, caption, owner):
    open_dialog(s, owner)
    over = screen_rect(s)
    open_dialog(s, caption)
    box = screen_rect(s)
    assert s.ask("owner") == owner, s.ask("owner")
    # Centred: the middles agree to a pixel (the box lies well within the screen).
    assert abs((box[0] + box[2]) - (over[0] + over[2])) <= 2, (box, over)
    assert abs((box[1] + box[3]) - (over[1] + over[3])) <= 2, (box, over)


@vekgui.case
def test_templates(s):
    start(s)
    for tid, caption, size, items in ((100, ABOUT, (189, 55), ABOUT_ITEMS), (23455, HELP, (303, 148), HELP_ITEMS)):
        dialog, *controls = s.template(tid)
        assert dialog == [caption, "0 0 %d %d" % size, "%x" % BOX, "0", "8 MS Sans Serif"], dialog
        for line in controls:
            line[1] = line[1].lower()
        want = [[str(cid & 0xFFFFFFFF), cls.lower(), text, "%d %d %d %d" % box, "%x" % style, "%x" % ex]
                for cid, cls, text, box, style, ex in items]
        assert controls == want, (tid, controls)


@vekgui.case
def test_about_button_opens_the_box_and_ok_closes_it(s):
    start(s)
    click_on(s, IDC_ABOUT)
    open_dialog(s, ABOUT)
    assert_centred_over(s, ABOUT, "DNS lookup")
    assert s.ask("focus") == str(IDCANCEL), "the focus starts on OK"
    assert s.ask("defid") == str(IDCANCEL), "OK is the default button"
    s.find()
    assert not s.enabled(0), "the About box is modal"
    open_dialog(s, ABOUT)
    s.screenshot("about-box")
    click_on(s, IDCANCEL)
    s.gone()
    s.find()
    assert wait_until(lambda: s.enabled(0))


@vekgui.case
def test_system_menu_about_command_with_any_low_bits(s):
    start(s)
    for command, key in ((ABOUT_COMMAND, "Escape"), (ABOUT_COMMAND + 1, "Return"), (ABOUT_COMMAND + 15, "Escape")):
        open_about_from_menu(s, command)
        settle(s)
        xdotool(s, "key", key)  # Enter clicks the default button, "OK"
        s.gone()
    s.find()
    s.ask("syscommand %d" % (ABOUT_COMMAND + 16))  # 32: not the About item
    time.sleep(1.0)
    assert not shown(s, ABOUT)


@vekgui.case
def test_quick_help_text_read_only_and_unwrapped(s):
    start(s)
    open_about_from_menu(s)
    click_on(s, IDC_QUICK_HELP)
    open_dialog(s, HELP)
    assert_centred_over(s, HELP, ABOUT)
    assert s.text(IDC_HELP_TEXT) == HELP_TEXT, repr(s.text(IDC_HELP_TEXT))
    s.screenshot("quick-help")
    # Typing into the text changes nothing.
    click_on(s, IDC_HELP_TEXT)
    xdotool(s, "type", "--delay", "20", "xyz")
    xdotool(s, "key", "BackSpace", "Delete", "Return")
    time.sleep(0.5)
    assert s.text(IDC_HELP_TEXT) == HELP_TEXT
    assert shown(s, HELP)


@vekgui.case
def test_done_and_escape_return_to_the_about_box(s):
    start(s)
    open_about_from_menu(s)
    for close in ("Done", "Escape"):
        click_on(s, IDC_QUICK_HELP)
        open_dialog(s, HELP)
        open_dialog(s, ABOUT)
        assert not s.enabled(0), "the About box waits under Quick help"
        open_dialog(s, HELP)
        if close == "Done":
            click_on(s, IDCANCEL)
        else:
            xdotool(s, "key", "Escape")
        s.gone()
        open_dialog(s, ABOUT)
        assert wait_until(lambda: s.enabled(0)), close
        settle(s)
    xdotool(s, "key", "Escape")
    s.gone()
    s.find()
    assert wait_until(lambda: s.enabled(0))


@vekgui.case
def test_links_hand_pointer_and_colours(s):
    start(s)
    open_about_from_menu(s)
    for cid in (IDC_FEEDBACK_LINK, IDC_WEB_LINK):
        xdotool(s, "mousemove", *centre(screen_rect(s, cid)))
        assert wait_until(lambda: cursor_shape(s) == HAND), (cid, cursor_shape(s))
    for cid in (IDCANCEL, IDC_QUICK_HELP):
        xdotool(s, "mousemove", *centre(screen_rect(s, cid)))
        assert wait_until(lambda: cursor_shape(s) != HAND), cid
    link = screen_rect(s, IDC_WEB_LINK)
    link_colours = lambda label: Screenshot(s, label).colours_in(link) & {BLUE, CYAN}  # noqa: E731
    assert link_colours("link-at-rest") == {BLUE}
    # Held down it turns cyan; released outside it is blue again, and nothing opens.
    xdotool(s, "mousemove", *centre(link), "mousedown", 1)
    try:
        assert wait_until(lambda: link_colours("link-held") == {CYAN}), "held link not cyan"
        xdotool(s, "mousemove", link[0] + 2, link[3] + 12)
    finally:
        xdotool(s, "mouseup", 1)
    assert wait_until(lambda: link_colours("link-released") == {BLUE}), "released link not blue"
    assert s.enabled(0), "nothing opened over the About box"


if __name__ == "__main__":
    vekgui.main_for("about", 4)
