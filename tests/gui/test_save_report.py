#!/usr/bin/env python3
"""Saving the report through the real save dialog: the proposed name, the
file types, CR LF line ends and nothing else in the file, overwriting only
after the question, a cancelled dialog, a file that cannot be written, and a
save while a lookup runs."""
import os
import shutil
import tempfile
import time

import settingsgui
import vekgui
from settingsgui import wine_path
from vekgui import IDC_OUTPUT, IDC_SAVE, IDC_TARGET, IDC_TCP_LOOKUP, IDC_WINSOCK_LOOKUP

LOCALHOST_REPORT = b"Default lookup result:\r\n\tlocalhost resolved as 127.0.0.1"


class Folder:
    """A scratch folder of the case's own, removed at its end."""

    def __enter__(self):
        self.path = tempfile.mkdtemp(prefix="vek-save-")
        return self

    def __exit__(self, *exc):
        shutil.rmtree(self.path, ignore_errors=True)
        return False

    def file(self, name):
        return os.path.join(self.path, name)

    def read(self, name):
        with open(self.file(name), "rb") as f:
            return f.read()

    def write(self, name, data):
        with open(self.file(name), "wb") as f:
            f.write(data)


def save_as(s, path):
    """Saves through the dialog to a path that does not exist yet."""
    s.click(IDC_SAVE)
    s.save_file(wine_path(path))
    s.save_gone()


def wait_for_file(path, seconds=10):
    deadline = time.monotonic() + seconds
    while not os.path.exists(path) and time.monotonic() < deadline:
        time.sleep(0.05)


def resolve_localhost(s):
    s.settext(IDC_TARGET, "localhost")
    s.click(IDC_WINSOCK_LOOKUP)
    s.wait_prefix(IDC_OUTPUT, "Default lookup result:")
    s.wait_enabled(IDC_WINSOCK_LOOKUP)


# ---- the dialog and the file ----

def test_before_any_lookup_no_name_is_offered_and_an_empty_report_saves_empty(s):
    s.run_vek()
    with Folder() as folder:
        s.click(IDC_SAVE)
        assert s.save_dialog() == ("", ["Text files", "All files"], 0)
        s.save_file(wine_path(folder.file("empty")))  # no extension: .txt is added
        s.save_gone()
        wait_for_file(folder.file("empty.txt"))
        assert folder.read("empty.txt") == b""
        assert os.listdir(folder.path) == ["empty.txt"]


def test_a_report_is_saved_with_crlf_line_ends_under_the_lookups_target(s):
    s.run_vek()
    resolve_localhost(s)
    s.settext(IDC_TARGET, "changed.example")  # the name offered is the lookup's
    with Folder() as folder:
        s.click(IDC_SAVE)
        assert s.save_dialog()[0] == "localhost"
        s.save_file(wine_path(folder.file("localhost.txt")))
        s.save_gone()
        wait_for_file(folder.file("localhost.txt"))
        assert folder.read("localhost.txt") == LOCALHOST_REPORT


def test_every_line_end_becomes_one_crlf_and_nothing_is_added(s):
    s.run_vek()
    cases = [("a\nb\nc", b"a\r\nb\r\nc"),            # bare line feeds
             ("x\r\ny\n\nz\n", b"x\r\ny\r\n\r\nz\r\n"),  # mixed, empty line, last line end
             ("\n", b"\r\n")]
    with Folder() as folder:
        for number, (shown, saved) in enumerate(cases):
            s.settext(IDC_OUTPUT, shown)
            name = "lines%d.txt" % number
            save_as(s, folder.file(name))
            wait_for_file(folder.file(name))
            assert folder.read(name) == saved, (shown, folder.read(name))


# ---- overwriting, cancelling, failing ----

def test_an_existing_file_is_replaced_only_after_the_question(s):
    s.run_vek()
    resolve_localhost(s)
    with Folder() as folder:
        folder.write("old.txt", b"old contents, longer than the report will be" * 10)
        s.click(IDC_SAVE)
        s.save_file(wine_path(folder.file("old.txt")))
        assert "already exists" in s.confirm("no")
        s.save_cancel()
        s.save_gone()
        assert folder.read("old.txt").startswith(b"old contents")
        s.click(IDC_SAVE)
        s.save_file(wine_path(folder.file("old.txt")))
        s.confirm("yes")
        s.save_gone()
        deadline = time.monotonic() + 10
        while folder.read("old.txt") != LOCALHOST_REPORT and time.monotonic() < deadline:
            time.sleep(0.05)
        assert folder.read("old.txt") == LOCALHOST_REPORT


def test_a_cancelled_dialog_writes_nothing(s):
    s.run_vek()
    resolve_localhost(s)
    with Folder() as folder:
        s.click(IDC_SAVE)
        s.save_dialog()
        s.save_cancel()
        s.save_gone()
        assert os.listdir(folder.path) == []
    assert s.text(IDC_OUTPUT).replace("\r\n", "\n").encode() == LOCALHOST_REPORT.replace(b"\r\n", b"\n")


def test_a_file_that_cannot_be_written_is_left_alone_silently(s):
    s.run_vek()
    resolve_localhost(s)
    with Folder() as folder:
        folder.write("locked.txt", b"kept")
        s.lock_file(wine_path(folder.file("locked.txt")))  # open elsewhere, no sharing
        s.click(IDC_SAVE)
        s.save_file(wine_path(folder.file("locked.txt")))
        s.confirm("yes")
        s.save_gone()
        s.unlock_file()
        assert folder.read("locked.txt") == b"kept"
    # No message box, and the window goes on working.
    s.settext(IDC_TARGET, "still.example")
    assert s.text(IDC_TARGET) == "still.example" and s.enabled(IDC_SAVE)


# ---- a save while a lookup runs ----

def test_a_save_while_a_lookup_runs_writes_what_the_window_shows(s):
    s.run_vek()
    s.settext(IDC_OUTPUT, "shown\nwhile busy")
    server = s.start_busy_lookup(".81")
    shown = s.text(IDC_OUTPUT)
    with Folder() as folder:
        save_as(s, folder.file("busy.txt"))
        wait_for_file(folder.file("busy.txt"))
        assert folder.read("busy.txt") == shown.replace("\r\n", "\n").replace("\n", "\r\n").encode()
    s.click(IDC_TCP_LOOKUP)  # interrupt
    s.wait_enabled(IDC_WINSOCK_LOOKUP)
    vekgui.stop_process(server)


if __name__ == "__main__":
    settingsgui.main_for("save-report", 8, [
        test_before_any_lookup_no_name_is_offered_and_an_empty_report_saves_empty,
        test_a_report_is_saved_with_crlf_line_ends_under_the_lookups_target,
        test_every_line_end_becomes_one_crlf_and_nothing_is_added,
        test_an_existing_file_is_replaced_only_after_the_question,
        test_a_cancelled_dialog_writes_nothing,
        test_a_file_that_cannot_be_written_is_left_alone_silently,
        test_a_save_while_a_lookup_runs_writes_what_the_window_shows,
    ])
