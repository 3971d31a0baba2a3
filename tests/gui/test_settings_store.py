#!/usr/bin/env python3
"""What the window keeps between runs: the first run with an empty store,
options and rectangle written on close and restored on the next start, odd
stored values, Escape saving nothing, and a window closed while minimised or
maximised coming back on the screen."""
import struct
import time

import settingsgui
import vekgui
from settingsgui import (OPTIONS_KEY, RECT_KEY, RECT_VALUE, REG_BINARY, REG_DWORD, REG_SZ,
                         dword, rect_bytes)
from vekgui import IDC_DETAILED_ERRORS, IDC_OUTPUT, IDC_QUERY_TYPE, IDC_RECURSIVE, IDC_SERVER, IDC_TARGET


def size_of(rect):
    return rect[2] - rect[0], rect[3] - rect[1]


def assert_centred(s):
    left, top, right, bottom = s.screen_rect()
    area = s.work_area()
    width, height = right - left, bottom - top
    want = (area[0] + (area[2] - area[0] - width) // 2, area[1] + (area[3] - area[1] - height) // 2)
    assert abs(left - want[0]) <= 1 and abs(top - want[1]) <= 1, ((left, top), want)


def assert_shows(s, type_index, recursive, detailed, server):
    shown = (s.selected(IDC_QUERY_TYPE), s.checked(IDC_RECURSIVE), s.checked(IDC_DETAILED_ERRORS),
             s.text(IDC_SERVER))
    assert shown == (type_index, recursive, detailed, server), shown


# ---- first run, close, next run ----

def test_first_run_shows_the_defaults_centred_and_stores_the_rectangle(s):
    s.run_vek()
    assert_shows(s, 1, 1, 0, "")
    assert_centred(s)
    stored = struct.unpack("<4i", s.stored_rect())
    # The rectangle the window had before it was centred: the template's place.
    assert stored[:2] == (0, 0) and size_of(stored) == size_of(s.screen_rect()), stored
    assert s.option("Type") is None  # options are written only on close


def test_close_stores_what_the_window_shows_and_the_next_run_restores_it(s):
    s.run_vek()
    width, height = size_of(s.screen_rect())
    s.settext(IDC_SERVER, "127.0.15.9")
    s.select(IDC_QUERY_TYPE, 17)
    s.set_check(IDC_RECURSIVE, 0)
    s.set_check(IDC_DETAILED_ERRORS, 1)
    s.set_pos(210, 130, width, height + 40)
    placed = s.screen_rect()
    s.close_vek()
    assert [s.option(n) for n in ("Type", "Recursive", "Detailed errors")] == [17, 0, 1]
    assert s.option("DNS server") == (REG_SZ, b"127.0.15.9\0")
    assert s.stored_rect() == rect_bytes(*placed)

    s.run_vek()
    assert_shows(s, 17, 0, 1, "127.0.15.9")
    assert s.screen_rect() == placed, (s.screen_rect(), placed)
    assert s.text(IDC_TARGET) == ""  # the target is not kept


def test_an_empty_server_is_stored_as_an_empty_string(s):
    s.reg_set(OPTIONS_KEY, "DNS server", REG_SZ, b"ns.example\0")
    s.run_vek()
    s.settext(IDC_SERVER, "")
    s.close_vek()
    assert s.option("DNS server") == (REG_SZ, b"\0")


# ---- odd stored values ----

def test_odd_options_show_as_no_selection_clear_boxes_and_defaults(s):
    s.reg_set(OPTIONS_KEY, "Type", REG_DWORD, dword(25))
    s.reg_set(OPTIONS_KEY, "Recursive", REG_DWORD, dword(7))
    s.reg_set(OPTIONS_KEY, "Detailed errors", REG_SZ, b"1\0")  # wrong type: default 0
    s.reg_set(OPTIONS_KEY, "DNS server", REG_DWORD, dword(0x31323334))  # wrong type: default ""
    s.run_vek()
    assert_shows(s, -1, 0, 0, "")
    s.close_vek()
    assert [s.option(n) for n in ("Type", "Recursive", "Detailed errors")] == [-1, 0, 0]
    assert s.option("DNS server") == (REG_SZ, b"\0")


def test_a_text_without_terminator_is_read_whole(s):
    s.reg_set(OPTIONS_KEY, "DNS server", REG_SZ, b"127.0.15.10")
    s.run_vek()
    assert s.text(IDC_SERVER) == "127.0.15.10"


def test_a_short_rectangle_value_moves_only_the_fields_it_holds(s):
    s.reg_set(RECT_KEY, RECT_VALUE, REG_BINARY, struct.pack("<2i", 150, 90))  # 8 bytes
    s.run_vek()
    left, top, right, bottom = s.screen_rect()
    assert (left, top) == (150, 90), s.screen_rect()
    # The right and bottom kept are the template's, measured from (0, 0):
    # the width stays the window's own, the height loses the 90 pixels.
    stored = s.stored_rect()
    assert stored == struct.pack("<2i", 150, 90), stored
    s.close_vek()
    s.reg_clear()
    s.run_vek()
    full = size_of(s.screen_rect())
    assert (right - left, bottom - top) == (full[0], full[1] - 90), ((left, top, right, bottom), full)


def test_a_stored_rectangle_gives_its_place_and_height_but_never_its_width(s):
    s.run_vek()
    width, height = size_of(s.screen_rect())
    report_height = s.rect(IDC_OUTPUT)[3]
    s.close_vek()
    s.reg_set(RECT_KEY, RECT_VALUE, REG_BINARY, rect_bytes(150, 90, 150 + width + 200, 90 + height + 40))
    s.run_vek()
    assert s.screen_rect() == [150, 90, 150 + width, 90 + height + 40], s.screen_rect()
    s.close_vek()
    # So short that the report would be under 20 pixels: the top stays where
    # the window stood (the template's 0), the report gets exactly 20.
    s.reg_set(RECT_KEY, RECT_VALUE, REG_BINARY, rect_bytes(150, 90, 150 + width, 90 + 30))
    s.run_vek()
    assert s.screen_rect() == [150, 0, 150 + width, height - report_height + 20], s.screen_rect()
    assert s.rect(IDC_OUTPUT)[3] == 20


def test_a_rectangle_value_of_17_bytes_leaves_the_window_where_it_opens(s):
    value = rect_bytes(150, 90, 737, 431) + b"\x01"
    s.reg_set(RECT_KEY, RECT_VALUE, REG_BINARY, value)
    s.run_vek()
    assert_centred(s)
    assert s.stored_rect() == value


def test_a_rectangle_value_over_40_bytes_is_replaced_by_the_current_one(s):
    s.reg_set(RECT_KEY, RECT_VALUE, REG_BINARY, rect_bytes(150, 90, 737, 431) * 3)  # 48 bytes
    s.run_vek()
    assert_centred(s)
    stored = struct.unpack("<4i", s.stored_rect())
    assert stored[:2] == (0, 0) and size_of(stored) == size_of(s.screen_rect()), stored


def test_a_rectangle_stored_off_the_screen_is_not_restored(s):
    s.reg_set(RECT_KEY, RECT_VALUE, REG_BINARY, rect_bytes(-32000, -32000, -31413, -31659))
    s.run_vek()
    assert_centred(s)


# ---- ending without saving, ending minimised or maximised ----

def test_escape_leaves_the_store_untouched(s):
    s.reg_set(OPTIONS_KEY, "Type", REG_DWORD, dword(5))
    s.reg_set(OPTIONS_KEY, "DNS server", REG_SZ, b"127.0.15.11\0")
    s.reg_set(RECT_KEY, RECT_VALUE, REG_BINARY, rect_bytes(40, 30, 627, 371))
    before = s.snapshot()
    s.run_vek()
    s.settext(IDC_SERVER, "changed.example")
    s.select(IDC_QUERY_TYPE, 2)
    s.set_pos(300, 200, *size_of(s.screen_rect()))
    s.key(IDC_SERVER, "escape")
    s.gone()
    assert s.vek_exited(20)
    assert s.snapshot() == before


def test_closing_during_a_lookup_stores_the_options_shown(s):
    s.run_vek()
    server = s.start_busy_lookup(".82")
    s.select(IDC_QUERY_TYPE, 12)
    s.set_check(IDC_DETAILED_ERRORS, 1)
    s.close_vek()
    assert [s.option(n) for n in ("Type", "Recursive", "Detailed errors")] == [12, 1, 1]
    assert s.option("DNS server")[1] == (vekgui.test_net() + ".82").encode() + b"\0"
    vekgui.stop_process(server)


def settled_state(s, want, seconds=10):
    """The window's state once it is `want`, or as it stands after `seconds`:
    under Wine a minimise or maximise may show a moment after it is asked."""
    deadline = time.monotonic() + seconds
    while s.state() != want and time.monotonic() < deadline:
        time.sleep(0.05)
    return s.state()


def test_a_window_closed_minimised_or_maximised_comes_back_in_its_normal_place(s):
    for how in ("min", "max"):
        s.run_vek()
        width, height = size_of(s.screen_rect())
        placed = s.set_pos(260, 170, width, height)
        s.show(how)
        assert settled_state(s, how) == how, how
        s.close_vek()
        assert s.stored_rect() == rect_bytes(*placed), (how, struct.unpack("<4i", s.stored_rect()))
        s.run_vek()
        assert s.state() == "normal" and s.screen_rect() == placed, (how, s.screen_rect())
        s.close_vek()


if __name__ == "__main__":
    settingsgui.main_for("settings-store", 6, [
        test_first_run_shows_the_defaults_centred_and_stores_the_rectangle,
        test_close_stores_what_the_window_shows_and_the_next_run_restores_it,
        test_an_empty_server_is_stored_as_an_empty_string,
        test_odd_options_show_as_no_selection_clear_boxes_and_defaults,
        test_a_text_without_terminator_is_read_whole,
        test_a_short_rectangle_value_moves_only_the_fields_it_holds,
        test_a_stored_rectangle_gives_its_place_and_height_but_never_its_width,
        test_a_rectangle_value_of_17_bytes_leaves_the_window_where_it_opens,
        test_a_rectangle_value_over_40_bytes_is_replaced_by_the_current_one,
        test_a_rectangle_stored_off_the_screen_is_not_restored,
        test_escape_leaves_the_store_untouched,
        test_a_window_closed_minimised_or_maximised_comes_back_in_its_normal_place,
        test_closing_during_a_lookup_stores_the_options_shown,
    ])
