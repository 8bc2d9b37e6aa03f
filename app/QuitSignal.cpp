#include "app/QuitSignal.h"

#include <csignal>
#include <signal.h>

namespace
{

volatile std::sig_atomic_t received = 0;

extern "C" void OnQuitSignal(int number)
{
    if (received)
    {
        // The game did not get round to quitting: the default action now.
        std::signal(number, SIG_DFL);
        std::raise(number);
        return;
    }
    received = 1;
}

} // namespace

void QuitSignal::Install()
{
    struct sigaction action = {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

void QuitSignal::Uninstall()
{
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    received = 0;
}

bool QuitSignal::Received()
{
    return received != 0;
}
