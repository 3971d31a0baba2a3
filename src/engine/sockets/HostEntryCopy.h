#pragma once
// Copies the platform's host entry (struct hostent of either socket library)
// into the portable HostEntry. Only IPv4 addresses are taken.
#include <cstring>

#include "Sockets.h"

namespace net {

template <typename PlatformHostEntry>
void CopyHostEntry(const PlatformHostEntry& from, int inetFamily, HostEntry& to) {
    to.name = from.h_name ? from.h_name : "";
    to.addresses.clear();
    if (from.h_addrtype != inetFamily || from.h_length != 4) return;
    for (char** a = from.h_addr_list; a && *a; ++a) {
        std::uint32_t address;
        std::memcpy(&address, *a, sizeof address);
        to.addresses.push_back(address);
    }
}

}  // namespace net
