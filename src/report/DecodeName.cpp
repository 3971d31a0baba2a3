#include <algorithm>
#include <cstddef>
#include <cstring>

#include "NameDecoding.h"
#include "NameMemo.h"
#include "Report.h"
#include "ReplyReader.h"
#include "ReportBatch.h"
#include "Wire.h"

namespace {
static_assert(NameMemo::kTextSlack <= ReportBatch::kSpare, "a memo block fits the spare room");
using wire::kPointerBits;

// Writes a name's text straight into the batch, a chunk of room at a time.
// Label bytes go in unchanged, except that a zero byte adds nothing.
class NameText {
public:
    explicit NameText(ReportBatch& out)
        : out_(out),
          at_(out.Room(kChunk)),
          end_(at_ + kChunk) {}
    ~NameText() { out_.Commit(at_); }
    NameText(const NameText&) = delete;
    NameText& operator=(const NameText&) = delete;

    void Dot() {
        if (at_ == end_) Renew();
        *at_++ = '.';
    }
    void Label(const std::uint8_t* bytes, std::uint8_t length) {
        if (length > end_ - at_) Renew();
        at_ = ReportBatch::CopyRaw(at_, bytes, length);
    }
    // A suffix's text from the memo (free of zero bytes, up to a chunk of
    // it), copied in whole blocks: the memo and the batch's spare room both
    // take a block's worth behind the text.
    void AppendKnown(const char* text, std::size_t length) {
        if (static_cast<std::ptrdiff_t>(length) > end_ - at_) Renew();
        for (std::size_t i = 0; i < length; i += NameMemo::kTextSlack)
            std::memcpy(at_ + i, text + i, NameMemo::kTextSlack);
        at_ += length;
    }

    // Where the text stands, and the text written since such a mark while it
    // is all in the current chunk (else nullptr).
    struct Mark {
        const char* at;
        unsigned chunk;
    };
    Mark Here() const { return {at_, chunks_}; }
    const char* Since(Mark mark) const { return mark.chunk == chunks_ ? mark.at : nullptr; }
    std::size_t LengthSince(Mark mark) const { return static_cast<std::size_t>(at_ - mark.at); }

private:
    static constexpr std::size_t kChunk = NameMemo::kMaxText + 1;
    void Renew() {
        out_.Commit(at_);
        at_ = out_.Room(kChunk);
        end_ = at_ + kChunk;
        ++chunks_;
    }

    ReportBatch& out_;
    char* at_;
    char* end_;
    unsigned chunks_ = 0;
};

// The suffix a walk reaches through its first pointer, noted as the walk
// goes so that it can be kept in the memo once the walk has succeeded.
class SuffixNote {
public:
    bool Started() const { return target_ != 0; }
    void Start(std::size_t target, const NameText& text, const ReplyReader& reply, int hops) {
        target_ = target;
        textMark_ = text.Here();
        budgetMark_ = reply.NameTextLeft();
        hopsMark_ = hops;
    }
    // Called at every length byte that ends a run of labels.
    void RunEnds(std::size_t at) {
        if (Started() && runEnd_ == 0) runEnd_ = at;
    }
    void Keep(NameMemo& memo, const NameText& text, const ReplyReader& reply, int hops) const {
        if (!Started()) return;
        const char* suffix = text.Since(textMark_);
        if (!suffix) return;
        NameMemo::Entry entry{};
        entry.runEnd = static_cast<std::uint32_t>(runEnd_);
        entry.end = static_cast<std::uint32_t>(reply.Pos());
        entry.textBudget = static_cast<std::uint32_t>(budgetMark_ - reply.NameTextLeft());
        entry.textLength = static_cast<std::uint16_t>(
            std::min<std::size_t>(text.LengthSince(textMark_), NameMemo::kMaxText + 1));
        entry.hops = static_cast<std::uint16_t>(hops - hopsMark_);
        memo.Store(target_, entry, suffix);
    }

private:
    std::size_t target_ = 0;  // pointer targets are never 0
    NameText::Mark textMark_{};
    std::size_t budgetMark_ = 0;
    std::size_t runEnd_ = 0;
    int hopsMark_ = 0;
};

// Whether a known suffix may stand in for walking it from here: what the walk
// would check (the run reached must end before limit, the hop cap, the
// budget) holds for it.
bool MayReuse(const NameMemo::Entry& known, const ReplyReader& reply, std::size_t limit,
              int hops) {
    return known.runEnd < limit && hops + known.hops <= kMaxPointerHops &&
           known.textBudget <= reply.NameTextLeft();
}

// The walk over one name's labels and pointers; see AppendName.
int WalkName(NameText& text, ReplyReader& reply, int position) {
    if (position < 0) {
        reply.Fail();
        return position;
    }
    NameMemo* const memo = reply.Memo();
    SuffixNote note;
    std::size_t segmentStart = static_cast<std::size_t>(position);
    std::size_t limit = reply.size();  // the current run must end before this
    int result = -1;                   // set by the first pointer
    int hops = 0;
    bool afterLabel = false;
    reply.Seek(segmentStart);
    for (;;) {
        const std::size_t at = reply.Pos();
        const std::uint8_t length = reply.U8();
        if (!reply.Ok() || at >= limit) {
            reply.Fail();
            return position;
        }
        if (length == 0) {
            note.RunEnds(at);
            break;
        }
        // The dot is decided by the byte behind a label, before a pointer
        // there is followed, so "label, pointer to the root" ends in a dot.
        if (afterLabel) text.Dot();
        if (length & kPointerBits) {
            note.RunEnds(at);
            const std::size_t target = wire::PointerTarget(length, reply.U8());
            if (result < 0) result = static_cast<int>(at + wire::kPointerSize);
            if (!reply.Ok() || target >= segmentStart || ++hops > kMaxPointerHops) {
                reply.Fail();
                return result;
            }
            limit = segmentStart;
            segmentStart = target;
            afterLabel = false;
            if (memo) {
                const NameMemo::Entry* known = memo->Find(target);
                if (known && MayReuse(*known, reply, limit, hops)) {
                    reply.SpendNameText(known->textBudget);
                    text.AppendKnown(memo->Text(*known), known->textLength);
                    hops += known->hops;
                    reply.Seek(known->end);
                    break;
                }
                if (!note.Started()) note.Start(target, text, reply, hops);
            }
            reply.Seek(target);
            continue;
        }
        reply.SpendNameText(length + 1u);  // the label and its dot
        const std::uint8_t* label = reply.Bytes(length);
        if (!label) return position;
        text.Label(label, length);
        afterLabel = true;
    }
    if (memo) note.Keep(*memo, text, reply, hops);
    return result < 0 ? static_cast<int>(reply.Pos()) : result;
}
}  // namespace

// The walk reads through a copy of the reader: a local whose address stays
// here, so that its fields live in registers across the stores of text.
int AppendName(ReportBatch& out, ReplyReader& reply, int position) {
    ReplyReader cursor = reply;
    NameText text(out);
    const int next = WalkName(text, cursor, position);
    reply = cursor;
    return next;
}

int AppendName(std::string& out, ReplyReader& reply, int position) {
    ReportBatch text(out);
    return AppendName(text, reply, position);
}

int DecodeName(std::string& name, ReplyReader& reply, int position) {
    name.clear();
    return AppendName(name, reply, position);
}
