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
    if (count == 0) return true;
    if (!Reserve(size_ + count)) return false;
    std::memcpy(data_ + size_, bytes, count);
    size_ += count;
    return true;
}

void ReplyBuffer::Discard(std::size_t count) {
    count = std::min(count, size_);
    if (count == 0) return;
    std::memmove(data_, data_ + count, size_ - count);
    size_ -= count;
}

// Doubles; when the doubled block cannot be had, the exact need may still fit.
bool ReplyBuffer::Reserve(std::size_t needed) {
    if (needed <= capacity_) return true;
    for (std::size_t wanted : {std::max(needed, capacity_ * 2), needed}) {
        void* grown = std::realloc(data_, wanted);
        if (grown) {
            data_ = static_cast<std::uint8_t*>(grown);
            capacity_ = wanted;
            return true;
        }
    }
    return false;
}
