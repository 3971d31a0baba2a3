#include "RecordLayouts.h"

namespace {
using F = FieldKind;
// Ordered by type code.
constexpr RecordLayout kLayouts[] = {
    {1, "A", 1, {F::Ipv4}},
    {2, "NS", 1, {F::Name}},
    {5, "CNAME", 1, {F::Name}},
    {6, "SOA", 7, {F::Name, F::Name, F::U32, F::U32, F::U32, F::U32, F::U32}},
    {12, "PTR", 1, {F::Name}},
    {13, "HINFO", 2, {F::String, F::String}},
    {15, "MX", 2, {F::U16, F::Name}},
    {16, "TXT", 1, {F::Strings}},
    {28, "AAAA", 1, {F::Ipv6}},
    {29, "LOC", 1, {F::Location}},
    {33, "SRV", 4, {F::U16, F::U16, F::U16, F::Name}},
    {35, "NAPTR", 6, {F::U16, F::U16, F::String, F::String, F::String, F::Name}},
    {37, "CERT", 4, {F::U16, F::U16, F::U8, F::Base64ToEnd}},
    {39, "DNAME", 1, {F::Name}},
    {43, "DS", 4, {F::U16, F::U8, F::U8, F::HexToEnd}},
    {44, "SSHFP", 3, {F::U8, F::U8, F::HexToEnd}},
    {46, "RRSIG", 9,
     {F::TypeCovered, F::U8, F::U8, F::U32, F::Time, F::Time, F::U16, F::Name, F::Base64ToEnd}},
    {47, "NSEC", 2, {F::Name, F::TypeBitmap}},
    {48, "DNSKEY", 4, {F::U16, F::U8, F::U8, F::Base64ToEnd}},
    {50, "NSEC3", 6, {F::U8, F::U8, F::U16, F::Salt, F::Base32Hash, F::TypeBitmap}},
    {51, "NSEC3PARAM", 4, {F::U8, F::U8, F::U16, F::Salt}},
    {52, "TLSA", 4, {F::U8, F::U8, F::U8, F::HexToEnd}},
    {53, "SMIMEA", 4, {F::U8, F::U8, F::U8, F::HexToEnd}},
    {59, "CDS", 4, {F::U16, F::U8, F::U8, F::HexToEnd}},
    {60, "CDNSKEY", 4, {F::U16, F::U8, F::U8, F::Base64ToEnd}},
    {61, "OPENPGPKEY", 1, {F::Base64ToEnd}},
    {63, "ZONEMD", 4, {F::U32, F::U8, F::U8, F::HexToEnd}},
    {64, "SVCB", 3, {F::U16, F::Name, F::SvcParams}},
    {65, "HTTPS", 3, {F::U16, F::Name, F::SvcParams}},
    {99, "SPF", 1, {F::Strings}},
    {256, "URI", 3, {F::U16, F::U16, F::TextToEnd}},
    {257, "CAA", 3, {F::U8, F::Tag, F::TextToEnd}},
};
}  // namespace

const RecordLayout* FindLayout(std::uint16_t type) {
    for (const RecordLayout& layout : kLayouts)
        if (layout.type == type) return &layout;
    return nullptr;
}

void AppendTypeName(std::string& out, std::uint16_t type) {
    const RecordLayout* layout = FindLayout(type);
    if (layout) out += layout->mnemonic;
    else out += "TYPE" + std::to_string(type);
}
