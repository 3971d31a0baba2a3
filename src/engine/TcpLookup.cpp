#include <string>
#include <vector>

#include "Arrival.h"
#include "HeldSocket.h"
#include "LookupState.h"
#include "ReceiveReply.h"
#include "Texts.h"
#include "Wire.h"

namespace {
// The resolver's "valid name, no data record" code, for a host entry that
// comes back without an address.
constexpr int kNoAddressCode = 11004;

// Replaces the report with the step's failure text and the description of
// `code`.
void ReportFailure(LookupState& lookup, int textId, int code) {
    lookup.ReportSocketFailure(TextOf(textId), code);
}

// A dotted address is taken as it is, with no name lookup; a host name
// gives the first address of its host entry.
bool ResolveServer(LookupState& lookup, std::uint32_t& address) {
    address = net::InetAddr(lookup.Server.c_str());
    if (address != net::kAddrNone) return true;
    net::HostEntry entry;
    if (!net::GetHostByName(lookup.Server.c_str(), entry)) {
        ReportFailure(lookup, kServerAddressFailed, net::LastError());
        return false;
    }
    if (entry.addresses.empty()) {
        ReportFailure(lookup, kServerAddressFailed, kNoAddressCode);
        return false;
    }
    address = entry.addresses.front();
    return true;
}

// Either address family: the server's addresses in the resolver's order,
// until one connects; the failure reported is the last one's.
net::SocketHandle ConnectAnyFamily(LookupState& lookup) {
    std::vector<net::SocketAddress> addresses;
    if (!net::ResolveAnyFamily(lookup.Server.c_str(), lookup.ServerPort, addresses)) {
        ReportFailure(lookup, kServerAddressFailed, net::LastError());
        return net::kNoSocket;
    }
    int code = 0;
    for (const net::SocketAddress& address : addresses) {
        const net::SocketHandle socket = net::ConnectTo(address);
        if (socket != net::kNoSocket) return socket;
        code = net::LastError();
    }
    ReportFailure(lookup, kConnectFailed, code);
    return net::kNoSocket;
}

// A connected socket, or kNoSocket with the failure reported.
net::SocketHandle ConnectToServer(LookupState& lookup) {
    if (lookup.AnyAddressFamily) return ConnectAnyFamily(lookup);
    std::uint32_t address = 0;
    if (!ResolveServer(lookup, address)) return net::kNoSocket;
    const net::SocketHandle socket = net::OpenTcpSocket();
    if (socket == net::kNoSocket) {
        ReportFailure(lookup, kConnectFailed, net::LastError());
        return net::kNoSocket;
    }
    if (net::Connect(socket, address, lookup.ServerPort) != 0) {
        const int code = net::LastError();
        net::Close(socket);
        ReportFailure(lookup, kConnectFailed, code);
        return net::kNoSocket;
    }
    return socket;
}

// Connects, sends the query once and reads the reply; then closes the
// socket and reports what arrived.
void Exchange(LookupState& lookup, const std::uint8_t* query) {
    Arrival arrival(lookup);
    const net::SocketHandle socket = ConnectToServer(lookup);
    if (socket == net::kNoSocket) return;
    lookup.LookupSocket = socket;
    ReceiveEnd end = ReceiveEnd::Interrupted;
    // An interrupt while resolving or connecting found no socket to close;
    // it takes effect here rather than after a first chunk that a silent
    // server may never send.
    if (!lookup.InterruptRequested) {
        const int length = static_cast<int>(wire::AnnouncedSize(query, wire::kPrefixSize, 0));
        if (net::Send(socket, query, length) == net::kSocketError) {
            const int code = net::LastError();
            CloseHeldSocket(lookup.LookupSocket);
            return ReportFailure(lookup, kConnectFailed, code);
        }
        end = ReceiveReply(lookup, socket, arrival);
    }
    CloseHeldSocket(lookup.LookupSocket);
    arrival.Report(end);
}
}  // namespace

void LookupState::TcpLookup() {
    LookupFailed = false;
    std::uint8_t query[kQueryBufferSize];
    if (PrepareQuery(query) && QueryReady(query, kQueryBufferSize)) Exchange(*this, query);
    ShowFinishedReport();
    SetBusy(0);
}
