"""vek-cli transfers zones from Knot DNS and BIND 9 that require a TSIG key:
with -k and with -y, as zone files that named-checkzone and kzonecheck load
and that hold the served zone record for record; a wrong secret or an
unknown key name fails with the server's answer named; Knot on ::1 answers
a query and a transfer. VEK_CLI names the program (and a runner)."""
import os
import re
import shlex
import subprocess
import tempfile

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


def vek(*arguments):
    return subprocess.run(shlex.split(os.environ["VEK_CLI"]) + list(arguments),
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=120)


def key_arguments(server, how):
    if how == "-k":
        return ["-k", server.key_file]
    name, algorithm, secret = server.key()
    return ["-y", "%s:%s:%s" % (algorithm, name, secret)]


def records(zone):
    return {(name.to_text(), ttl, rdata.rdtype, rdata.to_digestable())
            for name, ttl, rdata in zone.iterate_rdatas()}


def check_zone_file(path, zone_name):
    checked = subprocess.run(["named-checkzone", zone_name, path], stdout=subprocess.PIPE,
                             stderr=subprocess.STDOUT, timeout=60)
    assert checked.returncode == 0, checked.stdout.decode()
    checked = subprocess.run(["kzonecheck", "-o", zone_name, path], stdout=subprocess.PIPE,
                             stderr=subprocess.STDOUT, timeout=60)
    assert checked.returncode == 0, checked.stdout.decode()


@pytest.mark.timeout(180)
@pytest.mark.parametrize("how", ["-k", "-y"])
def test_signed_transfer_as_zone_file(server, how):
    for zone_name in server.zones:
        run = vek("-s", server.address, "-t", "AXFR", "--zone", "--stats",
                  *key_arguments(server, how), zone_name)
        err = run.stderr.decode()
        assert run.returncode == 0, err
        assert ";; TSIG verified with key" in err
        assert "TSIG verified\n" in err  # the --stats line
        if zone_name == all_types.ZONE:
            assert int(re.search(r";; (\d+) messages,", err).group(1)) > 1, err
        path = os.path.join(server.dir, "got-%s%s" % (how.strip("-"), zone_name))
        with open(path, "wb") as out:
            out.write(run.stdout)
        check_zone_file(path, zone_name)
        got = dns.zone.from_file(path, origin=zone_name, relativize=False)
        assert records(got) == records(server.served(zone_name))


@pytest.mark.timeout(120)
@pytest.mark.parametrize("spoil,answer", [("secret", "BADSIG"), ("name", "BADKEY")])
def test_wrong_key_fails(server, spoil, answer):
    name, algorithm, secret = server.key()
    if spoil == "secret":
        secret = "c3BvaWx0LXNlY3JldC1zcG9pbHQtc2VjcmV0LXNwb2lsdA=="
    else:
        name = "nobody-knows-me"
    run = vek("-s", server.address, "-t", "AXFR", "-y", "%s:%s:%s" % (algorithm, name, secret),
              all_types.ZONE)
    err = run.stderr.decode()
    assert run.returncode == 1, err
    assert "vek-cli: TSIG verification failed: the server answered %s" % answer in err
    assert secret not in err + run.stdout.decode()


@pytest.mark.timeout(120)
def test_ipv6_server(server):
    if server.kind != "knot":
        pytest.skip("Knot is the one on ::1")
    for where in ("::1", "[::1]"):
        run = vek("-s", where, "-p", str(IPV6_PORT), "-t", "SOA", SIGNED_ZONE)
        assert run.returncode == 0, run.stdout.decode() + run.stderr.decode()
        assert "\tSOA\tns.signed.zt" in run.stdout.decode()
    run = vek("-s", "::1", "-p", str(IPV6_PORT), "-t", "AXFR", "--zone", "-k", server.key_file,
              SIGNED_ZONE)
    assert run.returncode == 0, run.stderr.decode()
    path = os.path.join(server.dir, "got-ipv6.zone")
    with open(path, "wb") as out:
        out.write(run.stdout)
    got = dns.zone.from_file(path, origin=SIGNED_ZONE, relativize=False)
    assert records(got) == records(server.served(SIGNED_ZONE, "::1", IPV6_PORT))
