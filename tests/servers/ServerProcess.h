#pragma once
// Starts tests/servers/scripted_server.py for a GoogleTest case and stops
// it by its PID when the object goes (POSIX only).
#include <sys/types.h>

#include <string>

class ServerProcess {
public:
    // `host`: the last number of the loopback address under VEK_TEST_NET;
    // `scenario`: the name of a script in scenarios.py.
    ServerProcess(int host, const std::string& scenario);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    bool ready() const { return pid_ > 0 && ready_; }
    const std::string& address() const { return address_; }
    static int port();

private:
    std::string address_, dir_;
    pid_t pid_ = -1;
    bool ready_ = false;
};
