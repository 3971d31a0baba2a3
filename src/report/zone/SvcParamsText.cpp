#include "SvcParamsText.h"

#include "AddressText.h"
#include "PresentationText.h"
#include "ReplyReader.h"
#include "TextCodecs.h"

namespace {
std::size_t Left(const ReplyReader& data, std::size_t end) {
    return data.Ok() && data.Pos() <= end ? end - data.Pos() : 0;
}

bool IsPlainAlpn(const std::uint8_t* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
        if (bytes[i] <= 0x20 || bytes[i] >= 0x7F || bytes[i] == ',' || bytes[i] == '\\' ||
            bytes[i] == '"')
            return false;
    return size > 0;
}

void AppendAddressList(std::string& out, ReplyReader& value, std::size_t end, bool v6) {
    for (bool first = true; value.Ok() && value.Pos() < end; first = false) {
        if (!first) out += ',';
        if (v6) AppendIpv6(out, value);
        else AppendIpv4(out, value);
    }
}

const char* const kSvcKeys[] = {"mandatory", "alpn", "no-default-alpn", "port",
                                "ipv4hint",  "ech",  "ipv6hint"};

void AppendSvcKeyName(std::string& out, std::uint16_t key) {
    if (key < sizeof kSvcKeys / sizeof kSvcKeys[0]) out += kSvcKeys[key];
    else out += "key" + std::to_string(key);
}

// One parameter's value, read up to `end`; a value that has no plain form
// here fails the reader (and the record goes generic).
void AppendSvcValue(std::string& out, ReplyReader& value, std::size_t end, std::uint16_t key) {
    const std::size_t size = end - value.Pos();
    switch (key) {
        case 0:
            for (bool first = true; value.Ok() && value.Pos() < end; first = false) {
                if (!first) out += ',';
                AppendSvcKeyName(out, value.U16());
            }
            return;
        case 1:
            for (bool first = true; value.Ok() && value.Pos() < end; first = false) {
                const std::uint8_t length = value.U8();
                const std::uint8_t* id = value.Bytes(length);
                if (!id || !IsPlainAlpn(id, length)) return value.Fail();
                if (!first) out += ',';
                out.append(reinterpret_cast<const char*>(id), length);
            }
            return;
        case 2: if (size != 0) value.Fail(); return;
        case 3: out += std::to_string(value.U16()); return;
        case 4: return AppendAddressList(out, value, end, false);
        case 6: return AppendAddressList(out, value, end, true);
        case 5: {
            const std::uint8_t* bytes = value.Bytes(size);
            if (bytes) AppendBase64(out, bytes, size);
            return;
        }
        default: {
            const std::uint8_t* bytes = value.Bytes(size);
            if (bytes) AppendQuoted(out, bytes, size);
            return;
        }
    }
}

}  // namespace

void AppendSvcParams(std::string& out, ReplyReader& data, std::size_t end) {
    int previousKey = -1;
    while (data.Ok() && data.Pos() < end) {
        const std::uint16_t key = data.U16();
        const std::uint16_t length = data.U16();
        if (key <= previousKey || length > Left(data, end)) return data.Fail();
        previousKey = key;
        out += ' ';
        AppendSvcKeyName(out, key);
        if (key == 2 && length == 0) continue;
        if (length == 0 && key != 5 && key < 7) return data.Fail();
        out += '=';
        const std::size_t valueEnd = data.Pos() + length;
        AppendSvcValue(out, data, valueEnd, key);
        if (data.Pos() != valueEnd) data.Fail();
    }
}
