#!/usr/bin/env python3
"""The "Set root server" menu: where it opens, each of its 13 items (by the
keyboard and by command id), dismissing it, and the fields it must leave as
they were."""
import settingsgui
from vekgui import (IDC_DETAILED_ERRORS, IDC_QUERY_TYPE, IDC_RECURSIVE, IDC_ROOT_SERVER,
                    IDC_SERVER, IDC_TARGET, IDC_TCP_LOOKUP,
                    IDC_WINSOCK_LOOKUP)

# Letter (the item's mnemonic), command id, and the server's IPv4 address
# as the current root hints give it.
ROOT_SERVERS = [
    ("a", 32775, "198.41.0.4"), ("b", 32776, "170.247.170.2"), ("c", 32777, "192.33.4.12"),
    ("d", 32771, "199.7.91.13"), ("e", 32778, "192.203.230.10"), ("f", 32779, "192.5.5.241"),
    ("g", 32780, "192.112.36.4"), ("h", 32781, "198.97.190.53"), ("i", 32782, "192.36.148.17"),
    ("j", 32783, "192.58.128.30"), ("k", 32784, "193.0.14.129"), ("l", 32785, "199.7.83.42"),
    ("m", 32786, "202.12.27.33"),
]


def assert_menu_below_button(s):
    button = s.screen_rect(IDC_ROOT_SERVER)
    menu = s.popup_rect()
    assert menu[0] == button[0] and menu[1] == button[3], (menu, button)


def test_menu_opens_below_the_button_and_escape_changes_nothing(s):
    s.run_vek()
    s.settext(IDC_SERVER, "127.0.15.53")
    s.click(IDC_ROOT_SERVER)
    assert_menu_below_button(s)
    s.popup_key("escape")
    assert s.text(IDC_SERVER) == "127.0.15.53"


def test_each_item_writes_its_address(s):
    s.run_vek()
    for letter, _, address in ROOT_SERVERS:
        s.click(IDC_ROOT_SERVER)
        s.popup_key(letter)
        assert s.text(IDC_SERVER) == address, (letter, s.text(IDC_SERVER))


def test_each_command_id_writes_its_address(s):
    s.run_vek()
    for letter, command, address in reversed(ROOT_SERVERS):
        s.command(command)
        s.wait_text(IDC_SERVER, address, ms=5000)


def test_a_choice_keeps_what_was_typed_and_set(s):
    s.run_vek()
    s.settext(IDC_TARGET, "typed.example")  # typed, not yet taken by the dialog
    s.select(IDC_QUERY_TYPE, 15)
    s.set_check(IDC_RECURSIVE, 0)
    s.set_check(IDC_DETAILED_ERRORS, 1)
    s.click(IDC_ROOT_SERVER)
    s.popup_key("k")
    assert s.text(IDC_SERVER) == "193.0.14.129"
    assert s.text(IDC_TARGET) == "typed.example"
    assert s.selected(IDC_QUERY_TYPE) == 15
    assert (s.checked(IDC_RECURSIVE), s.checked(IDC_DETAILED_ERRORS)) == (0, 1)


def test_the_menu_follows_a_moved_and_resized_window(s):
    s.run_vek()
    left, top, right, bottom = s.screen_rect()
    s.set_pos(173, 121, right - left, bottom - top)
    s.set_pos(173, 121, right - left, bottom - top + 60)
    assert s.screen_rect()[:2] == [173, 121], s.screen_rect()
    s.click(IDC_ROOT_SERVER)
    assert_menu_below_button(s)
    s.popup_key("d")
    assert s.text(IDC_SERVER) == "199.7.91.13"


def test_a_choice_during_a_lookup_outlasts_its_end(s):
    s.run_vek()
    s.start_busy_lookup(".83")
    s.click(IDC_ROOT_SERVER)
    s.popup_key("a")
    assert s.text(IDC_SERVER) == "198.41.0.4"
    s.click(IDC_TCP_LOOKUP)  # interrupts the lookup on the silent server
    s.wait_enabled(IDC_WINSOCK_LOOKUP)
    assert s.text(IDC_SERVER) == "198.41.0.4", s.text(IDC_SERVER)


if __name__ == "__main__":
    settingsgui.main_for("root-server-menu", 5, [
        test_menu_opens_below_the_button_and_escape_changes_nothing,
        test_each_item_writes_its_address,
        test_each_command_id_writes_its_address,
        test_a_choice_keeps_what_was_typed_and_set,
        test_the_menu_follows_a_moved_and_resized_window,
        test_a_choice_during_a_lookup_outlasts_its_end,
    ])
