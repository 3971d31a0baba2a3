#!/usr/bin/env python3
"""The window's sizing rule, as drags of its edges and programs' moves meet
it: the width never changes, a change of height goes to the report control
with the status line following, the report never drops under 20 pixels, and
the pass-through cases leave the controls alone."""
import settingsgui
from settingsgui import SWP_NOCOPYBITS, SWP_NOMOVE, SWP_NOSIZE, SWP_STATECHANGED
from vekgui import IDC_OUTPUT, IDC_STATUS

LOWEST_REPORT = 20


class Before:
    """The window's rectangle and the two controls' client rectangles."""

    def __init__(self, s):
        self.left, self.top, right, bottom = s.screen_rect()
        self.width, self.height = right - self.left, bottom - self.top
        self.report = s.rect(IDC_OUTPUT)
        self.status = s.rect(IDC_STATUS)


def placed(s):
    """A window away from the screen's left edge, as most are."""
    s.run_vek()
    b = Before(s)
    s.set_pos(120, 100, b.width, b.height)
    return Before(s)


def assert_grown(s, b, delta, top):
    assert s.screen_rect() == [b.left, top, b.left + b.width, top + b.height + delta], s.screen_rect()
    x, y, w, h = b.report
    assert s.rect(IDC_OUTPUT) == [x, y, w, h + delta], (s.rect(IDC_OUTPUT), b.report)
    x, y, w, h = b.status
    assert s.rect(IDC_STATUS) == [x, y + delta, w, h], (s.rect(IDC_STATUS), b.status)


def assert_unchanged(s, b, rect=None):
    assert s.screen_rect() == (rect or [b.left, b.top, b.left + b.width, b.top + b.height]), s.screen_rect()
    assert s.rect(IDC_OUTPUT) == b.report and s.rect(IDC_STATUS) == b.status


# ---- height changes go to the report control ----

def test_dragging_the_bottom_edge_resizes_the_report_and_moves_the_status_line(s):
    b = placed(s)
    s.set_pos(b.left, b.top, b.width, b.height + 30)
    assert_grown(s, b, 30, b.top)
    b = Before(s)
    s.set_pos(b.left, b.top, b.width, b.height - 45)
    assert_grown(s, b, -45, b.top)


def test_dragging_the_top_edge_does_the_same_with_the_top_following(s):
    b = placed(s)
    s.set_pos(b.left, b.top - 30, b.width, b.height + 30)
    assert_grown(s, b, 30, b.top - 30)


def test_the_report_never_drops_under_20_pixels(s):
    b = placed(s)
    report_height = b.report[3]
    floor = LOWEST_REPORT - report_height
    s.set_pos(b.left, b.top, b.width, b.height - report_height - 50)  # bottom edge far up
    assert_grown(s, b, floor, b.top)
    s.set_pos(b.left, b.top, b.width, b.height + 200)
    b = Before(s)
    report_height = b.report[3]
    s.set_pos(b.left, b.top + report_height, b.width, b.height - report_height)  # top edge down
    assert_grown(s, b, LOWEST_REPORT - report_height, b.top)  # the top stays


# ---- the width is fixed ----

def test_dragging_the_right_or_left_edge_changes_nothing(s):
    b = placed(s)
    s.set_pos(b.left, b.top, b.width + 60, b.height)
    assert_unchanged(s, b)
    s.set_pos(b.left - 60, b.top, b.width + 60, b.height)
    assert_unchanged(s, b)


def test_at_the_screen_edge_the_left_edge_moves_the_window_keeping_its_width(s):
    b = placed(s)
    s.set_pos(0, b.top, b.width, b.height)
    s.set_pos(40, b.top, b.width - 40, b.height)
    assert_unchanged(s, b, [40, b.top, 40 + b.width, b.top + b.height])


# ---- what passes unchanged ----

def test_no_move_no_size_and_same_size_changes_pass_unchanged(s):
    b = placed(s)
    s.set_pos(b.left + 15, b.top + 25, b.width, b.height)  # a move keeping the size
    assert_unchanged(s, b, [b.left + 15, b.top + 25, b.left + 15 + b.width, b.top + 25 + b.height])
    b = Before(s)
    s.set_pos(0, 0, b.width + 50, b.height + 50, SWP_NOMOVE)  # taken as it is, width too
    assert_unchanged(s, b, [b.left, b.top, b.left + b.width + 50, b.top + b.height + 50])
    b = Before(s)
    s.set_pos(b.left + 5, b.top + 5, 10, 10, SWP_NOSIZE)
    assert_unchanged(s, b, [b.left + 5, b.top + 5, b.left + 5 + b.width, b.top + 5 + b.height])


def test_a_change_of_state_passes_unchanged(s):
    b = placed(s)
    flags = SWP_STATECHANGED | SWP_NOCOPYBITS  # with a change of minimised/maximised state
    proposal = [0, 0, b.width + 300, b.height + 300, flags]
    assert s.pos_changing(*proposal) == proposal
    assert_unchanged(s, b)
    assert s.pos_changing(b.left, b.top, b.width, b.height + 10, SWP_STATECHANGED) == \
        [b.left, b.top, b.width, b.height + 10, SWP_STATECHANGED]  # the rule applies
    assert s.rect(IDC_OUTPUT)[3] == b.report[3] + 10 and s.rect(IDC_STATUS)[1] == b.status[1] + 10


def test_maximising_and_restoring_bring_the_controls_back(s):
    b = placed(s)
    s.show("max")
    assert s.state() == "max"
    s.show("restore")
    assert_unchanged(s, b)


if __name__ == "__main__":
    settingsgui.main_for("window-sizing", 7, [
        test_dragging_the_bottom_edge_resizes_the_report_and_moves_the_status_line,
        test_dragging_the_top_edge_does_the_same_with_the_top_following,
        test_the_report_never_drops_under_20_pixels,
        test_dragging_the_right_or_left_edge_changes_nothing,
        test_at_the_screen_edge_the_left_edge_moves_the_window_keeping_its_width,
        test_no_move_no_size_and_same_size_changes_pass_unchanged,
        test_a_change_of_state_passes_unchanged,
        test_maximising_and_restoring_bring_the_controls_back,
    ])
