#pragma once
// Stepping over an encoded name without decoding it, for the walks that
// only need to find what follows the name.
#include <cstdint>

#include "ReplyReader.h"
#include "Wire.h"

namespace wire {

// Steps over labels up to the root or a compression pointer. A length byte
// of a reserved kind fails the reader.
inline void SkipName(ReplyReader& reader) {
    while (reader.Ok()) {
        const std::uint8_t length = reader.U8();
        if (length == 0) return;
        if ((length & kPointerBits) == kPointerBits) return reader.Skip(1);
        if (length & kPointerBits) return reader.Fail();
        reader.Skip(length);
    }
}

}  // namespace wire
