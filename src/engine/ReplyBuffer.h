#pragma once
// The bytes received by one TCP lookup, in arrival order, length prefixes
// included. The storage grows geometrically, so that a long zone transfer
// costs linear time, and never beyond the limit given at construction.
// Running out of memory is an outcome, not an exception: Append says false
// and every byte already held stays valid.
#include <cstddef>
#include <cstdint>

class ReplyBuffer {
public:
    // `limit`: the most bytes the buffer will ever hold (positive).
    explicit ReplyBuffer(std::int32_t limit) : limit_(limit) {}
    ~ReplyBuffer();
    ReplyBuffer(const ReplyBuffer&) = delete;
    ReplyBuffer& operator=(const ReplyBuffer&) = delete;

    // Keeps the bytes, as many as the limit leaves room for; false when the
    // memory for them cannot be had (nothing of them is kept then).
    bool Append(const std::uint8_t* bytes, std::size_t count);
    // The limit is reached: nothing more will be kept.
    bool Full() const { return size_ == limit_; }

    // Lets the bytes go; the buffer is empty afterwards.
    void Release();

    const std::uint8_t* data() const { return data_ ? data_ : &kEmpty; }
    std::int32_t size() const { return size_; }

private:
    bool Reserve(std::int32_t needed);

    static const std::uint8_t kEmpty;
    std::uint8_t* data_ = nullptr;
    std::int32_t size_ = 0;
    std::int32_t capacity_ = 0;
    std::int32_t limit_;
};
