#pragma once
// The bytes received by one TCP lookup, in arrival order, length prefixes
// included. The exchange reads at most 512 bytes at a time onto the end;
// the storage underneath grows geometrically, so that a long zone transfer
// costs linear time, and never beyond the limit given at construction.
// Running out of memory is an outcome, not an exception: MakeRoom says
// false and every byte already held stays valid.
#include <cstddef>
#include <cstdint>

class ReplyBuffer {
public:
    static constexpr int kChunk = 512;

    // `limit`: the most bytes the buffer will ever hold (positive).
    explicit ReplyBuffer(std::int32_t limit) : limit_(limit) {}
    ~ReplyBuffer();
    ReplyBuffer(const ReplyBuffer&) = delete;
    ReplyBuffer& operator=(const ReplyBuffer&) = delete;

    // Makes room for the next read and returns its length (at most kChunk,
    // less near the limit); 0 at the limit; -1 when memory cannot be had.
    int MakeRoom();
    // Where the next read goes; valid after a successful MakeRoom.
    std::uint8_t* ReadSpace() { return data_ + size_; }
    // Counts `n` bytes just read into ReadSpace.
    void Add(int n) { size_ += n; }

    // Lets the bytes go; the buffer is empty afterwards.
    void Release();

    const std::uint8_t* data() const { return data_ ? data_ : &kEmpty; }
    std::int32_t size() const { return size_; }

private:
    static const std::uint8_t kEmpty;
    std::uint8_t* data_ = nullptr;
    std::int32_t size_ = 0;
    std::int32_t capacity_ = 0;
    std::int32_t limit_;
};
