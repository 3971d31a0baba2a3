#include "TsigSign.h"

#include <cstring>

#include "TsigWire.h"

std::vector<std::uint8_t> SignQuery(const TsigKey& key, std::uint8_t* framed,
                                    std::size_t capacity, std::uint64_t now) {
    std::vector<std::uint8_t> keyName, algorithmName;
    if (!NameToWire(key.name, keyName) || !NameToWire(TsigAlgorithmName(key.algorithm), algorithmName))
        return {};
    const std::size_t length = wire::ReadU16(framed);

    const std::vector<std::uint8_t> variables =
        AllVariables(key, now, kDefaultFudge, 0, nullptr, 0);
    Hmac hmac(key.algorithm, key.secret.data(), key.secret.size());
    hmac.Update(framed + wire::kPrefixSize, length);
    hmac.Update(variables.data(), variables.size());
    const std::vector<std::uint8_t> mac = hmac.Finish();
    if (mac.empty()) return {};

    std::vector<std::uint8_t> data = algorithmName;
    PutU48(data, now);
    PutU16(data, kDefaultFudge);
    PutU16(data, static_cast<std::uint16_t>(mac.size()));
    data.insert(data.end(), mac.begin(), mac.end());
    data.push_back(framed[wire::kIdAt]);  // original ID
    data.push_back(framed[wire::kIdAt + 1]);
    PutU16(data, 0);  // error
    PutU16(data, 0);  // other length
    std::vector<std::uint8_t> record = keyName;
    PutU16(record, wire::kTypeTsig);
    PutU16(record, wire::kClassAny);
    record.insert(record.end(), 4, 0);
    PutU16(record, static_cast<std::uint16_t>(data.size()));
    record.insert(record.end(), data.begin(), data.end());
    if (wire::kPrefixSize + length + record.size() > capacity || length + record.size() > 0xFFFF) return {};

    std::memcpy(framed + wire::kPrefixSize + length, record.data(), record.size());
    const std::size_t signedLength = length + record.size();
    wire::WriteU16(framed, static_cast<unsigned>(signedLength));
    std::uint8_t* additional = framed + wire::kAdditionalCountAt;
    wire::WriteU16(additional, wire::ReadU16(additional) + 1u);
    return mac;
}
