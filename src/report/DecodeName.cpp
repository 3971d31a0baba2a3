#include <algorithm>
#include <cstring>

#include "LookupState.h"
#include "NameDecoding.h"
#include "ReplyReader.h"

namespace {
// A length byte with either of its two top bits set starts a pointer; the
// reserved label types 01 and 10 are taken for pointers too.
constexpr std::uint8_t kPointerBits = 0xC0;

// Gathers a name's text in a small buffer and hands it to the output in one
// append (or a few, for a long name), since most names are short and the
// report holds one or more of them per record. Label bytes go in unchanged;
// zero bytes, which add nothing, are taken out once per batch rather than
// looked for in every label.
class NameText {
public:
    explicit NameText(std::string& out) : out_(out) {}
    ~NameText() { flush(); }
    NameText(const NameText&) = delete;
    NameText& operator=(const NameText&) = delete;

    void dot() {
        if (used_ == sizeof text_) flush();
        text_[used_++] = '.';
    }
    void label(const std::uint8_t* bytes, std::uint8_t length) {
        if (used_ + length > sizeof text_) flush();
        std::memcpy(text_ + used_, bytes, length);
        used_ += length;
    }

private:
    void flush() {
        char* const end = text_ + used_;
        if (std::memchr(text_, 0, used_)) used_ = std::size_t(std::remove(text_, end, '\0') - text_);
        out_.append(text_, used_);
        used_ = 0;
    }

    std::string& out_;
    char text_[256];
    std::size_t used_ = 0;
};

// The walk over one name's labels and pointers; see AppendName.
int WalkName(NameText& text, ReplyReader& reply, int position) {
    if (position < 0) {
        reply.fail();
        return position;
    }
    std::size_t segmentStart = static_cast<std::size_t>(position);
    std::size_t limit = reply.size();  // the current run must end before this
    int result = -1;                   // set by the first pointer
    int hops = 0;
    bool afterLabel = false;
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
}  // namespace

// The walk reads through a copy of the reader: a local whose address stays
// here, so that its fields live in registers across the stores of text.
int AppendName(std::string& out, ReplyReader& reply, int position) {
    ReplyReader cursor = reply;
    NameText text(out);
    const int next = WalkName(text, cursor, position);
    reply = cursor;
    return next;
}

int LookupState::DecodeName(std::string& name, ReplyReader& reply, int position) const {
    name.clear();
    return AppendName(name, reply, position);
}
