#pragma once
// The thin socket layer: the Windows Sockets calls the engine makes, on
// Winsock (Windows) and on POSIX sockets (elsewhere). Errors are reported as
// Windows Sockets codes on both, so that every report reads the same.
#include <cstdint>
#include <string>
#include <vector>

namespace net {

using SocketHandle = std::uintptr_t;
constexpr SocketHandle kNoSocket = ~SocketHandle(0);
constexpr std::uint32_t kAddrNone = 0xFFFFFFFFu;
constexpr int kSocketError = -1;

// A host entry as the resolver returns it: the official name and the IPv4
// addresses, each four bytes in network (dotted) order.
struct HostEntry {
    std::string name;
    std::vector<std::uint32_t> addresses;  // network byte order
};

// Starts and ends the platform's sockets library where it has one
// (Winsock 1.1); true on POSIX. `version` receives (major, minor).
bool Startup(int& major, int& minor);
void Cleanup();

// inet_addr: the dotted address in network byte order, or kAddrNone.
std::uint32_t InetAddr(const char* text);
bool GetHostByName(const char* name, HostEntry& entry);
bool GetHostByAddr(std::uint32_t address, HostEntry& entry);

SocketHandle OpenTcpSocket();
// Address in network byte order, port in host order. 0 or kSocketError.
int Connect(SocketHandle s, std::uint32_t address, std::uint16_t port);
int Send(SocketHandle s, const void* data, int length);
// Bytes read, 0 when the peer closed, kSocketError on failure.
int Recv(SocketHandle s, void* data, int length);
// vek-cli's path to a server of either address family. A resolved address,
// kept as the platform's socket address.
struct SocketAddress {
    int family = 0;
    int length = 0;
    alignas(8) unsigned char bytes[128] = {};
};
// The addresses of `host` (a dotted IPv4 address, an IPv6 address, bare or
// in brackets, or a host name with A or AAAA records) in the resolver's
// order, each with `port`. False with LastError() set (11001 to 11004 for
// the resolver's answers) when there is none.
bool ResolveAnyFamily(const char* host, std::uint16_t port, std::vector<SocketAddress>& addresses);
// A TCP socket of the address's family connected to it, or kNoSocket with
// LastError() set.
SocketHandle ConnectTo(const SocketAddress& address);

// Closes the socket; a receive blocked on it in another thread fails.
void Close(SocketHandle s);
// The Windows Sockets code of the last failed call of this thread.
int LastError();

}  // namespace net
