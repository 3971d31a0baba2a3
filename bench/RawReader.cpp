// The floor a server sets for a zone transfer: asks for the transfer of
// ZONE from the server at ADDR (port 53), receives the stream in the same
// 64 KB reads as vek-cli, finds its end at the closing SOA, and discards
// every byte. It decodes and writes nothing.
//   usage: vek-raw-reader ADDR ZONE
#include <cstdio>
#include <vector>

#include "LookupState.h"
#include "ReplyBuffer.h"
#include "TransferEnd.h"
#include "Wire.h"
#include "sockets/Sockets.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vek-raw-reader ADDR ZONE\n");
        return 2;
    }
    int major = 0, minor = 0;
    if (!net::Startup(major, minor)) return 1;
    LookupState lookup;
    lookup.QueryTypeIndex = kAxfrIndex;
    lookup.Recursive = 0;
    std::uint8_t query[LookupState::kQueryBufferSize];
    lookup.BuildQuery(query, argv[2]);
    const net::SocketHandle socket = net::OpenTcpSocket();
    if (socket == net::kNoSocket || net::Connect(socket, net::InetAddr(argv[1]), 53) != 0 ||
        net::Send(socket, query, static_cast<int>(wire::AnnouncedSize(query, wire::kPrefixSize, 0))) == net::kSocketError)
        return 1;
    std::vector<std::uint8_t> piece(1 << 16);
    ReplyBuffer held;
    TransferEnd end;
    long long total = 0;
    bool ended = false;
    while (!ended) {
        const int got = net::Recv(socket, piece.data(), static_cast<int>(piece.size()));
        if (got <= 0) break;
        total += got;
        held.Append(piece.data(), static_cast<std::size_t>(got));
        // Only the message still arriving is kept.
        std::size_t whole = 0;
        for (std::size_t next; (next = wire::NextMessage(held.data(), held.size(), whole)) != 0;) {
            ended = end.OnMessage(held.data() + whole, next - whole);
            whole = next;
        }
        held.Discard(whole);
    }
    net::Close(socket);
    std::printf("received %lld bytes%s\n", total, ended ? "" : " (no closing SOA)");
    return 0;
}
