// The socket layer on Windows Sockets 1.1: thin wrappers over the calls
// themselves. Error codes are Winsock's own (WSAGetLastError).
#include "Sockets.h"
#include "AnyFamily.h"
#include "HostEntryCopy.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstring>

namespace net {
namespace {

bool Found(const hostent* found, HostEntry& entry) {
    if (!found) return false;
    CopyHostEntry(*found, AF_INET, entry);
    return true;
}

SOCKET Native(SocketHandle s) { return static_cast<SOCKET>(s); }

}  // namespace

// Asks for version 1.1 and accepts nothing else: a library that would use
// another version is released again at once.
bool Startup(int& major, int& minor) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(1, 1), &data) != 0) {
        major = minor = 0;
        return false;
    }
    major = LOBYTE(data.wVersion);
    minor = HIBYTE(data.wVersion);
    if (major == 1 && minor == 1) return true;
    WSACleanup();
    return false;
}

void Cleanup() { WSACleanup(); }

std::uint32_t InetAddr(const char* text) { return ::inet_addr(text); }

bool GetHostByName(const char* name, HostEntry& entry) {
    return Found(::gethostbyname(name), entry);
}

bool GetHostByAddr(std::uint32_t address, HostEntry& entry) {
    return Found(::gethostbyaddr(reinterpret_cast<const char*>(&address), sizeof address, AF_INET),
                 entry);
}

SocketHandle OpenTcpSocket() {
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    return s == INVALID_SOCKET ? kNoSocket : static_cast<SocketHandle>(s);
}

int Connect(SocketHandle s, std::uint32_t address, std::uint16_t port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = address;
    if (::connect(Native(s), reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0)
        return kSocketError;
    return 0;
}

int Send(SocketHandle s, const void* data, int length) {
    int sent = ::send(Native(s), static_cast<const char*>(data), length, 0);
    return sent == SOCKET_ERROR ? kSocketError : sent;
}

int Recv(SocketHandle s, void* data, int length) {
    int got = ::recv(Native(s), static_cast<char*>(data), length, 0);
    return got == SOCKET_ERROR ? kSocketError : got;
}

void Close(SocketHandle s) {
    if (s != kNoSocket) ::closesocket(Native(s));
}

// getaddrinfo's failures are Windows Sockets codes already.
bool ResolveAnyFamily(const char* host, std::uint16_t port, std::vector<SocketAddress>& addresses) {
    const int rc = GetAddresses<ADDRINFOA>(host, port, {AF_UNSPEC, SOCK_STREAM, IPPROTO_TCP},
                                       ::getaddrinfo, ::freeaddrinfo, addresses);
    if (rc != 0) WSASetLastError(rc == kNoAddresses ? WSANO_DATA : rc);
    return rc == 0;
}

SocketHandle ConnectTo(const SocketAddress& address) {
    const SOCKET s = ::socket(address.family, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return kNoSocket;
    if (::connect(s, reinterpret_cast<const sockaddr*>(address.bytes), address.length) == 0)
        return static_cast<SocketHandle>(s);
    const int code = WSAGetLastError();
    ::closesocket(s);
    WSASetLastError(code);
    return kNoSocket;
}

int LastError() { return WSAGetLastError(); }

}  // namespace net
