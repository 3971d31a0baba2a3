#include "LookupState.h"
#include "NameDecoding.h"
#include "ReplyReader.h"
#include "ReportAppend.h"
#include "Texts.h"

namespace {
constexpr int kSoaNumbers = 563;
constexpr int kUnknownType = 564;

// Record types whose data is one domain name, with their tags.
const char* NameTypeTag(unsigned type) {
    switch (type) {
        case 2: return "\tNS\t";
        case 3: return "\tMD\t";
        case 4: return "\tMF\t";
        case 5: return "\tCNAME\t";
        case 7: return "\tMB\t";
        case 8: return "\tMG\t";
        case 9: return "\tMR\t";
        case 12: return "\tPTR\t";
        default: return nullptr;
    }
}

void AppendCharacterString(std::string& out, ReplyReader& reply) {
    const std::uint8_t length = reply.u8();
    if (const std::uint8_t* text = reply.bytes(length)) AppendRawText(out, text, length);
}

// The dotted address, built back to front and appended once.
void AppendAddress(std::string& out, ReplyReader& reply) {
    const std::uint8_t* address = reply.bytes(4);
    if (!address) return;
    char text[16];  // "255.255.255.255"
    char* const end = text + sizeof text;
    char* first = end;
    for (int i = 3; i >= 0; --i) {
        first = FormatDecimal(first, address[i]);
        if (i) *--first = '.';
    }
    out.append(first, static_cast<std::size_t>(end - first));
}

void AppendSoa(std::string& out, ReplyReader& reply, int rdata) {
    out += "\tSOA\t";
    const int mailbox = AppendName(out, reply, rdata);
    out += "\n\t\t\temail:\t";
    reply.seek(static_cast<std::size_t>(AppendName(out, reply, mailbox)));
    // Serial, refresh, retry, expire and minimum, each printed signed.
    const std::int32_t serial = static_cast<std::int32_t>(reply.u32());
    const std::int32_t refresh = static_cast<std::int32_t>(reply.u32());
    const std::int32_t retry = static_cast<std::int32_t>(reply.u32());
    const std::int32_t expire = static_cast<std::int32_t>(reply.u32());
    const std::int32_t minimum = static_cast<std::int32_t>(reply.u32());
    AppendFormatted(out, TextOf(kSoaNumbers), {serial, refresh, retry, expire, minimum});
    out += '\n';
}

void AppendMinfo(std::string& out, ReplyReader& reply, int rdata) {
    out += "\tMINFO\tRMAILBX: ";
    const int errorMailbox = AppendName(out, reply, rdata);
    out += " EMAILBX: ";
    AppendName(out, reply, errorMailbox);
    out += '\n';
}

void AppendMx(std::string& out, ReplyReader& reply, int rdata) {
    out += "\tMX  ";
    AppendDecimal(out, reply.u16());
    out += '\t';
    AppendName(out, reply, rdata + 2);
    out += '\n';
}

void AppendDump(std::string& out, ReplyReader& reply, std::uint16_t length) {
    if (const std::uint8_t* data = reply.bytes(length)) AppendHexDump(out, data, length);
    out += '\n';
}
}  // namespace

// Renders the time to live, type tag and data of the record whose type field
// stands at position. The data is read by type, even where RDLENGTH says less;
// any read past the message's bytes leaves the reader's error set.
void LookupState::ReportRecordData(ReplyReader& reply, int position) {
    if (position < 0) return reply.fail();
    reply.seek(static_cast<std::size_t>(position));
    const std::uint16_t type = reply.u16();
    reply.skip(2);  // the class is not consulted
    const std::int32_t ttl = static_cast<std::int32_t>(reply.u32());
    const std::uint16_t length = reply.u16();
    const int rdata = position + 10;
    if (!reply.ok()) return;

    std::string& out = ReportText;
    char lead[kDecimalDigits + 2];  // "\t%d "
    char* const end = lead + sizeof lead;
    end[-1] = ' ';
    char* const first = FormatDecimal(end - 1, ttl) - 1;
    *first = '\t';
    out.append(first, static_cast<std::size_t>(end - first));
    if (const char* tag = NameTypeTag(type)) {
        out += tag;
        AppendName(out, reply, rdata);
        out += '\n';
        return;
    }
    switch (type) {
        case 1:
            out += "\tA\t";
            AppendAddress(out, reply);
            out += '\n';
            break;
        case 6: AppendSoa(out, reply, rdata); break;
        case 10:
            out += "\tNULL\n\t\t";
            AppendDump(out, reply, length);
            break;
        case 11: out += "\tWKS\t unparsed\n"; break;
        case 13:
            out += "\tHINFO\tCPU:";
            AppendCharacterString(out, reply);
            out += "  OS:";
            AppendCharacterString(out, reply);
            out += '\n';
            break;
        case 14: AppendMinfo(out, reply, rdata); break;
        case 15: AppendMx(out, reply, rdata); break;
        case 16:
            out += "\tTXT\t";
            AppendCharacterString(out, reply);
            out += '\n';
            break;
        default:
            out += TextOf(kUnknownType);
            AppendDump(out, reply, length);
            break;
    }
}
