#pragma once
// The received bytes of one TCP lookup that are still needed, in arrival
// order, length prefixes included. The storage grows geometrically, so that
// keeping a long reply costs linear time. Running out of memory is an
// outcome, not an exception: Append says false and every byte already held
// stays valid.
#include <cstddef>
#include <cstdint>

class ReplyBuffer {
public:
    ReplyBuffer() = default;
    ~ReplyBuffer();
    ReplyBuffer(const ReplyBuffer&) = delete;
    ReplyBuffer& operator=(const ReplyBuffer&) = delete;

    // Keeps the bytes behind those held; false when the memory for them
    // cannot be had (nothing of them is kept then).
    bool Append(const std::uint8_t* bytes, std::size_t count);
    // Lets the first `count` bytes go; the rest move to the front.
    void Discard(std::size_t count);
    // Lets every byte go.
    void Release();

    const std::uint8_t* data() const { return data_ ? data_ : &kEmpty; }
    std::size_t size() const { return size_; }

private:
    bool Reserve(std::size_t needed);

    static const std::uint8_t kEmpty;
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};
