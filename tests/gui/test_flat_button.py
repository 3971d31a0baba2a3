#!/usr/bin/env python3
"""The flat buttons of the real vek.exe under a real pointer (xdotool on the
virtual display): which presses and releases click, double clicks, the
default button following the focus, and the looks (etched at rest, raised
under the pointer, sunken while pressed, embossed when disabled, the focus
frame) sampled from screenshots against Wine's own system colours."""
import time

import looks
import vekgui
from pixels import Screenshot
from pointer import centre, xdotool
from dialogs import ABOUT, HELP, IDC_QUICK_HELP, IDCANCEL, open_about_from_menu, open_dialog, screen_rect, wait_until
from vekgui import IDC_ABOUT, IDC_PASTE_TARGET, IDC_ROOT_SERVER, IDC_TARGET, IDC_TCP_LOOKUP


def start(s):
    s.start_vek()
    s.find()
    s.ask("hookclicks")


def clicks(s, cid):
    return int(s.ask("clicks %d" % cid))


def assert_clicks(s, cid, want):
    """The count reaches `want` and stays there a little while."""
    assert wait_until(lambda: clicks(s, cid) >= want), (cid, clicks(s, cid), want)
    time.sleep(0.5)
    assert clicks(s, cid) == want, (cid, clicks(s, cid), want)


def face_beside(s, cid):
    """A point on the dialog's face just below a control of the left column."""
    left, top, right, bottom = screen_rect(s, IDC_ROOT_SERVER)
    return (left + right) // 2, bottom + 6


def assert_look(s, cid, look, label, focused=False):
    """Waits (bounded) for the button to show the look; returns the shot."""
    colours = looks.system_colours(s)
    rect = screen_rect(s, cid)
    seen = {}

    def matches():
        shot = Screenshot(s, label)
        seen["shot"] = shot
        seen["edges"] = looks.edge_mismatches(shot, rect, look, colours)
        seen["focus"] = looks.focus_frame_shown(shot, rect, colours)
        return not seen["edges"] and seen["focus"] == focused

    assert wait_until(matches, 3.0), (label, look, seen["edges"], "focus frame", seen["focus"])
    return seen["shot"]


@vekgui.case
def test_press_on_release_outside_gives_no_command(s):
    start(s)
    rect = screen_rect(s, IDC_PASTE_TARGET)
    xdotool(s, "mousemove", *centre(rect), "mousedown", 1)
    try:
        assert_look(s, IDC_PASTE_TARGET, "pressed", "pressed-on")
        output = screen_rect(s, vekgui.IDC_OUTPUT)
        xdotool(s, "mousemove", *centre(output))
        # Held outside, the button keeps its pressed look.
        assert_look(s, IDC_PASTE_TARGET, "pressed", "pressed-dragged-off")
    finally:
        xdotool(s, "mouseup", 1)
    assert_clicks(s, IDC_PASTE_TARGET, 0)
    # Back at rest; the press gave it the focus, so it shows the focus frame.
    assert_look(s, IDC_PASTE_TARGET, "normal", "released-outside", focused=True)


@vekgui.case
def test_press_beside_then_drag_onto_and_release_gives_one_command(s):
    start(s)
    xdotool(s, "mousemove", *face_beside(s, IDC_PASTE_TARGET), "mousedown", 1)
    try:
        xdotool(s, "mousemove", *centre(screen_rect(s, IDC_PASTE_TARGET)))
        assert_look(s, IDC_PASTE_TARGET, "pressed", "dragged-on")
    finally:
        xdotool(s, "mouseup", 1)
    assert_clicks(s, IDC_PASTE_TARGET, 1)


@vekgui.case
def test_double_click_gives_two_commands(s):
    start(s)
    xdotool(s, "mousemove", *centre(screen_rect(s, IDC_PASTE_TARGET)))
    xdotool(s, "click", "--repeat", 2, "--delay", 80, 1)
    assert_clicks(s, IDC_PASTE_TARGET, 2)
    xdotool(s, "click", 1)
    assert_clicks(s, IDC_PASTE_TARGET, 3)


