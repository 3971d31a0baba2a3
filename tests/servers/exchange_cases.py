#!/usr/bin/env python3
"""The TCP exchange against scripted servers, one case a run:

    exchange_cases.py --cli "COMMAND [ARGS]" CASE

Each case starts its own server on its own loopback address, runs the
client against it and checks the report and the exit status."""
import re
import sys

from dns_messages import QUESTION_NAME, a, message, question, soa
from harness import ScriptedServer, address, run_case

OK, FAILED = 0, 1
INCOMPLETE = 3  # a zone transfer without its closing SOA


def hexs(data):
    return data.hex()


# Report lines, as the report writes them.
def a_line(owner, ttl, dotted):
    return "\t%s\t%d \tA\t%s\n" % (owner, ttl, dotted)


def soa_line(owner, ttl, serial):
    return ("\t%s\t%d \tSOA\tns.zt\n\t\t\temail:\tadmin.zt\n\t\t\tserial:\t%d\n"
            "\t\t\trefresh:\t7200\n\t\t\tretry:\t900\n\t\t\texpire\t86400\n"
            "\t\t\tminimum\t300\n" % (owner, ttl, serial))


def transfer_report(server, lines, total):
    return ("Reply from %s :\nDirect authoritative answer: recursion not desired; "
            "recursion not available; result: succesful.\n\n> Answers:\n%s\n"
            "Recieved %d records (%d bytes) in reply to AXFR request.\n"
            % (server, "".join(lines), len(lines), total))


def check(condition, what):
    if not condition:
        raise AssertionError(what)


def check_report(got, expected):
    check(got == expected, "report differs:\n--- got\n%r\n--- expected\n%r" % (got, expected))


SERVE = [["accept"], ["read_query"]]
# Longer than any lookup may take: a client that waited for the server to
# end a held connection would see it end first.
HOLD = 30


def check_client_closed_first(server):
    check(server.sees("closed by client") and not server.saw("hold over"),
          "the client did not end the connection: %s" % server.events())


AA = 0x8400  # answer, authoritative; nothing else

# A transfer of zone zt in three messages: SOA and two addresses, two more,
# and the closing SOA with one more address.
ZONE = [
    [soa("zt", 3600, 1), a("a.zt", 60, "10.0.0.1"), a("b.zt", 60, "10.0.0.2")],
    [a("c.zt", 60, "10.0.0.3"), a("d.zt", 60, "10.0.0.4")],
    [a("e.zt", 60, "10.0.0.5"), soa("zt", 3600, 1)],
]
ZONE_LINES = [
    [soa_line("zt", 3600, 1), a_line("a.zt", 60, "10.0.0.1"), a_line("b.zt", 60, "10.0.0.2")],
    [a_line("c.zt", 60, "10.0.0.3"), a_line("d.zt", 60, "10.0.0.4")],
    [a_line("e.zt", 60, "10.0.0.5"), soa_line("zt", 3600, 1)],
]
ZONE_MESSAGES = [message(AA, answers=records) for records in ZONE]


def axfr(client, server):
    return client.run(["-s", server.address, "-t", "AXFR", "zt"])


def case_closes_without_sending(client):
    for qtype, end in (("A", ["close"]), ("AXFR", ["close"]), ("MX", ["reset"])):
        with ScriptedServer(20, SERVE + [end]) as server:
            status, report = client.run(["-s", server.address, "-t", qtype, "x.zt"])
            check_report(report, "Lookup failed: no data recieved\n")
            check(status == FAILED, "exit status %d" % status)


def case_fewer_than_14_bytes(client):
    with ScriptedServer(21, SERVE + [["send", "000c000084"], ["close"]]) as server:
        status, report = client.run(["-s", server.address, "x.zt"])
        check_report(report, "Reply from %s : 5 bytes recieved\nheader is incomplete - "
                     "parsing skipped\nraw header data dump:\t00 0c 00 00 84 \n\n" % server.address)
        check(status == OK, "exit status %d" % status)
    # A message shorter than a header is complete at its announced length,
    # a transfer's too: the lookup ends without waiting for the close.
    with ScriptedServer(21, SERVE + [["send", "0003000084"], ["hold", HOLD]]) as server:
        _, report = axfr(client, server)
        check_report(report, "Reply from %s : 5 bytes recieved\nheader is incomplete - "
                     "parsing skipped\nraw header data dump:\t00 03 00 00 84 \n\n" % server.address)
        check_client_closed_first(server)


def a_reply_report(server, size):
    return ("Reply from %s : %d bytes recieved\nDirect authoritative answer: "
            "recursion desired; recursion available; result: succesful.\n"
            "Contains 1 question entries, 1 answer entries, 0 nameserver records "
            "and 0 additional records.\n\n> Questions:\n\texample.zt\ttype: A "
            "(host address)  class: IN (Internet)\n> Answers:\n%s"
            % (server, size, a_line("example.zt", 3600, "10.0.0.1")))


def case_reply_in_chunks_then_held_open(client):
    """Read on until the announced length has come; then end at once,
    although the server keeps the connection open."""
    reply = message(0x8580, [question("example.zt", "A")], [a(QUESTION_NAME, 3600, "10.0.0.1")])
    pieces = [reply[:1], reply[1:9], reply[9:30], reply[30:]]
    script = SERVE + [x for p in pieces for x in (["send", hexs(p)], ["pause", 0.2])]
    with ScriptedServer(22, script + [["hold", HOLD]]) as server:
        status, report = client.run(["-s", server.address, "example.zt"])
        check_report(report, a_reply_report(server.address, len(reply)))
        check(status == OK, "exit status %d" % status)
        check_client_closed_first(server)


