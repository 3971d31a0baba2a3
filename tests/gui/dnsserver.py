"""A scripted DNS server over TCP for the window tests (standard library
only): it accepts one client on a loopback address, reads one query and
then does what the test asks: answer, hold the line, or send a stream."""
import socket
import struct
import threading
import time


def encode_name(name):
    out = b""
    for label in name.rstrip(".").split("."):
        out += bytes([len(label)]) + label.encode("ascii")
    return out + b"\0"


def header(qid, flags, qd, an, ns=0, ar=0):
    return struct.pack(">HHHHHH", qid, flags, qd, an, ns, ar)


def question(name, qtype, qclass=1):
    return encode_name(name) + struct.pack(">HH", qtype, qclass)


def record(owner, rtype, ttl, rdata):
    """owner: encoded name bytes (labels or a pointer)."""
    return owner + struct.pack(">HHIH", rtype, 1, ttl, len(rdata)) + rdata


def soa_data(zone):
    return (encode_name("ns." + zone) + encode_name("admin." + zone)
            + struct.pack(">IIIII", 2024010101, 3600, 600, 86400, 300))


def framed(message):
    return struct.pack(">H", len(message)) + message


def parse_query(data):
    """(flags, qname, qtype) of a query message without its length prefix."""
    flags = struct.unpack(">H", data[2:4])[0]
    labels, at = [], 12
    while data[at]:
        labels.append(data[at + 1:at + 1 + data[at]].decode("ascii"))
        at += 1 + data[at]
    qtype = struct.unpack(">H", data[at + 1:at + 3])[0]
    return flags, ".".join(labels), qtype


def axfr_stream(zone, count, per_message=2000):
    """A zone transfer of `count` records: SOA, count - 2 A records named
    h1.<zone> ... , SOA; the question in the first message."""
    zone_name = encode_name(zone)
    soa = record(b"\xc0\x0c", 6, 3600, soa_data(zone))
    records = [soa]
    for i in range(1, count - 1):
        records.append(record(bytes([len("h%d" % i)]) + b"h%d" % i + b"\xc0\x0c", 1, 300,
                              bytes([10, (i >> 16) & 255, (i >> 8) & 255, i & 255])))
    records.append(soa)
    stream = b""
    for start in range(0, len(records), per_message):
        chunk = records[start:start + per_message]
        # Every message repeats the question so that the pointers to the
        # zone name (offset 12) hold in each of them.
        body = header(0, 0x8400, 1, len(chunk)) + zone_name + struct.pack(">HH", 252, 1) + b"".join(chunk)
        stream += framed(body)
    return stream


class ScriptedServer:
    """One client on (address, 53). `action(server, conn, query)` runs on the
    server's thread after the query has arrived. Stop with stop()."""

    def __init__(self, address, action, port=53, limit=60.0):
        self.address, self.action, self.limit = address, action, limit
        self.query = None
        self.release = threading.Event()
        self.client_closed = threading.Event()
        self.error = None
        self.listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind((address, port))
        self.listener.listen(1)
        self.listener.settimeout(limit)
        self.thread = threading.Thread(target=self._serve, daemon=True)
        self.thread.start()

    def _serve(self):
        try:
            conn, _ = self.listener.accept()
            with conn:
                conn.settimeout(self.limit)
                size = struct.unpack(">H", self._read(conn, 2))[0]
                self.query = self._read(conn, size)
                self.action(self, conn, self.query)
        except (OSError, ValueError) as e:
            self.error = e

    @staticmethod
    def _read(conn, count):
        data = b""
        while len(data) < count:
            chunk = conn.recv(count - len(data))
            if not chunk:
                raise ValueError("client closed after %d bytes" % len(data))
            data += chunk
        return data

    def wait_query(self, timeout=30.0):
        deadline = time.monotonic() + timeout
        while self.query is None and time.monotonic() < deadline and self.thread.is_alive():
            time.sleep(0.02)
        return self.query

    def stop(self):
        self.release.set()
        try:
            self.listener.shutdown(socket.SHUT_RDWR)  # wakes a pending accept
        except OSError:
            pass
        self.listener.close()
        self.thread.join(timeout=self.limit + 5)


def answer_after_release(reply):
    """Holds the line until the test releases it, then answers."""
    def action(server, conn, query):
        server.release.wait(server.limit)
        conn.sendall(framed(reply(query)))
    return action


def hold_until_client_closes(server, conn, query):
    """Never answers; notes when the client closes its end."""
    deadline = time.monotonic() + server.limit
    while time.monotonic() < deadline:
        try:
            if not conn.recv(512):
                break
        except socket.timeout:
            continue
        except OSError:
            break
    server.client_closed.set()


def send_stream(stream):
    def action(server, conn, query):
        conn.sendall(stream)
        # The client stops at the closing SOA; wait (bounded) for it to go.
        hold_until_client_closes(server, conn, query)
    return action


class FullListener:
    """A listener whose accept queue is full, so that a client's connect
    waits (its SYNs are dropped) until release() makes room."""

    def __init__(self, address, port=53):
        self.listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind((address, port))
        self.listener.listen(0)
        self.fillers = []
        for _ in range(2):
            filler = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            filler.settimeout(2)
            try:
                filler.connect((address, port))
            except OSError:
                filler.close()
                break
            self.fillers.append(filler)
        self.accepted = []

    def release(self):
        """Accepts (bounded) what waits, the held client's connect included."""
        self.listener.settimeout(5)
        for _ in range(len(self.fillers) + 1):
            try:
                self.accepted.append(self.listener.accept()[0])
            except OSError:
                break

    def stop(self):
        for s in self.fillers + self.accepted + [self.listener]:
            s.close()
