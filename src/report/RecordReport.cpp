#include "LookupState.h"
#include "NameDecoding.h"
#include "RecordData.h"
#include "ReplyReader.h"
#include "ReportAppend.h"
#include "ReportBatch.h"
#include "Texts.h"

namespace {
constexpr int kSoaNumbers = 563;
constexpr int kUnknownType = 564;

struct Tag {
    const char* text;
    std::size_t length;
};
template <std::size_t N>
constexpr Tag MakeTag(const char (&text)[N]) {
    return {text, N - 1};
}

// Record types whose data is one domain name, with their tags.
Tag NameTypeTag(unsigned type) {
    switch (type) {
        case 2: return MakeTag("\tNS\t");
        case 3: return MakeTag("\tMD\t");
        case 4: return MakeTag("\tMF\t");
        case 5: return MakeTag("\tCNAME\t");
        case 7: return MakeTag("\tMB\t");
        case 8: return MakeTag("\tMG\t");
        case 9: return MakeTag("\tMR\t");
        case 12: return MakeTag("\tPTR\t");
        default: return {nullptr, 0};
    }
}

void PutCharacterString(ReportBatch& out, ReplyReader& reply) {
    const std::uint8_t length = reply.u8();
    if (const std::uint8_t* text = reply.bytes(length)) out.putRaw(text, length);
}

// The dotted address.
void PutAddress(ReportBatch& out, ReplyReader& reply) {
    const std::uint8_t* address = reply.bytes(4);
    if (!address) return;
    char* at = out.room(16);  // "255.255.255.255."
    for (int i = 0; i < 4; ++i) at = WriteOctetAndDot(at, address[i]);
    out.commit(at - 1);
}

// "\t%d " of the time to live, formatted only when it differs from the last.
void PutTimeToLive(ReportBatch& out, std::int32_t ttl, TimeToLiveText& last) {
    if (!last.known || last.value != ttl) {
        char* at = last.text;
        *at++ = '\t';
        at = WriteDecimal(at, ttl);
        *at++ = ' ';
        last.known = true;
        last.value = ttl;
        last.length = static_cast<std::uint8_t>(at - last.text);
    }
    char* at = out.room(sizeof last.text);
    std::memcpy(at, last.text, sizeof last.text);
    out.commit(at + last.length);
}

void PutSoa(ReportBatch& out, ReplyReader& reply, int rdata) {
    out.put("\tSOA\t");
    const int mailbox = AppendName(out, reply, rdata);
    out.put("\n\t\t\temail:\t");
    reply.seek(static_cast<std::size_t>(AppendName(out, reply, mailbox)));
    // Serial, refresh, retry, expire and minimum, each printed signed.
    const std::int32_t serial = static_cast<std::int32_t>(reply.u32());
    const std::int32_t refresh = static_cast<std::int32_t>(reply.u32());
    const std::int32_t retry = static_cast<std::int32_t>(reply.u32());
    const std::int32_t expire = static_cast<std::int32_t>(reply.u32());
    const std::int32_t minimum = static_cast<std::int32_t>(reply.u32());
    AppendFormatted(out.text(), TextOf(kSoaNumbers), {serial, refresh, retry, expire, minimum});
    out.put('\n');
}

void PutMinfo(ReportBatch& out, ReplyReader& reply, int rdata) {
    out.put("\tMINFO\tRMAILBX: ");
    const int errorMailbox = AppendName(out, reply, rdata);
    out.put(" EMAILBX: ");
    AppendName(out, reply, errorMailbox);
    out.put('\n');
}

void PutMx(ReportBatch& out, ReplyReader& reply, int rdata) {
    const std::uint16_t preference = reply.u16();
    char* at = out.room(5 + kDecimalDigits + 1);
    std::memcpy(at, "\tMX  ", 5);
    at = WriteDecimal(at + 5, preference);
    *at++ = '\t';
    out.commit(at);
    AppendName(out, reply, rdata + 2);
    out.put('\n');
}

void PutDump(ReportBatch& out, ReplyReader& reply, std::uint16_t length) {
    if (const std::uint8_t* data = reply.bytes(length)) AppendHexDump(out.text(), data, length);
    out.put('\n');
}
}  // namespace

// Renders the time to live, type tag and data of the record whose type field
// stands at position. The data is read by type, even where RDLENGTH says less;
// any read past the message's bytes leaves the reader's error set.
void WriteRecordData(ReportBatch& out, ReplyReader& reply, int position, TimeToLiveText& lastTtl) {
    if (position < 0) return reply.fail();
    reply.seek(static_cast<std::size_t>(position));
    const std::uint16_t type = reply.u16();
    reply.skip(2);  // the class is not consulted
    const std::int32_t ttl = static_cast<std::int32_t>(reply.u32());
    const std::uint16_t length = reply.u16();
    const int rdata = position + 10;
    if (!reply.ok()) return;

    PutTimeToLive(out, ttl, lastTtl);
    const Tag tag = NameTypeTag(type);
    if (tag.text) {
        out.put(tag.text, tag.length);
        AppendName(out, reply, rdata);
        out.put('\n');
        return;
    }
    switch (type) {
        case 1:
            out.put("\tA\t");
            PutAddress(out, reply);
            out.put('\n');
            break;
        case 6: PutSoa(out, reply, rdata); break;
        case 10:
            out.put("\tNULL\n\t\t");
            PutDump(out, reply, length);
            break;
        case 11: out.put("\tWKS\t unparsed\n"); break;
        case 13:
            out.put("\tHINFO\tCPU:");
            PutCharacterString(out, reply);
            out.put("  OS:");
            PutCharacterString(out, reply);
            out.put('\n');
            break;
        case 14: PutMinfo(out, reply, rdata); break;
        case 15: PutMx(out, reply, rdata); break;
        case 16:
            out.put("\tTXT\t");
            PutCharacterString(out, reply);
            out.put('\n');
            break;
        default:
            out.putText(TextOf(kUnknownType));
            PutDump(out, reply, length);
            break;
    }
}

void LookupState::ReportRecordData(ReplyReader& reply, int position) {
    ReportBatch out(ReportText);
    TimeToLiveText ttl;
    WriteRecordData(out, reply, position, ttl);
}
