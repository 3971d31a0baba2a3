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

// What GetAddresses returns when the resolver answered with no address.
constexpr int kNoAddresses = -1;

// The TCP addresses of a host in any family through the platform's
// getaddrinfo and freeaddrinfo (the platform's constants given as
// {AF_UNSPEC, SOCK_STREAM, IPPROTO_TCP}): 0, getaddrinfo's failure code,
// or kNoAddresses.
struct StreamKind {
    int anyFamily, stream, tcp;
};
template <typename AddrInfo, typename Get, typename Free>
int GetAddresses(const char* host, std::uint16_t port, StreamKind kind, Get get, Free free,
                 std::vector<SocketAddress>& addresses) {
    addresses.clear();
    AddrInfo hints{};
    hints.ai_family = kind.anyFamily;
    hints.ai_socktype = kind.stream;
    hints.ai_protocol = kind.tcp;
    AddrInfo* found = nullptr;
    const int rc = get(BareHost(host).c_str(), std::to_string(port).c_str(), &hints, &found);
    if (rc != 0) return rc;
    for (const AddrInfo* a = found; a; a = a->ai_next) {
        SocketAddress address;
        if (a->ai_addrlen > sizeof address.bytes) continue;
        address.family = a->ai_family;
        address.length = static_cast<int>(a->ai_addrlen);
        std::memcpy(address.bytes, a->ai_addr, a->ai_addrlen);
        addresses.push_back(address);
    }
    free(found);
    return addresses.empty() ? kNoAddresses : 0;
}

}  // namespace net
