// The socket layer on POSIX sockets. Every failure is turned into the
// Windows Sockets code of the same meaning, so that reports read the same as
// on Windows; the code is kept per thread, as WSAGetLastError keeps it.
#include "Sockets.h"
#include "AnyFamily.h"
#include "HostEntryCopy.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <set>
#include <unordered_map>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace net {
namespace {

thread_local int lastError = 0;

struct CodePair {
    int native;
    int winsock;
};

// errno values and the Windows Sockets codes that carry their meaning.
const CodePair kErrnoCodes[] = {
    {EINTR, 10004},           {EACCES, 10013},          {EPERM, 10013},
    {EFAULT, 10014},          {EINVAL, 10022},          {EMFILE, 10024},
    {ENFILE, 10024},          {EAGAIN, 10035},          {EINPROGRESS, 10036},
    {EALREADY, 10037},        {ENOTSOCK, 10038},        {EBADF, 10038},
    {EDESTADDRREQ, 10039},    {EMSGSIZE, 10040},        {EPROTOTYPE, 10041},
    {ENOPROTOOPT, 10042},     {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044},
    {EOPNOTSUPP, 10045},      {EPFNOSUPPORT, 10046},    {EAFNOSUPPORT, 10047},
    {EADDRINUSE, 10048},      {EADDRNOTAVAIL, 10049},   {ENETDOWN, 10050},
    {ENETUNREACH, 10051},     {ENETRESET, 10052},       {ECONNABORTED, 10053},
    {ECONNRESET, 10054},      {EPIPE, 10058},           {ENOBUFS, 10055},
    {ENOMEM, 10055},          {EISCONN, 10056},         {ENOTCONN, 10057},
    {ESHUTDOWN, 10058},       {ETIMEDOUT, 10060},       {ECONNREFUSED, 10061},
    {EHOSTDOWN, 10064},       {EHOSTUNREACH, 10065},
};

// Resolver (h_errno) values and their Windows Sockets codes.
const CodePair kResolverCodes[] = {
    {HOST_NOT_FOUND, 11001},
    {TRY_AGAIN, 11002},
    {NO_RECOVERY, 11003},
    {NO_DATA, 11004},
};

int Lookup(const CodePair* pairs, std::size_t count, int native, int otherwise) {
    for (std::size_t i = 0; i < count; ++i)
        if (pairs[i].native == native) return pairs[i].winsock;
    return otherwise;
}

// An errno without a Windows Sockets counterpart is passed on as it is;
// the error description then names its number.
int FromErrno(int error) {
    return Lookup(kErrnoCodes, sizeof kErrnoCodes / sizeof kErrnoCodes[0], error, error);
}

int Fail(int code) {
    lastError = code;
    return kSocketError;
}

int FailFromErrno() { return Fail(FromErrno(errno)); }

// A resolver failure that is a system error (NETDB_INTERNAL) carries its
// cause in errno.
void FailFromResolver(int resolverError, int systemError) {
    if (resolverError == NETDB_INTERNAL) {
        lastError = FromErrno(systemError);
        return;
    }
    // Anything else the resolver says counts as a non-recoverable error.
    lastError = Lookup(kResolverCodes, sizeof kResolverCodes / sizeof kResolverCodes[0],
                       resolverError, 11003);
}

// The reentrant resolver calls want a work buffer; this one grows on ERANGE
// a bounded number of times.
constexpr std::size_t kFirstWorkSize = 4096;
constexpr int kWorkGrowths = 6;

template <typename Call>
bool Resolve(Call call, HostEntry& entry) {
    std::string work(kFirstWorkSize, '\0');
    for (int attempt = 0; attempt <= kWorkGrowths; ++attempt) {
        hostent result{};
        hostent* found = nullptr;
        int resolverError = 0;
        int rc = call(&result, &work[0], work.size(), &found, &resolverError);
        if (rc == ERANGE) {
            work.resize(work.size() * 2);
            continue;
        }
        if (rc == 0 && found) {
            CopyHostEntry(*found, AF_INET, entry);
            return true;
        }
        FailFromResolver(resolverError, rc != 0 ? rc : errno);
        return false;
    }
    Fail(10055);  // no buffer space
    return false;
}

// Closing a descriptor while another thread waits in recv() on it would let
// the number be reused under that thread's feet. So the layer counts the
// calls in flight on each socket: Close() shuts the connection down at once
// (which wakes them) and the last call to leave closes the descriptor. A
// closed socket refuses further calls until its number is handed out again
// by OpenTcpSocket().
class InFlight {
public:
    bool Enter(int s) {
        std::lock_guard<std::mutex> hold(lock_);
        if (closed_.count(s) != 0) return false;
        ++active_[s];
        return true;
    }

    void Leave(int s) {
        std::lock_guard<std::mutex> hold(lock_);
        auto it = active_.find(s);
        if (--it->second > 0) return;
        active_.erase(it);
        if (closed_.count(s) != 0) ::close(s);
    }

