#include "app/signals/ProgramSignals.h"

#include <atomic>
#include <csignal>
#include <cstdio>

#include <unistd.h>

#include "platform/PosixCleanedCopies.h"

namespace trawlit {

namespace {

constexpr int kStopSignals[] = { SIGINT, SIGTERM, SIGHUP };
constexpr int kOtherEndingSignals[]
    = { SIGQUIT, SIGABRT, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ };

// Set in whichever thread the signal lands on, read by the run's: lock-free, so both safe in a
// handler and free of a data race.
std::atomic<int> gStopSignal { 0 };
static_assert(std::atomic<int>::is_always_lock_free);

// Async-signal-safe: the raised signal stays blocked until the handler returns, then takes
// its default action.
void RemoveCopyAndEnd(int signal)
{
    PosixCleanedCopies::RemoveCopyInTheMaking();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

extern "C" void OnEndingSignal(int signal)
{
    RemoveCopyAndEnd(signal);
}

extern "C" void OnStopSignal(int signal)
{
    int none = 0;
    if (gStopSignal.compare_exchange_strong(none, signal)) {
        return;
    }
    RemoveCopyAndEnd(signal);
}

// The stop signals are blocked while any handler runs: a second one cannot cut into the first.
void Handle(int signal, void (*handler)(int))
{
    struct sigaction action { };
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    for (int stop : kStopSignals) {
        sigaddset(&action.sa_mask, stop);
    }
    sigaction(signal, &action, nullptr);
}

} // namespace

void EndSignalsRemoveCopyInTheMaking()
{
    for (int signal : kStopSignals) {
        Handle(signal, OnEndingSignal);
    }
    for (int signal : kOtherEndingSignals) {
        Handle(signal, OnEndingSignal);
    }
}

void InstallConsoleSignals()
{
    for (int signal : kOtherEndingSignals) {
        Handle(signal, OnEndingSignal);
    }
    // Writing into a pipe whose reader has gone (`| head`) ends the program as it ends grep.
    Handle(SIGPIPE, OnEndingSignal);
    for (int signal : kStopSignals) {
        Handle(signal, OnStopSignal);
    }
}

int StopSignalReceived()
{
    return gStopSignal.load();
}

void EndBySignal(int signal)
{
    std::fflush(stdout);
    std::fflush(stderr);
    std::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    std::raise(signal);
    _exit(128 + signal); // not reached: the signal's default action ends the program
}

} // namespace trawlit
