#include "ReplyBuffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

const std::uint8_t ReplyBuffer::kEmpty = 0;

ReplyBuffer::~ReplyBuffer() { std::free(data_); }

void ReplyBuffer::Release() {
    std::free(data_);
    data_ = nullptr;
    size_ = capacity_ = 0;
}

bool ReplyBuffer::Append(const std::uint8_t* bytes, std::size_t count) {
    const std::int32_t length =
        static_cast<std::int32_t>(std::min<std::size_t>(count, static_cast<std::size_t>(limit_ - size_)));
    if (length == 0) return true;
    if (!Reserve(size_ + length)) return false;
    std::memcpy(data_ + size_, bytes, static_cast<std::size_t>(length));
    size_ += length;
    return true;
}

// Doubles, but not past the limit; when the doubled block cannot be had,
// the exact need may still fit.
bool ReplyBuffer::Reserve(std::int32_t needed) {
    if (needed <= capacity_) return true;
    const std::int32_t doubled =
        capacity_ > limit_ / 2 ? limit_ : std::max(needed, capacity_ * 2);
    for (std::int32_t wanted : {doubled, needed}) {
        void* grown = std::realloc(data_, static_cast<std::size_t>(wanted));
        if (grown) {
            data_ = static_cast<std::uint8_t*>(grown);
            capacity_ = wanted;
            return true;
        }
    }
    return false;
}
