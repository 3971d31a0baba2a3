#pragma once
// Report text gathered in a buffer on the stack and appended to the report a
// few kilobytes at a time. A zone transfer's report is millions of short
// pieces (a tab, a name, a number), and each append to the string costs a
// call and a capacity check; here a piece is a store or a short copy.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

class ReportBatch {
public:
    static constexpr std::size_t kSize = 4096;
    // Room(n) leaves this many bytes writable behind the n asked for, so
    // that a writer may copy whole words or blocks and commit fewer bytes;
    // no caller adds slack of its own.
    static constexpr std::size_t kSpare = 16;

    explicit ReportBatch(std::string& out) : out_(out) {}
    ~ReportBatch() { Flush(); }
    ReportBatch(const ReportBatch&) = delete;
    ReportBatch& operator=(const ReportBatch&) = delete;

    // A place with room for n bytes (n at most kSize) and kSpare more; what
    // is written there counts from the next commit on, which takes the end
    // of the new text.
    char* Room(std::size_t n) {
        if (n > kSize - used_) Flush();
        return text_ + used_;
    }
    void Commit(const char* end) { used_ = static_cast<std::size_t>(end - text_); }

    void Put(char c) { *Room(1) = c; ++used_; }
    // A literal, whose length the compiler knows.
    template <std::size_t N>
    void Put(const char (&literal)[N]) { Put(literal, N - 1); }
    void Put(const char* text, std::size_t n) {
        if (n > kSize) return PutLong(text, n);
        std::memcpy(Room(n), text, n);
        used_ += n;
    }
    void PutText(const char* text) { Put(text, std::strlen(text)); }
    // Bytes of a name or character-string unchanged, except that a zero byte
    // adds nothing.
    void PutRaw(const std::uint8_t* bytes, std::size_t n) {
        while (n > kSize) {
            PutRaw(bytes, kSize);
            bytes += kSize;
            n -= kSize;
        }
        Commit(CopyRaw(Room(n), bytes, n));
    }
    // Copies n bytes to to, leaving out zero bytes, and returns the end of
    // the copy. Zero bytes are rare, so the bytes go over whole, in words
    // (the last one overlapping), and only a copy that holds a zero is done
    // again byte by byte.
    static char* CopyRaw(char* to, const std::uint8_t* bytes, std::size_t n) {
        std::uint64_t zeros = 0;
        if (n >= 8) {
            for (std::size_t i = 0; i + 8 < n; i += 8) zeros |= CopyWord<std::uint64_t>(to + i, bytes + i);
            zeros |= CopyWord<std::uint64_t>(to + n - 8, bytes + n - 8);
        } else if (n >= 4) {
            zeros |= CopyWord<std::uint32_t>(to, bytes);
            zeros |= CopyWord<std::uint32_t>(to + n - 4, bytes + n - 4);
        } else {
            for (std::size_t i = 0; i < n; ++i) {
                to[i] = static_cast<char>(bytes[i]);
                zeros |= bytes[i] == 0;
            }
        }
        if (!zeros) return to + n;
        for (std::size_t i = 0; i < n; ++i) {
            *to = static_cast<char>(bytes[i]);
            to += bytes[i] != 0;
        }
        return to;
    }

    // The length of the report with the gathered text, its last byte (0 for
    // none), and a way back to a shorter one (for a record taken back).
    std::size_t size() const { return out_.size() + used_; }
    char Last() const { return used_ ? text_[used_ - 1] : out_.empty() ? '\0' : out_.back(); }
    void Truncate(std::size_t size) {
        Flush();
        out_.resize(size);
    }
private:
    // Copies one word and returns non-zero when one of its bytes is zero.
    template <typename Word>
    static Word CopyWord(char* to, const std::uint8_t* from) {
        constexpr Word kOnes = static_cast<Word>(~Word(0)) / 0xFF;  // 0x01 in every byte
        Word word;
        std::memcpy(&word, from, sizeof word);
        std::memcpy(to, &word, sizeof word);
        return (word - kOnes) & ~word & (kOnes << 7);
    }

    void Flush() {
        out_.append(text_, used_);
        used_ = 0;
    }
    void PutLong(const char* text, std::size_t n) {
        Flush();
        out_.append(text, n);
    }

    std::string& out_;
    std::size_t used_ = 0;
    char text_[kSize + kSpare];
};