    void Close(int s) {
        std::lock_guard<std::mutex> hold(lock_);
        if (!closed_.insert(s).second) return;  // closed once only
        ::shutdown(s, SHUT_RDWR);
        if (active_.count(s) == 0) ::close(s);
    }

    void Opened(int s) {
        std::lock_guard<std::mutex> hold(lock_);
        closed_.erase(s);
    }

private:
    std::mutex lock_;
    std::unordered_map<int, int> active_;  // calls in flight per socket
    std::set<int> closed_;
};

InFlight& Sockets() {
    static InFlight sockets;
    return sockets;
}

// Runs one call on an open socket, or fails as Windows Sockets does on a
// handle that is no socket (any more).
template <typename Call>
int Guarded(SocketHandle s, Call call) {
    const int fd = static_cast<int>(s);
    if (!Sockets().Enter(fd)) return Fail(10038);
    const int result = call(fd);
    Sockets().Leave(fd);
    return result;
}

}  // namespace

bool Startup(int& major, int& minor) {
    major = 1;
    minor = 1;
    return true;
}

void Cleanup() {}

std::uint32_t InetAddr(const char* text) { return ::inet_addr(text); }

bool GetHostByName(const char* name, HostEntry& entry) {
    return Resolve(
        [name](hostent* result, char* work, std::size_t size, hostent** found, int* error) {
            return ::gethostbyname_r(name, result, work, size, found, error);
        },
        entry);
}

bool GetHostByAddr(std::uint32_t address, HostEntry& entry) {
    return Resolve(
        [&address](hostent* result, char* work, std::size_t size, hostent** found, int* error) {
            return ::gethostbyaddr_r(&address, sizeof address, AF_INET, result, work, size,
                                     found, error);
        },
        entry);
}

SocketHandle OpenTcpSocket() {
    int s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s < 0) {
        FailFromErrno();
        return kNoSocket;
    }
    Sockets().Opened(s);
    return static_cast<SocketHandle>(s);
}

int Connect(SocketHandle s, std::uint32_t address, std::uint16_t port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = address;
    return Guarded(s, [&to](int fd) {
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0)
            return FailFromErrno();
        return 0;
    });
}

int Send(SocketHandle s, const void* data, int length) {
    return Guarded(s, [data, length](int fd) {
        // A peer that has gone must give an error, not end the program (SIGPIPE).
        ssize_t sent = ::send(fd, data, static_cast<std::size_t>(length), MSG_NOSIGNAL);
        return sent < 0 ? FailFromErrno() : static_cast<int>(sent);
    });
}

int Recv(SocketHandle s, void* data, int length) {
    return Guarded(s, [data, length](int fd) {
        ssize_t got = ::recv(fd, data, static_cast<std::size_t>(length), 0);
        return got < 0 ? FailFromErrno() : static_cast<int>(got);
    });
}

// close() alone does not wake a recv() blocked in another thread on Linux;
// the shutdown in InFlight::Close does.
void Close(SocketHandle s) {
    if (s != kNoSocket) Sockets().Close(static_cast<int>(s));
}

bool ResolveAnyFamily(const char* host, std::uint16_t port, std::vector<SocketAddress>& addresses) {
    const int rc = GetAddresses<addrinfo>(host, port, {AF_UNSPEC, SOCK_STREAM, IPPROTO_TCP},
                                       ::getaddrinfo, ::freeaddrinfo, addresses);
    const CodePair kAddrInfoCodes[] = {
        {kNoAddresses, 11004}, {EAI_NONAME, 11001},     {EAI_AGAIN, 11002},
        {EAI_FAIL, 11003},     {EAI_NODATA, 11004},     {EAI_ADDRFAMILY, 11004},
        {EAI_MEMORY, 10055}};
    if (rc == EAI_SYSTEM) FailFromErrno();
    else if (rc != 0) Fail(Lookup(kAddrInfoCodes, sizeof kAddrInfoCodes / sizeof kAddrInfoCodes[0], rc, 11003));
    return rc == 0;
}

SocketHandle ConnectTo(const SocketAddress& address) {
    const int s = ::socket(address.family, SOCK_STREAM, IPPROTO_TCP);
    if (s < 0) {
        FailFromErrno();
        return kNoSocket;
    }
    Sockets().Opened(s);
    const int rc = Guarded(static_cast<SocketHandle>(s), [&address](int fd) {
        const auto* to = reinterpret_cast<const sockaddr*>(address.bytes);
        if (::connect(fd, to, static_cast<socklen_t>(address.length)) != 0) return FailFromErrno();
        return 0;
    });
    if (rc == 0) return static_cast<SocketHandle>(s);
    const int code = lastError;
    Close(static_cast<SocketHandle>(s));
    lastError = code;
    return kNoSocket;
}

int LastError() { return lastError; }

}  // namespace net
