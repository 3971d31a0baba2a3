#include "ZoneWriter.h"

#include "PresentationText.h"
#include "RecordLayouts.h"
#include "RecordWalk.h"
#include "ReplyReader.h"
#include "TextCodecs.h"
#include "ZoneFields.h"

namespace {
void AppendClass(std::string& out, std::uint16_t klass) {
    switch (klass) {
        case 1: out += "IN"; break;
        case 3: out += "CH"; break;
        case 4: out += "HS"; break;
        default: out += "CLASS" + std::to_string(klass); break;
    }
}

void AppendGeneric(std::string& out, ReplyReader& message, const WireRecord& record) {
    out += "\\# " + std::to_string(record.rdlength);
    message.Seek(record.rdata);
    const std::uint8_t* bytes = message.Bytes(record.rdlength);
    if (bytes && record.rdlength) {
        out += ' ';
        AppendHex(out, bytes, record.rdlength);
    }
}

// The data by its layout; false (with `out` to be dropped) when the data
// does not read exactly by it.
bool AppendByLayout(std::string& out, ReplyReader message, const WireRecord& record,
                    const RecordLayout& layout) {
    message.Seek(record.rdata);
    for (std::uint8_t i = 0; i < layout.count && message.Ok(); ++i) {
        if (i) out += ' ';
        AppendField(out, message, record.End(), layout.fields[i]);
        if (message.Pos() > record.End()) message.Fail();
    }
    return message.Ok() && message.Pos() == record.End();
}
}  // namespace

void AppendZoneRecord(std::string& out, ReplyReader& message, const WireRecord& record) {
    const std::size_t lineStart = out.size();
    AppendZoneName(out, message, record.start);
    if (!message.Ok()) {
        out.resize(lineStart);
        return;
    }
    out += '\t' + std::to_string(record.ttl) + '\t';
    AppendClass(out, record.klass);
    out += '\t';
    const std::size_t typeStart = out.size();
    AppendTypeName(out, record.type);
    out += '\t';
    const RecordLayout* layout = FindLayout(record.type);
    if (!layout || !AppendByLayout(out, message, record, *layout)) {
        out.resize(typeStart);
        out += "TYPE" + std::to_string(record.type) + '\t';
        AppendGeneric(out, message, record);
    }
    out += '\n';
    message.Seek(record.End());
}
