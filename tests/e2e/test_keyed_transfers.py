"""vek-cli transfers zones from Knot DNS and BIND 9 that require a TSIG key:
with -k and with -y, as zone files that named-checkzone and kzonecheck load
and that hold the served zone record for record; a wrong secret or an
unknown key name fails with the server's answer named; Knot on ::1 answers
a query and a transfer; a transfer's report ends at the closing SOA. VEK_CLI
names the program (and a runner)."""
import os
import re
import subprocess
import tempfile
import time

import dns.zone
import pytest

from keyed_servers import IPV6_PORT, SIGNED_ZONE, KeyedServer
import all_types

SCRATCH = tempfile.mkdtemp(prefix="vek-keyed-")


@pytest.fixture(scope="module", params=["knot", "bind"])
def server(request):
    if os.geteuid() != 0:
        pytest.skip("the name servers listen on port 53, which needs root")
    with KeyedServer(request.param, os.path.join(SCRATCH, request.param)) as started:
        yield started


def records(zone):
    return {(name.to_text(), ttl, rdata.rdtype, rdata.to_digestable())
            for name, ttl, rdata in zone.iterate_rdatas()}


def transfer(cli, server, zone_name, file_name, *arguments, where=None, port=53):
    """Transfers the zone as a zone file that named-checkzone and kzonecheck
    load and that holds the served zone record for record; returns standard
    error."""
    status, zone_file, err = cli.run(["-s", where or server.address, "-p", str(port), "-t", "AXFR",
                                      "--zone", "--stats", *arguments, zone_name])
    assert status == 0, err
    path = os.path.join(server.dir, file_name)
    with open(path, "w", encoding="latin-1") as out:
        out.write(zone_file)
    for checker in (["named-checkzone", zone_name, path], ["kzonecheck", "-o", zone_name, path]):
        checked = subprocess.run(checker, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                 timeout=60)
        assert checked.returncode == 0, checked.stdout.decode()
    got = dns.zone.from_file(path, origin=zone_name, relativize=False)
    assert records(got) == records(server.served(zone_name, where, port))
    return err


@pytest.mark.timeout(180)
@pytest.mark.parametrize("how", ["-k", "-y"])
def test_signed_transfer_as_zone_file(cli, server, how):
    name, algorithm, secret = server.key()
    key = ["-k", server.key_file] if how == "-k" else ["-y", ":".join((algorithm, name, secret))]
    for zone_name in server.zones:
        err = transfer(cli, server, zone_name, "got-%s%s" % (how.strip("-"), zone_name), *key)
        assert ";; TSIG verified with key" in err
        assert "TSIG verified\n" in err  # the --stats line
        if zone_name == all_types.ZONE:
            assert int(re.search(r";; (\d+) messages,", err).group(1)) > 1, err


@pytest.mark.timeout(120)
@pytest.mark.parametrize("spoil,answer", [("secret", "BADSIG"), ("name", "BADKEY")])
def test_wrong_key_fails(cli, server, spoil, answer):
    name, algorithm, secret = server.key()
    if spoil == "secret":
        secret = "c3BvaWx0LXNlY3JldC1zcG9pbHQtc2VjcmV0LXNwb2lsdA=="
    else:
        name = "nobody-knows-me"
    status, out, err = cli.run(["-s", server.address, "-t", "AXFR", "-y",
                                ":".join((algorithm, name, secret)), all_types.ZONE])
    assert status == 1, err
    assert "vek-cli: TSIG verification failed: the server answered %s" % answer in err
    assert secret not in err + out


@pytest.mark.timeout(120)
def test_ipv6_server(cli, server):
    if server.kind != "knot":
        pytest.skip("Knot is the one on ::1")
    _, report, err = cli.run(["-s", "[::1]", "-p", str(IPV6_PORT), "-t", "SOA", SIGNED_ZONE])
    assert "\tSOA\tns.signed.zt" in report, err
    transfer(cli, server, SIGNED_ZONE, "got-ipv6.zone", "-k", server.key_file, where="::1",
             port=IPV6_PORT)


@pytest.mark.timeout(120)
def test_report_ends_at_the_closing_soa_with_every_record(cli, server):
    """Long before the server lets the connection go (Knot after 10 s, BIND
    after 30 s), with every record counted."""
    name, algorithm, secret = server.key()
    start = time.monotonic()
    status, report, err = cli.run(["-s", server.address, "-t", "AXFR", "-y",
                                   ":".join((algorithm, name, secret)), all_types.ZONE])
    assert status == 0 and time.monotonic() - start < 5, err
    served = len(records(server.served(all_types.ZONE)))
    messages = int(re.search(r"TSIG verified with key \S+ \((\d+) messages\)", err).group(1))
    total = served + 1 + messages  # the closing SOA, and a TSIG record a message
    assert re.search(r"\nRecieved %d records \(\d+ bytes\) in reply to AXFR request\.\n$" % total,
                     report), report[-200:]
