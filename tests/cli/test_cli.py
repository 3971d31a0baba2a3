"""vek-cli as a process: what goes to standard output, to standard error
and into files, and its exit statuses. The options and texts themselves
are the unit tests' business."""
import os

import pytest

from conftest import FAILED, OK, USAGE

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")
RESOLVED = "Default lookup result:\n\tlocalhost resolved as 127.0.0.1\n"


@pytest.mark.parametrize("args, status, out", [
    (["--print-query", "-t", "AXFR", "--no-recursive", "--inverse", "ab.c"], OK,
     "00 16 00 00 08 00 00 01 00 00 00 00 00 00 02 61 \n62 01 63 00 00 fc 00 01 \n"),
    (["--print-query", "a..b"], FAILED, "Lookup refused: the query name <a..b> has an empty "
     "label.\n\tRemove the leading dot or the doubled dots and try again.\n"),
])
def test_report_on_standard_output(cli, args, status, out):
    assert cli.run(args)[:2] == (status, out)


def test_bad_usage_says_what_and_how_on_standard_error(cli):
    status, out, err = cli.run(["--decode", "/nonexistent/reply.bin"])
    assert (status, out) == (USAGE, "")
    lines = err.split("\n")
    assert lines[0] == "vek-cli: cannot open '/nonexistent/reply.bin': No such file or directory"
    assert lines[1].startswith("usage: vek-cli [-s SERVER]")


def test_saved_report_has_cr_lf_line_ends(cli, tmp_path):
    saved = tmp_path / "saved.txt"
    assert cli.run(["-o", str(saved), "localhost"])[:2] == (OK, RESOLVED)
    assert saved.read_bytes() == RESOLVED.rstrip("\n").replace("\n", "\r\n").encode()


@pytest.mark.wine
def test_captured_reply_decodes_to_its_report(cli):
    """One captured reply through the whole program; the unit tests compare
    every captured reply with its report."""
    with open(os.path.join(DATA, "knot-axfr.report")) as report:
        expected = report.read()
    status, out, _ = cli.run(["--decode", os.path.join(DATA, "knot-axfr.bin"), "-s", "127.0.0.1",
                              "-t", "AXFR"])
    assert (status, out) == (OK, expected if expected.endswith("\n") else expected + "\n")
