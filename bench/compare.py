#!/usr/bin/env python3
"""Times zone-transfer clients side by side and prints a table of figures.

usage: compare.py ZONE SERVER_LABEL ADDR RUNS OUTDIR CLIENT...

Every client writes the transfer to a file, as a user would with "> file".
The clients take turns (vek, dig, kdig, vek, dig, kdig, ...) so that a
change in the machine's load hits them alike. Each run is one child process,
started through GNU time, which reports its peak resident memory (a child
forked straight from Python would count Python's own pages); wall time and
CPU time (user + system, from wait4) are taken here. The table gives medians, the ratio of Vek to each peer and the
record count that each client itself reported.
"""
import os
import re
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
VEK = os.environ.get("VEK_CLI", os.path.join(HERE, "..", "build", "native", "vek-cli"))
RAW = os.environ.get("VEK_RAW_READER",
                     os.path.join(os.path.dirname(VEK), "vek-raw-reader"))
# Where each client's medians are added as a line (zone client wall cpu rss_kb).
SUMMARY = os.environ.get("BENCH_SUMMARY")
# One transfer may not take longer than this; a client that hangs is killed.
RUN_LIMIT_SECONDS = float(os.environ.get("BENCH_RUN_LIMIT", "120"))


def command(client, addr, zone):
    return {
        "vek": [VEK, "-s", addr, "-t", "AXFR", zone],
        "raw": [RAW, addr, zone],
        "dig": ["dig", f"@{addr}", zone, "AXFR"],
        "kdig": ["kdig", f"@{addr}", zone, "AXFR"],
        "drill": ["drill", "-t", "@" + addr, zone, "AXFR"],
    }[client]


def record_count(client, path):
    """The record count as the client itself reports it, or None."""
    if client == "raw":
        return None  # the floor counts no records
    with open(path, "rb") as f:
        if client == "drill":
            return sum(1 for line in f
                       if line.strip() and not line.startswith(b";"))
        f.seek(max(0, os.path.getsize(path) - 4096))
        tail = f.read().decode("latin-1")
    pattern = {
        "vek": r"Recieved (\d+) records",
        "dig": r";; XFR size: (\d+) records",
        "kdig": r";; Received \d+ B \(\d+ messages?, (\d+) records?\)",
    }[client]
    found = re.findall(pattern, tail)
    return int(found[-1]) if found else None


def wire_bytes(client, path):
    """Bytes on the wire as the client reports them (vek and kdig), or None."""
    pattern = {"vek": rb"records \((\d+) bytes\)", "kdig": rb";; Received (\d+) B"}.get(client)
    if not pattern:
        return None
    with open(path, "rb") as f:
        f.seek(max(0, os.path.getsize(path) - 4096))
        found = re.findall(pattern, f.read())
    return int(found[-1]) if found else None


def run_once(argv, out_path):
    """Runs one client with its output in a file; returns wall, cpu, rss_kb, status."""
    rss_path = out_path + ".rss"
    with open(out_path, "wb") as out:
        start = time.monotonic()
        child = subprocess.Popen(["/usr/bin/time", "-o", rss_path, "-f", "%M"] + argv,
                                 stdout=out, stderr=subprocess.DEVNULL,
                                 start_new_session=True)
        deadline = start + RUN_LIMIT_SECONDS
        while True:
            pid, status, usage = os.wait4(child.pid, os.WNOHANG)
            if pid:
                break
            if time.monotonic() > deadline:
                os.killpg(child.pid, 9)  # GNU time and the client it runs
                pid, status, usage = os.wait4(child.pid, 0)
                break
            time.sleep(0.002)
        wall = time.monotonic() - start
    status = os.waitstatus_to_exitcode(status)
    child.returncode = 0  # reaped by wait4 above; keep Popen from waiting again
    with open(rss_path) as f:
        words = f.read().split()  # empty when the run was killed
    rss = int(words[-1]) if words else 0
    return wall, usage.ru_utime + usage.ru_stime, rss, status


def main():
    zone, label, addr, runs, outdir = sys.argv[1:6]
    clients = sys.argv[6:]
    runs = int(runs)
    results = {c: [] for c in clients}
    counts, sizes, wires = {}, {}, {}
    for _ in range(runs):
        for client in clients:
            path = os.path.join(outdir, f"{zone}.{label}.{client}.out")
            wall, cpu, rss, status = run_once(command(client, addr, zone), path)
            results[client].append((wall, cpu, rss))
            counts[client] = record_count(client, path) if status == 0 else f"exit {status}"
            sizes[client] = os.path.getsize(path)
            wires[client] = wire_bytes(client, path) or wires.get(client)

    med = {c: tuple(statistics.median(r[i] for r in results[c]) for i in range(3))
           for c in clients}
    wire = wires.get("vek") or wires.get("kdig")
    print(f"\n{zone} from {label} at {addr}: {runs} runs each, medians"
          + (f"; {wire / 1e6:.1f} MB on the wire" if wire else ""))
    print(f"  {'client':7} {'wall s':>8} {'cpu s':>8} {'max RSS MB':>11} {'out MB':>8} {'records':>9}"
          f"   {'vek/peer: wall':>14} {'cpu':>6} {'RSS':>6}")
    base = med.get("vek")
    for c in clients:
        wall, cpu, rss = med[c]
        line = (f"  {c:7} {wall:8.3f} {cpu:8.3f} {rss / 1024:11.1f} {sizes[c] / 1e6:8.1f}"
                f" {str(counts[c]):>9}")
        if base and c != "vek":
            line += (f"   {base[0] / wall:14.2f} {base[1] / max(cpu, 1e-9):6.2f}"
                     f" {base[2] / max(rss, 1):6.2f}")
        print(line)
    if base and wire:
        report = sizes["vek"]
        print(f"  vek peak memory / (wire bytes + report bytes) = "
              f"{base[2] * 1024 / (wire + report):.2f}")
    if base and "dig" in med:
        print(f"  goal ratios: vek cpu / dig cpu = {base[1] / max(med['dig'][1], 1e-9):.2f}"
              f" (at most 0.4)"
              + (f"; vek wall / raw reader wall = {base[0] / max(med['raw'][0], 1e-9):.2f}"
                 f" (at most 1.05)" if "raw" in med else ""))
    if SUMMARY:
        with open(SUMMARY, "a") as f:
            for c in clients:
                f.write(f"{zone} {c} {med[c][0]:.3f} {med[c][1]:.3f} {med[c][2]}\n")
    agreed = {counts[c] for c in clients if c != "raw"}
    print("  record counts " + ("agree" if len(agreed) == 1 else "DIFFER: " + str(counts)))


if __name__ == "__main__":
    main()
