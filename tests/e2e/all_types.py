"""The zone that holds a record of every type vek-cli's zone files decode,
names and strings that need escaping, types it only knows generically, and
4,000 addresses.
dnspython parses and writes it, so the served file is in its canonical form."""
import dns.zone

ZONE = "alltypes.zt."
KEY64 = "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4OTo7PD0+Pw=="
HEX32 = "2D711642B726B04401627CA9FBAC32F5C8530FB1903CC4DB02258717921A4881"
HEX48 = ("D752C2C51FBA0E29AA190570A9D4253E44077A058D3297FA3A5630D5BD012622"
         "F97C28ACAED313B5C83BB990CAA7DA85")

RECORDS = """
@ 3600 IN SOA ns.alltypes.zt. admin.alltypes.zt. 2026120701 3600 600 86400 300
@ 3600 IN NS ns
@ 3600 IN MX 10 mail
@ 3600 IN CAA 0 issue "ca.example.net"
@ 3600 IN CAA 128 tbs "Unknown; with \\"quotes\\""
ns 3600 IN A 192.0.2.53
ns 3600 IN AAAA 2001:db8::53
mail 300 IN A 192.0.2.25
www 300 IN CNAME ns
dname 300 IN DNAME target.example.
ptr 300 IN PTR host.example.
txt 300 IN TXT "plain" "with \\"quote\\"" "back\\\\slash" "tab\\009end" "semi;colon" ""
spf 300 IN SPF "v=spf1 -all"
spf 300 IN TXT "v=spf1 -all"
hinfo 300 IN HINFO "PC" "Linux 6"
_sip._tcp 300 IN SRV 10 60 5060 sip.example.
naptr 300 IN NAPTR 100 10 "U" "E2U+sip" "!^.*$!sip:info@example.com!" .
child 300 IN NS ns.example.
child 300 IN DS 60485 13 2 %(hex32)s
child 300 IN CDS 60485 13 2 %(hex32)s
child 300 IN CDNSKEY 257 3 13 %(key)s
dnskey 300 IN DNSKEY 257 3 13 %(key)s
rrsig 300 IN RRSIG A 13 3 300 20270101000000 20261201000000 12345 alltypes.zt. %(key)s
nsec 300 IN NSEC next.alltypes.zt. A MX RRSIG NSEC TYPE1234
1ngaf7pg5c8ddunq2ev6n9nkavcrk6h1 300 IN NSEC3 1 1 12 AABBCCDD 2VPTU5TIMAMQTTGL4LUU9KG21E0AOR3S A RRSIG
nsec3param 300 IN NSEC3PARAM 1 0 12 AABBCCDD
_443._tcp 300 IN TLSA 3 1 1 %(hex32)s
smimea 300 IN SMIMEA 3 1 1 %(hex32)s
sshfp 300 IN SSHFP 4 2 %(hex32)s
openpgpkey 300 IN OPENPGPKEY %(key)s
svcb 300 IN SVCB 1 svc.example. mandatory=alpn alpn=h2,h3 port=8443 ipv4hint=192.0.2.1,192.0.2.2 ipv6hint=2001:db8::1
https 300 IN HTTPS 1 . alpn=h2 no-default-alpn ech=%(key)s
alias 300 IN HTTPS 0 svc.example.
loc 300 IN LOC 52 22 23.000 N 4 53 32.000 E -2.00m 1.00m 10000.00m 10.00m
uri 300 IN URI 10 1 "https://www.example.com/path"
cert 300 IN CERT 1 0 0 %(key)s
zonemd 300 IN ZONEMD 2026120701 1 1 %(hex48)s
esc\\.dot 300 IN TXT "dot in a label"
sp\\032ace 300 IN TXT "\\255\\000binary"
unknown 300 IN TYPE65280 \\# 4 0A0B0C0D
unknown 300 IN TYPE65281 \\# 0
""" % {"key": KEY64, "hex32": HEX32, "hex48": HEX48}
# Enough addresses besides that the servers send the zone in several
# messages, so that the chain of MACs from message to message is checked.
RECORDS += "".join("h%d 300 IN A 10.0.%d.%d\n" % (i, i // 256, i % 256) for i in range(4000))


def zone():
    return dns.zone.from_text(RECORDS, origin=ZONE, relativize=False)


def zone_text():
    return zone().to_text(relativize=False)
