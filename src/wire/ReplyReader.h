#pragma once
// One bounds-checked cursor over received bytes. Every read of a reply goes
// through it. Its error is sticky: a read past the end sets it and returns
// 0 (or no bytes), and every later read does the same, so that decoding can
// be straight-line code with one check at the end.
#include <cstddef>
#include <cstdint>

class NameMemo;

class ReplyReader {
public:
    ReplyReader(const std::uint8_t* data, std::size_t size)
        : data_(data), size_(size), nameBudget_(size * kNameTextPerByte + kNameTextFloor) {}

    // Compression lets a short message name the same long text over and over,
    // so name decoding spends from a budget in proportion to the bytes: ample
    // for any message whose names keep to 255 bytes, and a bound on what a
    // hostile one can make the report hold. Overspending fails the reader.
    static constexpr std::size_t kNameTextPerByte = 64;
    static constexpr std::size_t kNameTextFloor = 4096;
    void SpendNameText(std::size_t n) {
        if (n > nameBudget_) return Fail();
        nameBudget_ -= n;
    }
    std::size_t NameTextLeft() const { return nameBudget_; }

    // Name suffixes already decoded from these bytes (none by default); the
    // memo must outlive the reader and every copy of it.
    void SetNameMemo(NameMemo* memo) { nameMemo_ = memo; }
    NameMemo* Memo() const { return nameMemo_; }

    std::size_t Pos() const { return pos_; }
    std::size_t size() const { return size_; }
    std::size_t Remaining() const { return ok_ ? size_ - pos_ : 0; }
    bool Ok() const { return ok_; }
    void Fail() { ok_ = false; }

    // Moves to an absolute position; a position past the end fails.
    void Seek(std::size_t pos) {
        if (!ok_ || pos > size_) return Fail();
        pos_ = pos;
    }
    void Skip(std::size_t n) { Seek(pos_ + n); }

    std::uint8_t U8() { const std::uint8_t* p = Bytes(1); return p ? p[0] : 0; }
    std::uint16_t U16() {
        const std::uint8_t* p = Bytes(2);
        return p ? static_cast<std::uint16_t>(p[0] << 8 | p[1]) : 0;
    }
    std::uint32_t U32() {
        const std::uint8_t* p = Bytes(4);
        return p ? std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 |
                       std::uint32_t(p[2]) << 8 | p[3]
                 : 0;
    }
    // The next n bytes, or nullptr (and the sticky error) when fewer remain.
    const std::uint8_t* Bytes(std::size_t n) {
        if (!ok_ || n > size_ - pos_) { Fail(); return nullptr; }
        const std::uint8_t* p = data_ + pos_;
        pos_ += n;
        return p;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t nameBudget_;
    NameMemo* nameMemo_ = nullptr;
    std::size_t pos_ = 0;
    bool ok_ = true;
};
