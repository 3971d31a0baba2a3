"""DNS messages for the scripted servers, as they travel over TCP (with the
two-byte length prefix). Well-formed messages come from dnspython; the few
raw pieces below are for replies that dnspython will not write."""
import struct

import dns.message
import dns.name
import dns.rdata
import dns.rdataclass
import dns.rdatatype
import dns.rrset

AA = 0x8400      # an answer, authoritative: what a transfer message carries
ANSWER = 0x8580  # the same, recursion desired and available
QUESTION_NAME = b"\xc0\x0c"  # a pointer to the first question's name
SOA_DATA = "ns.zt. admin.zt. %d 7200 900 86400 300"


def framed(body):
    return struct.pack("!H", len(body)) + body


def rrset(line):
    """A record from a zone-file line without class: "OWNER TTL TYPE DATA"."""
    owner, ttl, rtype, data = line.split(None, 3)
    rdata = dns.rdata.from_text(dns.rdataclass.IN, rtype, data, origin=dns.name.root,
                                relativize=False)
    return dns.rrset.from_rdata(dns.name.from_text(owner), int(ttl), rdata)


def soa(owner, ttl, serial=1):
    return "%s %d SOA %s" % (owner, ttl, SOA_DATA % serial)


def a(owner, ttl, address):
    return "%s %d A %s" % (owner, ttl, address)


def message(answers=(), question=None, flags=AA):
    """A framed message: `answers` are zone-file lines, `question` a
    (name, type) pair."""
    m = dns.message.Message(id=0)
    m.flags = flags
    if question:
        m.question.append(dns.rrset.RRset(dns.name.from_text(question[0]), dns.rdataclass.IN,
                                          dns.rdatatype.from_text(question[1])))
    m.answer.extend(rrset(line) for line in answers)
    return framed(m.to_wire())


# Raw pieces, for the hostile replies.
def header(flags, questions=0, answers=0, authority=0, additional=0):
    return struct.pack("!HHHHHH", 0, flags, questions, answers, authority, additional)


def question(name, qtype):
    """A question entry in wire form."""
    return dns.name.from_text(name).to_wire() + struct.pack("!HH", dns.rdatatype.from_text(qtype), 1)


def raw_record(rtype, rdata, owner=QUESTION_NAME, rdlength=None):
    """A record with any type code and, if asked, a RDLENGTH that lies."""
    size = len(rdata) if rdlength is None else rdlength
    return owner + struct.pack("!HHiH", rtype, 1, 60, size) + rdata


def raw_answer(records, qname="x.zt", qtype="A"):
    """A framed answer to one question, its records given as bytes."""
    return framed(header(ANSWER, 1, len(records)) + question(qname, qtype) + b"".join(records))
