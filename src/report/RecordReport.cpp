#include "NameDecoding.h"
#include "RecordData.h"
#include "Report.h"
#include "ReplyReader.h"
#include "ReportAppend.h"
#include "ReportBatch.h"
#include "QueryTypes.h"
#include "Texts.h"
#include "Wire.h"

namespace {
using namespace wire;

// A record line's type tag: the type's mnemonic from the query-type table
// between tabs, padded to eight bytes so that it goes into the report as one
// fixed-size copy; empty for a type the table does not name.
struct TypeTag {
    char text[8] = {};
    std::uint8_t length = 0;
};
struct TypeTags {
    static constexpr unsigned kCount = kTypeTxt + 1;
    TypeTag tag[kCount];
    constexpr TypeTags() : tag() {
        for (const QueryType& row : kQueryTypes) {
            if (row.qtype >= kCount) continue;
            TypeTag& t = tag[row.qtype];
            t.text[t.length++] = '\t';
            for (const char* c = row.mnemonic; *c; ++c) t.text[t.length++] = *c;
            t.text[t.length] = '\t';
        }
    }
};
constexpr TypeTags kTypeTags;

// The tag, with its closing tab or (for the types whose data is not set
// off by a tab) without.
void PutTypeTag(ReportBatch& out, unsigned type, bool closingTab = true) {
    const TypeTag& tag = kTypeTags.tag[type];
    static_assert(sizeof tag.text <= ReportBatch::kSpare, "a tag is copied whole");
    char* at = out.Room(tag.length + 1u);
    std::memcpy(at, tag.text, sizeof tag.text);
    out.Commit(at + tag.length + (closingTab ? 1 : 0));
}

// The types whose data is one domain name.
bool IsNameType(unsigned type) {
    switch (type) {
        case kTypeNs: case kTypeMd: case kTypeMf: case kTypeCname:
        case kTypeMb: case kTypeMg: case kTypeMr: case kTypePtr:
            return true;
        default:
            return false;
    }
}

void PutCharacterString(ReportBatch& out, ReplyReader& reply) {
    const std::uint8_t length = reply.U8();
    if (const std::uint8_t* text = reply.Bytes(length)) out.PutRaw(text, length);
}

// The dotted address.
void PutAddress(ReportBatch& out, ReplyReader& reply) {
    const std::uint8_t* address = reply.Bytes(4);
    if (!address) return;
    char* at = out.Room(16);  // "255.255.255.255."
    for (int i = 0; i < 4; ++i) at = WriteOctetAndDot(at, address[i]);
    out.Commit(at - 1);
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
    char* at = out.Room(sizeof last.text);
    std::memcpy(at, last.text, sizeof last.text);
    out.Commit(at + last.length);
}

void PutSoa(ReportBatch& out, ReplyReader& reply, int rdata) {
    PutTypeTag(out, kTypeSoa);
    const int mailbox = AppendName(out, reply, rdata);
    out.Put("\n\t\t\temail:\t");
    reply.Seek(static_cast<std::size_t>(AppendName(out, reply, mailbox)));
    // Serial, refresh, retry, expire and minimum, each printed signed.
    const std::int32_t serial = static_cast<std::int32_t>(reply.U32());
    const std::int32_t refresh = static_cast<std::int32_t>(reply.U32());
    const std::int32_t retry = static_cast<std::int32_t>(reply.U32());
    const std::int32_t expire = static_cast<std::int32_t>(reply.U32());
    const std::int32_t minimum = static_cast<std::int32_t>(reply.U32());
    AppendFormatted(out, TextOf(kSoaNumbers), {serial, refresh, retry, expire, minimum});
    out.Put('\n');
}

void PutMinfo(ReportBatch& out, ReplyReader& reply, int rdata) {
    PutTypeTag(out, kTypeMinfo);
    out.Put("RMAILBX: ");
    const int errorMailbox = AppendName(out, reply, rdata);
    out.Put(" EMAILBX: ");
    AppendName(out, reply, errorMailbox);
    out.Put('\n');
}

void PutMx(ReportBatch& out, ReplyReader& reply, int rdata) {
    const std::uint16_t preference = reply.U16();
    PutTypeTag(out, kTypeMx, false);
    char* at = out.Room(2 + kDecimalDigits + 1);
    at[0] = at[1] = ' ';
    at = WriteDecimal(at + 2, preference);
    *at++ = '\t';
    out.Commit(at);
    AppendName(out, reply, rdata + 2);
    out.Put('\n');
}

void PutDump(ReportBatch& out, ReplyReader& reply, std::uint16_t length) {
    if (const std::uint8_t* data = reply.Bytes(length)) AppendHexDump(out, data, length);
    out.Put('\n');
}
}  // namespace

// Renders the time to live, type tag and data of the record whose type field
// stands at position. The data is read by type, even where RDLENGTH says less;
// any read past the message's bytes leaves the reader's error set.
void ReportRecordData(ReportBatch& out, ReplyReader& reply, int position, TimeToLiveText& lastTtl) {
    if (position < 0) return reply.Fail();
    reply.Seek(static_cast<std::size_t>(position));
    const std::uint16_t type = reply.U16();
    reply.Skip(2);  // the class is not consulted
    const std::int32_t ttl = static_cast<std::int32_t>(reply.U32());
    const std::uint16_t length = reply.U16();
    const int rdata = position + static_cast<int>(kRecordDataAt);
    if (!reply.Ok()) return;

    PutTimeToLive(out, ttl, lastTtl);
    if (IsNameType(type)) {
        PutTypeTag(out, type);
        AppendName(out, reply, rdata);
        out.Put('\n');
        return;
    }
    switch (type) {
        case kTypeA:
            PutTypeTag(out, type);
            PutAddress(out, reply);
            out.Put('\n');
            break;
        case kTypeSoa: PutSoa(out, reply, rdata); break;
        case kTypeNull:
            PutTypeTag(out, type, false);
            out.Put("\n\t\t");
            PutDump(out, reply, length);
            break;
        case kTypeWks:
            PutTypeTag(out, type);
            out.Put(" unparsed\n");
            break;
        case kTypeHinfo:
            PutTypeTag(out, type);
            out.Put("CPU:");
            PutCharacterString(out, reply);
            out.Put("  OS:");
            PutCharacterString(out, reply);
            out.Put('\n');
            break;
        case kTypeMinfo: PutMinfo(out, reply, rdata); break;
        case kTypeMx: PutMx(out, reply, rdata); break;
        case kTypeTxt:
            PutTypeTag(out, type);
            PutCharacterString(out, reply);
            out.Put('\n');
            break;
        default:
            out.PutText(TextOf(kUnknownRecordType));
            PutDump(out, reply, length);
            break;
    }
}
