#include "RecordLayouts.h"

#include "Wire.h"

namespace {
using F = FieldKind;
// Ordered by type code.
constexpr RecordLayout kLayouts[] = {
    {wire::kTypeA, "A", 1, {F::Ipv4}},
    {wire::kTypeNs, "NS", 1, {F::Name}},
    {wire::kTypeCname, "CNAME", 1, {F::Name}},
    {wire::kTypeSoa, "SOA", 7, {F::Name, F::Name, F::U32, F::U32, F::U32, F::U32, F::U32}},
    {wire::kTypePtr, "PTR", 1, {F::Name}},
    {wire::kTypeHinfo, "HINFO", 2, {F::String, F::String}},
    {wire::kTypeMx, "MX", 2, {F::U16, F::Name}},
    {wire::kTypeTxt, "TXT", 1, {F::Strings}},
    {wire::kTypeAaaa, "AAAA", 1, {F::Ipv6}},
    {wire::kTypeLoc, "LOC", 1, {F::Location}},
    {wire::kTypeSrv, "SRV", 4, {F::U16, F::U16, F::U16, F::Name}},
    {wire::kTypeNaptr, "NAPTR", 6, {F::U16, F::U16, F::String, F::String, F::String, F::Name}},
    {wire::kTypeCert, "CERT", 4, {F::U16, F::U16, F::U8, F::Base64ToEnd}},
    {wire::kTypeDname, "DNAME", 1, {F::Name}},
    {wire::kTypeDs, "DS", 4, {F::U16, F::U8, F::U8, F::HexToEnd}},
    {wire::kTypeSshfp, "SSHFP", 3, {F::U8, F::U8, F::HexToEnd}},
    {wire::kTypeRrsig, "RRSIG", 9,
     {F::TypeCovered, F::U8, F::U8, F::U32, F::Time, F::Time, F::U16, F::Name, F::Base64ToEnd}},
    {wire::kTypeNsec, "NSEC", 2, {F::Name, F::TypeBitmap}},
    {wire::kTypeDnskey, "DNSKEY", 4, {F::U16, F::U8, F::U8, F::Base64ToEnd}},
    {wire::kTypeNsec3, "NSEC3", 6, {F::U8, F::U8, F::U16, F::Salt, F::Base32Hash, F::TypeBitmap}},
    {wire::kTypeNsec3param, "NSEC3PARAM", 4, {F::U8, F::U8, F::U16, F::Salt}},
    {wire::kTypeTlsa, "TLSA", 4, {F::U8, F::U8, F::U8, F::HexToEnd}},
    {wire::kTypeSmimea, "SMIMEA", 4, {F::U8, F::U8, F::U8, F::HexToEnd}},
    {wire::kTypeCds, "CDS", 4, {F::U16, F::U8, F::U8, F::HexToEnd}},
    {wire::kTypeCdnskey, "CDNSKEY", 4, {F::U16, F::U8, F::U8, F::Base64ToEnd}},
    {wire::kTypeOpenpgpkey, "OPENPGPKEY", 1, {F::Base64ToEnd}},
    {wire::kTypeZonemd, "ZONEMD", 4, {F::U32, F::U8, F::U8, F::HexToEnd}},
    {wire::kTypeSvcb, "SVCB", 3, {F::U16, F::Name, F::SvcParams}},
    {wire::kTypeHttps, "HTTPS", 3, {F::U16, F::Name, F::SvcParams}},
    {wire::kTypeSpf, "SPF", 1, {F::Strings}},
    {wire::kTypeUri, "URI", 3, {F::U16, F::U16, F::TextToEnd}},
    {wire::kTypeCaa, "CAA", 3, {F::U8, F::Tag, F::TextToEnd}},
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