@vekgui.case
def test_focus_makes_a_button_the_default(s):
    start(s)
    xdotool(s, "mousemove", *centre(screen_rect(s, IDC_TARGET)), "click", 1)
    assert wait_until(lambda: s.ask("focus") == str(IDC_TARGET))
    assert s.ask("defid") == str(IDC_TCP_LOOKUP)
    # The tab order runs round from the target field back to "About...".
    xdotool(s, "key", "shift+Tab")
    assert wait_until(lambda: s.ask("focus") == str(IDC_ABOUT))
    assert s.ask("defid") == str(IDC_ABOUT)
    assert_look(s, IDC_ABOUT, "normal", "about-focused", focused=True)
    xdotool(s, "key", "Tab")
    assert wait_until(lambda: s.ask("focus") == str(IDC_TARGET))
    assert s.ask("defid") == str(IDC_TCP_LOOKUP)
    # Enter clicks the focused button: "About..." opens the About box.
    xdotool(s, "key", "shift+Tab")
    assert wait_until(lambda: s.ask("focus") == str(IDC_ABOUT))
    xdotool(s, "key", "Return")
    open_dialog(s, ABOUT)
    assert clicks(s, IDC_ABOUT) == 1
    xdotool(s, "key", "Escape")
    s.gone()
    s.find()
    # A press released outside focuses "Target >" without clicking it;
    # Enter then clicks it, and Tab hands the default back.
    xdotool(s, "mousemove", *centre(screen_rect(s, IDC_PASTE_TARGET)), "mousedown", 1)
    xdotool(s, "mousemove", *centre(screen_rect(s, vekgui.IDC_OUTPUT)), "mouseup", 1)
    assert wait_until(lambda: s.ask("defid") == str(IDC_PASTE_TARGET))
    xdotool(s, "key", "Return")
    assert_clicks(s, IDC_PASTE_TARGET, 1)
    # The space bar is the standard button's own, and clicks it too.
    xdotool(s, "key", "space")
    assert_clicks(s, IDC_PASTE_TARGET, 2)
    xdotool(s, "key", "Tab")
    assert wait_until(lambda: s.ask("defid") == str(IDC_TCP_LOOKUP))
    assert s.ask("focus") != str(IDC_PASTE_TARGET)


@vekgui.case
def test_looks_at_rest_under_the_pointer_and_pressed(s):
    start(s)
    rect = screen_rect(s, IDC_PASTE_TARGET)
    text = looks.system_colours(s)["text"]
    xdotool(s, "mousemove", *centre(screen_rect(s, vekgui.IDC_OUTPUT)))
    assert_look(s, IDC_PASTE_TARGET, "normal", "look-normal")
    xdotool(s, "mousemove", *centre(rect))
    hot = assert_look(s, IDC_PASTE_TARGET, "hot", "look-hot")
    xdotool(s, "mousedown", 1)
    try:
        pressed = assert_look(s, IDC_PASTE_TARGET, "pressed", "look-pressed")
    finally:
        xdotool(s, "mousemove", *centre(screen_rect(s, vekgui.IDC_OUTPUT)), "mouseup", 1)
    # The pressed caption sits one pixel right of and below the hot one.
    hot_box, pressed_box = looks.caption_box(hot, rect, text), looks.caption_box(pressed, rect, text)
    assert hot_box and pressed_box == tuple(v + 1 for v in hot_box), (hot_box, pressed_box)
    # The pointer left it: at rest again, with the focus frame the press gave.
    assert_look(s, IDC_PASTE_TARGET, "normal", "look-focused", focused=True)
    xdotool(s, "mousemove", *centre(rect))
    assert_look(s, IDC_PASTE_TARGET, "hot", "look-hot-focused", focused=True)


@vekgui.case
def test_disabled_look_and_repaint_on_change(s):
    start(s)
    rect = screen_rect(s, IDC_ROOT_SERVER)
    colours = looks.system_colours(s)
    xdotool(s, "mousemove", *centre(screen_rect(s, vekgui.IDC_OUTPUT)))
    s.ask("enable %d 0" % IDC_ROOT_SERVER)
    # The etched edge is the same as at rest: wait for the embossed caption.
    seen = {}

    def embossed():
        shot = assert_look(s, IDC_ROOT_SERVER, "disabled", "look-disabled")
        seen["emboss"] = looks.emboss_shift(shot, rect, colours)
        seen["plain"] = looks.caption_box(shot, rect, colours["text"])
        found, shift, share = seen["emboss"]
        return found > 20 and shift == (1, 1) and share > 0.75 and seen["plain"] is None

    assert wait_until(embossed), seen
    s.ask("enable %d 1" % IDC_ROOT_SERVER)
    shot = assert_look(s, IDC_ROOT_SERVER, "normal", "look-enabled-again")
    before = looks.caption_box(shot, rect, colours["text"])
    # A new caption shows at once.
    s.settext(IDC_ROOT_SERVER, "Root")
    assert wait_until(lambda: looks.caption_box(Screenshot(s, "look-new-caption"), rect, colours["text"]) not in
                      (None, before)), before


@vekgui.case
def test_about_box_buttons_are_flat(s):
    start(s)
    open_about_from_menu(s)
    assert_look(s, IDCANCEL, "normal", "about-ok", focused=True)
    assert_look(s, IDC_QUICK_HELP, "normal", "about-quick-help")
    xdotool(s, "mousemove", *centre(screen_rect(s, IDC_QUICK_HELP)))
    assert_look(s, IDC_QUICK_HELP, "hot", "about-quick-help-hot")
    xdotool(s, "click", 1)
    open_dialog(s, HELP)
    assert_look(s, IDCANCEL, "normal", "help-done", focused=True)


if __name__ == "__main__":
    vekgui.main_for("flat-button", 5)
