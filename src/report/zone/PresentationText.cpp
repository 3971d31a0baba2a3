#include "PresentationText.h"

#include "NameDecoding.h"
#include "ReplyReader.h"
#include "Wire.h"

namespace {
void AppendDecimalEscape(std::string& out, std::uint8_t byte) {
    out += '\\';
    out += static_cast<char>('0' + byte / 100);
    out += static_cast<char>('0' + byte / 10 % 10);
    out += static_cast<char>('0' + byte % 10);
}

void AppendLabel(std::string& out, const std::uint8_t* bytes, std::uint8_t length) {
    for (std::uint8_t i = 0; i < length; ++i) {
        const std::uint8_t c = bytes[i];
        if (c <= 0x20 || c >= 0x7F) {
            AppendDecimalEscape(out, c);
            continue;
        }
        switch (c) {
            case '.': case '\\': case '"': case '(': case ')': case ';': case '@': case '$':
                out += '\\';
                break;
            default: break;
        }
        out += static_cast<char>(c);
    }
    out += '.';
}
}  // namespace

std::size_t AppendZoneName(std::string& out, ReplyReader& message, std::size_t position) {
    std::size_t next = 0;  // behind the first pointer, once one is met
    std::size_t runStart = position;
    std::size_t wireBytes = 1;
    int hops = 0;
    const std::size_t before = out.size();
    message.Seek(position);
    while (message.Ok()) {
        const std::uint8_t length = message.U8();
        if (length == 0) break;
        if ((length & wire::kPointerBits) == wire::kPointerBits) {
            const std::size_t target = wire::PointerTarget(length, message.U8());
            if (next == 0) next = message.Pos();
            if (target >= runStart || ++hops > kMaxPointerHops) message.Fail();
            runStart = target;
            message.Seek(target);
            continue;
        }
        if (length & wire::kPointerBits) message.Fail();
        wireBytes += 1 + length;
        if (wireBytes > wire::kMaxNameSize) message.Fail();
        const std::uint8_t* label = message.Bytes(length);
        if (label) AppendLabel(out, label, length);
    }
    if (out.size() == before) out += '.';
    if (next == 0) next = message.Pos();
    message.Seek(next);
    return next;
}

void AppendQuoted(std::string& out, const std::uint8_t* bytes, std::size_t size) {
    out += '"';
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t c = bytes[i];
        if (c < 0x20 || c >= 0x7F) {
            AppendDecimalEscape(out, c);
            continue;
        }
        if (c == '"' || c == '\\') out += '\\';
        out += static_cast<char>(c);
    }
    out += '"';
}
