#include <algorithm>
#include <cstring>

#include "LookupState.h"
#include "NameDecoding.h"
#include "ReplyReader.h"
#include "ReportAppend.h"

namespace {
// A length byte with either of its two top bits set starts a pointer; the
// reserved label types 01 and 10 are taken for pointers too.
constexpr std::uint8_t kPointerBits = 0xC0;

// Collects a name's text and hands it to the output in one append (when it
// is done, or when the next label would not fit), instead of an append per
// label and dot: most names of a zone transfer are a few short labels.
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
    // The label's bytes unchanged, except that a zero byte adds nothing.
    void label(const std::uint8_t* bytes, std::uint8_t length) {
        if (used_ + length > sizeof text_) flush();
        std::memcpy(text_ + used_, bytes, length);
        if (std::memchr(bytes, 0, length)) return dropZeros(length);
        used_ += length;
    }

private:
    // Squeezes the zero bytes out of the label just copied behind used_.
    void dropZeros(std::size_t length) {
        char* const from = text_ + used_;
        used_ = static_cast<std::size_t>(std::remove(from, from + length, '\0') - text_);
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
    NameText text(out);
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
