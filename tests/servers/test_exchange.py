"""The TCP exchange of vek-cli against scripted servers: when reading
stops, and how a failed connection is reported. What the bytes decode to
is the unit tests' business."""
import pytest

from conftest import FAILED, OK, address, serve
from messages import ANSWER, a, message
from scripted_server import HOLD, SERVE, Server

NO_DATA = "Lookup failed: no data recieved\n"
REFUSED = "Lookup failed while connecting to server:\n\tconnection refused"

ANSWER_A = message([a("example.zt", 3600, "10.0.0.1")], ("example.zt", "A"), ANSWER)


def in_pieces(data, *cuts):
    """Sends `data` in pieces cut at these offsets, each as a chunk of its own."""
    bounds = (0,) + cuts + (len(data),)
    return [x for start, end in zip(bounds, bounds[1:])
            for x in (["send", data[start:end]], ["pause", 0.05])]


@pytest.mark.parametrize("qtype, end", [("A", "close"), ("MX", "reset")])
def test_connection_ended_before_any_byte(cli, qtype, end):
    with serve(120, SERVE + [[end]]) as server:
        assert cli.run(["-s", server.address, "-t", qtype, "x.zt"])[:2] == (FAILED, NO_DATA)


def test_complete_reply_ends_the_lookup_while_the_server_holds_on(cli):
    """Reading stops once the reply is complete, although the connection
    stays open; where a reply of each kind is complete is the arrival's
    business (unit tests)."""
    with serve(121, SERVE + in_pieces(ANSWER_A, 1, 9, 30) + [["hold", HOLD]]) as server:
        status, report, _ = cli.run(["-s", server.address, "zt"])
        assert (status, report[-29:]) == (OK, "\texample.zt\t3600 \tA\t10.0.0.1\n")
        assert server.sees("closed by client") and not server.saw("hold over")


def test_server_given_by_name_is_asked_at_its_first_address(cli):
    with Server("127.0.0.1", SERVE + [["send", ANSWER_A], ["hold", HOLD]], port=10531) as server:
        status, report, _ = cli.run(["-s", "localhost", "-p", "10531", "example.zt"])
        assert status == OK and report.startswith("Reply from localhost : %d bytes" % len(ANSWER_A))
        assert server.saw("query")


@pytest.mark.parametrize("options, server, report", [
    pytest.param([], address(129), REFUSED + "\n", id="refused"),
    pytest.param(["-d"], address(129), REFUSED + "\n\nDetailed explanation:\n\t",
                 marks=pytest.mark.wine, id="refused-detailed"),
    pytest.param([], "no-such-server.invalid",
                 "Lookup failed while retrieving server address:\n\t", id="unresolvable")])
def test_failed_connection(cli, options, server, report):
    """A report that ends in a tab is the start of one (the system's own text follows)."""
    status, text, _ = cli.run(options + ["-s", server, "x.zt"])
    assert status == FAILED and (text == report or report.endswith("\t") and text.startswith(report))
