#pragma once
// Starts tests/servers/scripted_server.py for a GoogleTest case and stops
// it by its PID when the object goes (POSIX only).
#include <sys/types.h>

#include <string>

class ServerProcess {
public:
    // `host`: the last number of the loopback address under VEK_TEST_NET;
    // `script`: the JSON list of actions.
    ServerProcess(int host, const std::string& script);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    bool ready() const { return pid_ > 0 && ready_; }
    const std::string& address() const { return address_; }
    static int port();
    // The server's log so far, one event a line.
    std::string events() const;

private:
    std::string address_, dir_;
    pid_t pid_ = -1;
    bool ready_ = false;
};

// Hex text of bytes, as the server's "send" action takes it.
std::string Hex(const std::string& bytes);
