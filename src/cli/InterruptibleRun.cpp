#include "InterruptibleRun.h"

#include <atomic>
#include <cstdlib>
#include <thread>

#include "LookupState.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#include <signal.h>
#endif

namespace {
// Exit status of a program ended by a second Ctrl-C (128 + SIGINT).
constexpr int kInterruptedStatus = 130;
}  // namespace

#ifdef _WIN32

namespace {

// The console calls its handler on a thread of its own; this is the one
// lookup that handler may interrupt.
std::atomic<LookupState*> interruptible{nullptr};
std::atomic<int> ctrlCCount{0};

BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    if (ctrlCCount.fetch_add(1) > 0) std::_Exit(kInterruptedStatus);
    if (LookupState* state = interruptible.load()) state->Interrupt();
    return TRUE;
}

}  // namespace

void RunInterruptible(LookupState& state) {
    interruptible = &state;
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    std::thread worker([&state] { state.TcpLookup(); });
    worker.join();
    SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    interruptible = nullptr;
}

#else

void RunInterruptible(LookupState& state) {
    // Ctrl-C and the worker's "finished" signal are taken synchronously by
    // this thread; the worker inherits the mask and never sees them.
    sigset_t watched, before;
    sigemptyset(&watched);
    sigaddset(&watched, SIGINT);
    sigaddset(&watched, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &watched, &before);

    const pthread_t watcher = pthread_self();
    std::thread worker([&state, watcher] {
        state.TcpLookup();
        pthread_kill(watcher, SIGUSR1);
    });
    int interrupts = 0;
    for (;;) {
        int signal = 0;
        if (sigwait(&watched, &signal) != 0 || signal == SIGUSR1) break;
        if (++interrupts > 1) std::_Exit(kInterruptedStatus);
        state.Interrupt();
    }
    worker.join();

    // A Ctrl-C that came just as the lookup ended counts as one during it.
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    const timespec now{0, 0};
    if (sigtimedwait(&interrupt, nullptr, &now) == SIGINT && interrupts > 0)
        std::_Exit(kInterruptedStatus);
    // From here on Ctrl-C ends the program as usual, printing included.
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
}

#endif
