#pragma once
// The parts of the address-family-neutral path that both socket libraries
// share: the host text the resolver wants, and the copying of its answers.
#include <cstring>
#include <string>
#include <vector>

#include "Sockets.h"

namespace net {

// An IPv6 address may be given in brackets ("[2001:db8::53]"); they are
// taken off.
inline std::string BareHost(const char* host) {
    std::string text = host;
    if (text.size() > 2 && text.front() == '[' && text.back() == ']')
        return text.substr(1, text.size() - 2);
    return text;
}

// getaddrinfo hints for TCP in any family.
template <typename AddrInfo>
AddrInfo StreamHints(int anyFamily, int stream, int tcp) {
    AddrInfo hints{};
    hints.ai_family = anyFamily;
    hints.ai_socktype = stream;
    hints.ai_protocol = tcp;
    return hints;
}

// Copies the resolver's answers; true when there is at least one.
template <typename AddrInfo>
bool CopyAddresses(const AddrInfo* found, std::vector<SocketAddress>& addresses) {
    addresses.clear();
    for (const AddrInfo* a = found; a; a = a->ai_next) {
        SocketAddress address;
        if (a->ai_addrlen > sizeof address.bytes) continue;
        address.family = a->ai_family;
        address.length = static_cast<int>(a->ai_addrlen);
        std::memcpy(address.bytes, a->ai_addr, a->ai_addrlen);
        addresses.push_back(address);
    }
    return !addresses.empty();
}

}  // namespace net
