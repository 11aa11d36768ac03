#include "interruptstop.h"

#include "session/sessionfacade.h"

#include <atomic>
#include <csignal>
#include <unistd.h>

namespace {

// A signal handler reaches the run only through what is set here.
std::atomic<SessionFacade *> interruptedSession{nullptr};
std::atomic<bool> interruptSeen{false};
struct sigaction previousAction;

void onInterrupt(int)
{
    interruptSeen.store(true);
    if (SessionFacade *session = interruptedSession.load())
        session->requestStop();
    static const char note[] =
        "\nwifiticketer-cli: stopping once the vouchers under way are made (Ctrl+C again quits at once)\n";
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, note, sizeof note - 1);
    std::signal(SIGINT, SIG_DFL);
}

} // namespace

StopOnInterrupt::StopOnInterrupt(SessionFacade &session)
{
    interruptSeen.store(false);
    interruptedSession.store(&session);
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // Interrupted waits on the router are resumed: the voucher being made is
    // finished before the run looks at the stop.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousAction);
}

StopOnInterrupt::~StopOnInterrupt()
{
    sigaction(SIGINT, &previousAction, nullptr);
    interruptedSession.store(nullptr);
}

bool StopOnInterrupt::interrupted()
{
    return interruptSeen.load();
}
