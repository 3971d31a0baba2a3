// Closing a socket from another thread must end a receive that waits on it:
// that is how a running lookup is interrupted.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "TestNet.h"
#include "sockets/Sockets.h"

#ifdef _WIN32
#include <winsock2.h>
using NativeSocket = SOCKET;
inline void CloseNative(NativeSocket s) { closesocket(s); }
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
using NativeSocket = int;
inline void CloseNative(NativeSocket s) { close(s); }
#endif

namespace {

// A listening socket that never accepts: connections complete in its
// backlog, and nothing is ever sent on them.
class SilentListener {
public:
    SilentListener(const std::string& address, std::uint16_t port) {
        socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(port);
        at.sin_addr.s_addr = inet_addr(address.c_str());
        listening_ = ::bind(socket_, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0 &&
                     ::listen(socket_, 4) == 0;
    }
    ~SilentListener() { CloseNative(socket_); }
    bool listening() const { return listening_; }

private:
    NativeSocket socket_;
    bool listening_ = false;
};

}  // namespace

TEST(SocketClose, WakesAReceiveBlockedInAnotherThread) {
    int major = 0, minor = 0;
    ASSERT_TRUE(net::Startup(major, minor));
    const std::string address = TestAddress(202);
    const std::uint16_t port = 5354;
    {
        auto listener = std::make_unique<SilentListener>(address, port);
        ASSERT_TRUE(listener->listening());
        const net::SocketHandle s = net::OpenTcpSocket();
        ASSERT_NE(s, net::kNoSocket);
        ASSERT_EQ(net::Connect(s, net::InetAddr(address.c_str()), port), 0);

        std::atomic<bool> returned{false};
        std::atomic<int> result{1};
        std::thread receiver([&] {
            char buffer[512];
            result = net::Recv(s, buffer, sizeof buffer);
            returned = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_FALSE(returned) << "nothing was sent, yet the receive returned";
        net::Close(s);
        for (int i = 0; i < 100 && !returned; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_TRUE(returned) << "the receive still waits 5 s after the close";
        EXPECT_LE(result, 0);
        // Should the close not have woken it, ending the listener resets the
        // connection, so that the thread can still be joined.
        if (!returned) listener.reset();
        receiver.join();
        char byte;
        EXPECT_EQ(net::Recv(s, &byte, 1), net::kSocketError);  // a closed socket stays closed
        EXPECT_EQ(net::LastError(), 10038);
    }
    net::Cleanup();
}
