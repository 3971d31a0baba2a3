#pragma once
// The decoded text of name suffixes of one message, by the position a
// compression pointer led to, so that a suffix that many names point to (the
// zone's origin, a subdomain) is walked once per message rather than once per
// use. Only walks that succeeded are kept, together with what the walk needs
// to check again before a copy of its text may stand in for it: where its
// first run of labels ends, how many pointers it followed and how much
// name-text budget it spent. A memo belongs to one message's bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>

class NameMemo {
public:
    struct Entry {
        std::uint32_t runEnd;      // position of the length byte ending the first run
        std::uint32_t end;         // position behind the suffix's zero byte
        std::uint32_t textBudget;  // name-text budget the walk spent
        std::uint16_t textStart;   // where the text lies in the memo
        std::uint16_t textLength;
        std::uint16_t hops;        // pointers followed behind the target
    };
    // Texts longer than this are walked each time; it fits a name's buffer.
    static constexpr std::size_t kMaxText = 255;
    // Bytes behind every text that may be read with it, so that a text can
    // be copied in whole blocks of this size.
    static constexpr std::size_t kTextSlack = 16;

    NameMemo() { std::memset(targets_, 0, sizeof targets_); }
    NameMemo(const NameMemo&) = delete;
    NameMemo& operator=(const NameMemo&) = delete;

    // The suffix at target, or nullptr when it is not known.
    const Entry* Find(std::size_t target) const {
        const std::size_t slot = Slot(target);
        return targets_[slot] == target + 1 ? &entries_[slot] : nullptr;
    }
    const char* Text(const Entry& entry) const { return text_ + entry.textStart; }

    // Keeps the suffix at target (replacing what shared its slot), unless its
    // text is too long or the memo's text space has run out.
    void Store(std::size_t target, Entry entry, const char* text) {
        if (entry.textLength > kMaxText || entry.textLength > kTextSpace - textUsed_ ||
            target >= kMaxTarget)
            return;
        std::memcpy(text_ + textUsed_, text, entry.textLength);
        entry.textStart = static_cast<std::uint16_t>(textUsed_);
        textUsed_ += entry.textLength;
        const std::size_t slot = Slot(target);
        targets_[slot] = static_cast<std::uint16_t>(target + 1);
        entries_[slot] = entry;
    }

private:
    // Pointers carry 14 bits of offset, counted behind the length prefix.
    static constexpr std::size_t kMaxTarget = 0x3FFF + 2 + 1;
    static constexpr std::size_t kSlots = 1024;  // as many as Slot's top 10 bits
    static constexpr std::size_t kTextSpace = 16384;
    static std::size_t Slot(std::size_t target) {
        return (static_cast<std::uint32_t>(target) * 0x9E3779B1u) >> 22;  // top 10 bits
    }

    std::uint16_t targets_[kSlots];  // target + 1; 0 for an empty slot
    Entry entries_[kSlots];
    char text_[kTextSpace + kTextSlack];
    std::size_t textUsed_ = 0;
};
