#include "TsigSign.h"

#include <cstring>

#include "TsigWire.h"

std::vector<std::uint8_t> SignQuery(const TsigKey& key, std::uint8_t* framed,
                                    std::size_t capacity, std::uint64_t now) {
    std::vector<std::uint8_t> keyName, algorithmName;
    if (!NameToWire(key.name, keyName) || !NameToWire(TsigAlgorithmName(key.algorithm), algorithmName))
        return {};
    const std::size_t length = std::size_t(framed[0]) << 8 | framed[1];

    const std::vector<std::uint8_t> variables =
        AllVariables(key, now, kDefaultFudge, 0, nullptr, 0);
    Hmac hmac(key.algorithm, key.secret.data(), key.secret.size());
    hmac.Update(framed + 2, length);
    hmac.Update(variables.data(), variables.size());
    const std::vector<std::uint8_t> mac = hmac.Finish();
    if (mac.empty()) return {};

    std::vector<std::uint8_t> data = algorithmName;
    PutU48(data, now);
    PutU16(data, kDefaultFudge);
    PutU16(data, static_cast<std::uint16_t>(mac.size()));
    data.insert(data.end(), mac.begin(), mac.end());
    data.push_back(framed[2]);  // original ID
    data.push_back(framed[3]);
    PutU16(data, 0);  // error
    PutU16(data, 0);  // other length
    std::vector<std::uint8_t> record = keyName;
    PutU16(record, kTypeTsig);
    PutU16(record, kClassAny);
    record.insert(record.end(), 4, 0);
    PutU16(record, static_cast<std::uint16_t>(data.size()));
    record.insert(record.end(), data.begin(), data.end());
    if (2 + length + record.size() > capacity || length + record.size() > 0xFFFF) return {};

    std::memcpy(framed + 2 + length, record.data(), record.size());
    const std::size_t signedLength = length + record.size();
    framed[0] = static_cast<std::uint8_t>(signedLength >> 8);
    framed[1] = static_cast<std::uint8_t>(signedLength);
    const std::uint16_t additional = static_cast<std::uint16_t>((framed[12] << 8 | framed[13]) + 1);
    framed[12] = static_cast<std::uint8_t>(additional >> 8);
    framed[13] = static_cast<std::uint8_t>(additional);
    return mac;
}
