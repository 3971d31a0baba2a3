"""A scripted server for signed zone transfers: it answers one AXFR query
signed with its key by a stream of messages that it signs with the same key
(dnspython does the signing) and then, as each mode says, spoils:

  good            every message signed
  sparse          message 1 signed, 99 unsigned, the last signed
  alter5          one byte of message 5 altered after signing
  unsigned_first  message 1 sent without its TSIG
  unsigned_100    message 1 signed, then 100 unsigned in a row
  cut10           ten messages, then the connection closes (no closing SOA)
  stale           every message signed with a time 1000 s in the past

Run: signed_transfer.py --address A --port P --mode M --key NAME:SECRET
--ready FILE. It serves one connection and ends, or ends after --lifetime
seconds."""
import argparse
import base64
import socket
import struct
import time

import dns.message
import dns.name
import dns.rdataclass
import dns.rdatatype
import dns.rrset
import dns.tsig
import dns.tsigkeyring

ZONE = "signed.zt."
SOA = "ns.signed.zt. admin.signed.zt. 7 3600 600 86400 300"


def message_count(mode):
    return {"sparse": 101, "unsigned_100": 102}.get(mode, 12)


def unsigned(mode, index):
    """Whether message `index` (from 1) goes out without a TSIG."""
    if mode == "unsigned_first":
        return index == 1
    if mode in ("sparse", "unsigned_100"):
        return 1 < index < message_count(mode)
    return False


def records(index, count):
    """The answer of message `index`: the SOA first and last, A records
    10.0.INDEX.N between."""
    rrsets = []
    if index == 1:
        rrsets.append(dns.rrset.from_text(ZONE, 300, "IN", "SOA", SOA))
    for n in range(4):
        rrsets.append(dns.rrset.from_text("h%d-%d.%s" % (index, n, ZONE), 300, "IN", "A",
                                          "10.0.%d.%d" % (index, n)))
    if index == count:
        rrsets.append(dns.rrset.from_text(ZONE, 300, "IN", "SOA", SOA))
    return rrsets


def stream(query, keyring, mode):
    """The framed messages of the reply to `query`, spoiled as `mode` says."""
    count = message_count(mode)
    context = None
    out = []
    for index in range(1, count + 1):
        reply = dns.message.make_response(query) if index == 1 else dns.message.Message(query.id)
        reply.flags |= dns.flags.QR | dns.flags.AA
        reply.answer = records(index, count)
        if unsigned(mode, index):
            reply.keyring = None  # what make_response took over from the query
            reply.tsig = None
            wire = reply.to_wire()
            if context:
                context.update(wire)
        else:
            if index > 1:
                reply.use_tsig(keyring, query.keyname)
            wire = reply.to_wire(multi=True, tsig_ctx=context)
            context = reply.tsig_ctx
        if mode == "alter5" and index == 5:
            at = wire.find(bytes([10, 0, 5, 2]))
            wire = wire[:at + 3] + bytes([wire[at + 3] ^ 1]) + wire[at + 4:]
        out.append(struct.pack("!H", len(wire)) + wire)
    if mode == "cut10":
        out = out[:10]
    return out


def read_query(connection):
    data = b""
    while len(data) < 2 or len(data) < 2 + struct.unpack("!H", data[:2])[0]:
        piece = connection.recv(4096)
        if not piece:
            raise EOFError("the client closed before its query was whole")
        data += piece
    return data[2:2 + struct.unpack("!H", data[:2])[0]]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--address", required=True)
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--mode", required=True)
    parser.add_argument("--key", required=True, help="NAME:SECRET (hmac-sha256)")
    parser.add_argument("--ready", required=True)
    parser.add_argument("--lifetime", type=float, default=60)
    args = parser.parse_args()
    name, secret = args.key.split(":", 1)
    keyring = dns.tsigkeyring.from_text({name: ("hmac-sha256", secret)})
    family = socket.AF_INET6 if ":" in args.address else socket.AF_INET
    listener = socket.socket(family, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind((args.address, args.port))
    listener.listen(1)
    listener.settimeout(args.lifetime)
    open(args.ready, "w").close()
    connection, _ = listener.accept()
    connection.settimeout(args.lifetime)
    query = dns.message.from_wire(read_query(connection), keyring=keyring)
    if args.mode == "stale":
        now = time.time
        time.time = lambda: now() - 1000  # dnspython signs with time.time()
    for framed in stream(query, keyring, args.mode):
        connection.sendall(framed)
    # The client ends the exchange (at the closing SOA, or at the close for
    # a cut stream): wait for its close, bounded by the lifetime.
    deadline = time.monotonic() + args.lifetime
    if args.mode == "cut10":
        connection.close()
        return
    while time.monotonic() < deadline and connection.recv(4096):
        pass
    connection.close()


if __name__ == "__main__":
    main()
