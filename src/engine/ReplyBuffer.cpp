#include "ReplyBuffer.h"

#include <algorithm>
#include <cstdlib>

const std::uint8_t ReplyBuffer::kEmpty = 0;

ReplyBuffer::~ReplyBuffer() { std::free(data_); }

void ReplyBuffer::Release() {
    std::free(data_);
    data_ = nullptr;
    size_ = capacity_ = 0;
}

int ReplyBuffer::MakeRoom() {
    const int length = std::min<std::int32_t>(kChunk, limit_ - size_);
    if (length <= 0) return 0;
    const std::int32_t needed = size_ + length;
    if (needed <= capacity_) return length;
    // Double, but not past the limit; when the doubled block cannot be had,
    // the exact need may still fit.
    const std::int32_t doubled =
        capacity_ > limit_ / 2 ? limit_ : std::max(needed, capacity_ * 2);
    for (std::int32_t wanted : {doubled, needed}) {
        void* grown = std::realloc(data_, static_cast<std::size_t>(wanted));
        if (grown) {
            data_ = static_cast<std::uint8_t*>(grown);
            capacity_ = wanted;
            return length;
        }
    }
    return -1;
}
