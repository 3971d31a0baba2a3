#include "ServerProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

extern char** environ;

namespace {
std::string Net() {
    const char* net = std::getenv("VEK_TEST_NET");
    return net && *net ? net : "127.0.53";
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }
}  // namespace

int ServerProcess::port() { return geteuid() == 0 ? 53 : 10053; }

ServerProcess::ServerProcess(int host, const std::string& scenario)
    : address_(Net() + "." + std::to_string(host)) {
    char pattern[] = "/tmp/vek-gtest-server-XXXXXX";
    if (!mkdtemp(pattern)) return;
    dir_ = pattern;
    const std::string server = std::string(VEK_SERVERS_DIR) + "/scripted_server.py";
    const std::string ready = dir_ + "/ready", log = dir_ + "/log", port = std::to_string(ServerProcess::port());
    std::vector<std::string> args = {"/usr/bin/python3", server, "--address", address_, "--port", port,
                                     "--scenario", scenario, "--ready", ready, "--log", log};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, "/usr/bin/python3", nullptr, nullptr, argv.data(), environ) != 0) {
        pid_ = -1;
        return;
    }
    for (int i = 0; i < 500 && !ready_; ++i) {
        ready_ = Exists(ready);
        if (!ready_) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) { pid_ = -1; return; }
    }
}

ServerProcess::~ServerProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        int status = 0;
        bool ended = false;
        for (int i = 0; i < 250 && !ended; ++i) {
            ended = waitpid(pid_, &status, WNOHANG) == pid_;
            if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (!ended) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
        }
    }
    if (!dir_.empty()) {
        std::remove((dir_ + "/ready").c_str());
        std::remove((dir_ + "/log").c_str());
        rmdir(dir_.c_str());
    }
}
