#include "AxfrStream.h"

#include <string>
#include <unordered_map>

namespace {

constexpr const char* kOrigin = "bench1m.test";
constexpr std::size_t kMessageLimit = 16000;  // start a new message beyond this

// One DNS message under construction, with its own compression table.
class MessageWriter {
public:
    MessageWriter() {
        // Length prefix (filled in by finish), then the header: id 1, QR+AA,
        // RCODE 0, no questions, the answer count filled in by finish.
        const std::uint8_t header[14] = {0, 0, 0, 1, 0x84, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        wire_.assign(header, header + sizeof header);
    }
    std::size_t size() const { return wire_.size(); }
    std::size_t Count() const { return count_; }

    void U8(unsigned v) { wire_.push_back(static_cast<std::uint8_t>(v)); }
    void U16(unsigned v) { U8(v >> 8 & 0xFF); U8(v & 0xFF); }
    void U32(std::uint32_t v) { U16(v >> 16); U16(v & 0xFFFF); }
    void Text(const std::string& s) {  // one character-string
        U8(static_cast<unsigned>(s.size()));
        wire_.insert(wire_.end(), s.begin(), s.end());
    }

    // Writes a dotted name, ending in a pointer to the longest suffix
    // already written in this message.
    void Name(const std::string& dotted) {
        std::size_t start = 0;
        while (start < dotted.size()) {
            const std::string suffix = dotted.substr(start);
            auto known = offsets_.find(suffix);
            if (known != offsets_.end()) return U16(0xC000 | known->second);
            const std::size_t offset = wire_.size() - 2;  // message offset
            if (offset < 0x3FFF) offsets_.emplace(suffix, static_cast<unsigned>(offset));
            std::size_t dot = dotted.find('.', start);
            if (dot == std::string::npos) dot = dotted.size();
            Text(dotted.substr(start, dot - start));
            start = dot + 1;
        }
        U8(0);
    }

    // Owner, type, class IN, TTL; returns where RDLENGTH goes.
    std::size_t Begin(const std::string& owner, unsigned type) {
        ++count_;
        Name(owner);
        U16(type);
        U16(1);
        U32(3600);
        U16(0);
        return wire_.size();
    }
    void End(std::size_t rdata) {
        const std::size_t length = wire_.size() - rdata;
        wire_[rdata - 2] = static_cast<std::uint8_t>(length >> 8);
        wire_[rdata - 1] = static_cast<std::uint8_t>(length & 0xFF);
    }

    void FinishInto(std::vector<std::uint8_t>& out) {
        const std::size_t length = wire_.size() - 2;
        wire_[0] = static_cast<std::uint8_t>(length >> 8);
        wire_[1] = static_cast<std::uint8_t>(length & 0xFF);
        wire_[8] = static_cast<std::uint8_t>(count_ >> 8);
        wire_[9] = static_cast<std::uint8_t>(count_ & 0xFF);
        out.insert(out.end(), wire_.begin(), wire_.end());
    }

private:
    std::vector<std::uint8_t> wire_;
    std::unordered_map<std::string, unsigned> offsets_;
    std::size_t count_ = 0;
};

void writeSoa(MessageWriter& m) {
    const std::string origin = kOrigin;
    const std::size_t rdata = m.Begin(origin, 6);
    m.Name("ns1." + origin);
    m.Name("hostmaster." + origin);
    for (std::uint32_t v : {2026120701u, 7200u, 900u, 1209600u, 300u}) m.U32(v);
    m.End(rdata);
}

// Record i of the zone body, the same mix as the benchmark's zone files.
void writeRecord(MessageWriter& m, std::size_t i) {
    const std::string n = std::to_string(i);
    const std::string sub = ".s" + std::to_string(i % 100) + "." + kOrigin;
    std::size_t rdata = 0;
    switch (i % 7) {
    case 0:
        rdata = m.Begin("h" + n + sub, 1);
        for (unsigned b : {10u, unsigned(i >> 16 & 255), unsigned(i >> 8 & 255), unsigned(i & 255)})
            m.U8(b);
        break;
    case 1:
        rdata = m.Begin("d" + n + sub, 2);
        m.Name("ns" + std::to_string(i % 5) + ".provider" + std::to_string(i % 13) + ".example.net");
        break;
    case 2:
        rdata = m.Begin("c" + n + sub, 5);
        m.Name("h" + std::to_string(i - 2) + sub);
        break;
    case 3:
        rdata = m.Begin("m" + n + sub, 15);
        m.U16(static_cast<unsigned>(10 * (i % 4)));
        m.Name("mail" + std::to_string(i % 3) + sub);
        break;
    case 4:
        rdata = m.Begin("t" + n + sub, 16);
        m.Text("v=text record number " + n + " for the benchmark");
        break;
    case 5:
        rdata = m.Begin("p" + n + sub, 12);
        m.Name("h" + std::to_string(i - 5) + sub);
        break;
    default:
        rdata = m.Begin("i" + n + sub, 13);
        m.Text("AMD64-" + std::to_string(i % 9));
        m.Text("Linux");
        break;
    }
    m.End(rdata);
}

}  // namespace

AxfrStream BuildAxfrStream(std::size_t records) {
    AxfrStream stream;
    stream.bytes.reserve(records * 40);
    MessageWriter message;
    writeSoa(message);
    const std::size_t body = records < 2 ? 0 : records - 2;
    for (std::size_t i = 0; i < body; ++i) {
        if (message.size() > kMessageLimit) {
            stream.records += message.Count();
            ++stream.messages;
            message.FinishInto(stream.bytes);
            message = MessageWriter();
        }
        writeRecord(message, i);
    }
    writeSoa(message);
    stream.records += message.Count();
    ++stream.messages;
    message.FinishInto(stream.bytes);
    return stream;
}
