#include "LookupState.h"
#include "NameDecoding.h"
#include "ReplyReader.h"

namespace {
// A length byte with either of its two top bits set starts a pointer; the
// reserved label types 01 and 10 are taken for pointers too.
constexpr std::uint8_t kPointerBits = 0xC0;

// Gathers a name's text in a small buffer and hands it to the output in one
// append (or a few, for a long name), since most names are short and the
// report holds one or more of them per record.
class NameText {
public:
    explicit NameText(std::string& out) : out_(out) {}
    ~NameText() { flush(); }
    NameText(const NameText&) = delete;
    NameText& operator=(const NameText&) = delete;

    void dot() {
        room(1);
        text_[used_++] = '.';
    }
    // Label bytes unchanged, except that a zero byte adds nothing.
    void label(const std::uint8_t* bytes, std::uint8_t length) {
        room(length);
        for (std::uint8_t i = 0; i < length; ++i) {
            text_[used_] = static_cast<char>(bytes[i]);
            used_ += bytes[i] != 0;
        }
    }

private:
    void room(std::size_t n) {
        if (used_ + n > sizeof text_) flush();
    }
    void flush() {
        out_.append(text_, used_);
        used_ = 0;
    }

    std::string& out_;
    char text_[256];
    std::size_t used_ = 0;
};
}  // namespace

int AppendName(std::string& out, ReplyReader& reply, int position) {
    if (position < 0) {
        reply.fail();
        return position;
    }
    std::size_t segmentStart = static_cast<std::size_t>(position);
    std::size_t limit = reply.size();  // the current run must end before this
    int result = -1;                   // set by the first pointer
    int hops = 0;
    bool afterLabel = false;
    NameText text(out);
    reply.seek(segmentStart);
    for (;;) {
        const std::size_t at = reply.pos();
        const std::uint8_t length = reply.u8();
        if (!reply.ok() || at >= limit) {
            reply.fail();
            return position;
        }
        if (length == 0) break;
        // The dot is decided by the byte behind a label, before a pointer
        // there is followed, so "label, pointer to the root" ends in a dot.
        if (afterLabel) text.dot();
        if (length & kPointerBits) {
            const std::size_t target = (std::size_t(length & 0x3F) << 8 | reply.u8()) + 2;
            if (result < 0) result = static_cast<int>(at) + 2;
            if (!reply.ok() || target >= segmentStart || ++hops > kMaxPointerHops) {
                reply.fail();
                return result;
            }
            limit = segmentStart;
            segmentStart = target;
            reply.seek(target);
            afterLabel = false;
            continue;
        }
        reply.spendNameText(length + 1u);  // the label and its dot
        const std::uint8_t* label = reply.bytes(length);
        if (!label) return position;
        text.label(label, length);
        afterLabel = true;
    }
    return result < 0 ? static_cast<int>(reply.pos()) : result;
}

int LookupState::DecodeName(std::string& name, ReplyReader& reply, int position) const {
    name.clear();
    return AppendName(name, reply, position);
}
