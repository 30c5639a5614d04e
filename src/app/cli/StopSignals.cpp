#include "app/cli/StopSignals.h"

#include <csignal>

#include "app/cli/ConsoleWindow.h"
#include "platform/PosixCleanedCopies.h"

namespace trawlit {

namespace {

constexpr int kStopSignals[] = { SIGINT, SIGTERM, SIGHUP };

extern "C" void RequestStop(int signal)
{
    if (gInterruptRequested == 0) {
        gInterruptRequested = 1;
        return;
    }
    PosixCleanedCopies::RemoveCopyInTheMaking();
    std::signal(signal, SIG_DFL);
    std::raise(signal); // delivered with its default action once this handler returns
}

} // namespace

void InstallStopHandlers()
{
    PosixCleanedCopies::RemoveCopyInTheMakingWhenEnded();
    struct sigaction action { };
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    for (int signal : kStopSignals) {
        sigaddset(&action.sa_mask, signal);
    }
    for (int signal : kStopSignals) {
        sigaction(signal, &action, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace trawlit