def case_transfer_ends_by_close(client):
    """No closing SOA: the transfer ends when the server closes."""
    stream = b"".join(ZONE_MESSAGES[:2])
    with ScriptedServer(23, SERVE + [["send", hexs(stream)], ["pause", 0.3], ["close"]]) as server:
        status, report = axfr(client, server)
        check_report(report, transfer_report(server.address, ZONE_LINES[0] + ZONE_LINES[1], len(stream)))
        check(status == INCOMPLETE, "exit status %d" % status)


def case_transfer_ends_mid_message(client):
    """A message cut by the close is not reported; its bytes are counted."""
    cut = ZONE_MESSAGES[2][:-7]
    stream = ZONE_MESSAGES[0] + ZONE_MESSAGES[1] + cut
    with ScriptedServer(24, SERVE + [["send", hexs(stream)], ["pause", 0.3], ["close"]]) as server:
        _, report = axfr(client, server)
        check_report(report, transfer_report(server.address, ZONE_LINES[0] + ZONE_LINES[1], len(stream)))


def case_transfer_ends_at_closing_soa(client):
    """The server keeps the connection open after the closing SOA, as name
    servers do; the lookup ends with the message that carries it. The
    first chunk is shorter than a header."""
    stream = b"".join(ZONE_MESSAGES)
    script = SERVE + [["send", hexs(stream[:5])], ["pause", 0.3],
                      ["send", hexs(stream[5:])], ["hold", HOLD]]
    with ScriptedServer(25, script) as server:
        status, report = axfr(client, server)
        check_report(report, transfer_report(server.address, sum(ZONE_LINES, []), len(stream)))
        check(status == OK, "exit status %d" % status)
        check_client_closed_first(server)


def case_transfer_refused(client):
    refused = message(AA | 5)
    with ScriptedServer(26, SERVE + [["send", hexs(refused)], ["hold", HOLD]]) as server:
        _, report = axfr(client, server)
        check_report(report, "Reply from %s : 14 bytes recieved\nDirect authoritative answer: "
                     "recursion not desired; recursion not available; result: refused due "
                     "to policy reasons.\n\n" % server.address)
        check_client_closed_first(server)


def case_interrupted_while_silent(client):
    with ScriptedServer(27, SERVE + [["hold", HOLD]]) as server:
        status, report = client.run(["-s", server.address, "x.zt"],
                                             interrupt_when=lambda: server.saw("query"))
        check_report(report, "Lookup failed: no data recieved\n")
        check(status == FAILED, "exit status %d" % status)
        check_client_closed_first(server)


def case_interrupted_after_part_of_a_transfer(client):
    """What arrived before the interrupt is reported."""
    with ScriptedServer(28, SERVE + [["send", hexs(ZONE_MESSAGES[0])], ["hold", HOLD]]) as server:
        _, report = client.run(["-s", server.address, "-t", "AXFR", "zt"],
                                  interrupt_when=lambda: server.saw("query"))
        check_report(report, transfer_report(server.address, ZONE_LINES[0], len(ZONE_MESSAGES[0])))


def case_out_of_memory_while_reading(client):
    """A transfer larger than the memory the client may have: vek-cli holds
    neither the stream nor the report, so it reads and reports it all. The
    messages after the first carry no records, so that the report itself
    stays small."""
    empty = message(AA) + bytes(65535 - 12)
    empty = (65535).to_bytes(2, "big") + empty[2:]
    script = SERVE + [["send", hexs(ZONE_MESSAGES[0])], ["repeat", hexs(empty), 3000],
                      ["close"]]
    total = len(ZONE_MESSAGES[0]) + 3000 * len(empty)
    with ScriptedServer(30, script) as server:
        status, report = client.run(["-s", server.address, "-t", "AXFR", "zt"],
                                    memory_limit=160 << 20)
        check(report.endswith("\nRecieved 3 records (%d bytes) in reply to AXFR request.\n"
                              % total), "report ends %r" % report[-300:])
        check(status == INCOMPLETE, "exit status %d" % status)


def case_server_given_by_name(client):
    """A server name is resolved, and its first address used."""
    reply = message(0x8580, [question("example.zt", "A")], [a(QUESTION_NAME, 3600, "10.0.0.1")])
    with ScriptedServer("127.0.0.1", SERVE + [["send", hexs(reply)], ["hold", HOLD]],
                        port=10531) as server:
        status, report = client.run(["-s", "localhost", "-p", "10531", "example.zt"])
        check_report(report, a_reply_report("localhost", len(reply)))
        check(status == OK, "exit status %d" % status)
        check(server.saw("query"), "no query: %s" % server.events())


def case_connection_refused(client):
    refused = "Lookup failed while connecting to server:\n\tconnection refused"
    status, report = client.run(["-s", address(29), "x.zt"])
    check_report(report, refused + "\n")
    check(status == FAILED, "exit status %d" % status)
    _, report = client.run(["-d", "-s", address(29), "x.zt"])
    detail = refused + "\n\nDetailed explanation:\n\t"
    check(report.startswith(detail) and len(report) > len(detail) + 10, "report %r" % report)


def case_unresolvable_server(client):
    status, report = client.run(["-s", "no-such-server.invalid", "x.zt"])
    check(report.startswith("Lookup failed while retrieving server address:\n\t")
          and "host not found" in report, "report %r" % report)
    check(status == FAILED, "exit status %d" % status)


CASES = {name[5:]: f for name, f in globals().items() if name.startswith("case_")}


if __name__ == "__main__":
    sys.exit(run_case(CASES))
