#include "crashpoint.h"

#include <QByteArray>
#include <QList>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

struct Target
{
    QByteArray name;
    int pass = 1;
};

// Read once: the variable is the test's, set before the program starts.
const Target &target()
{
    static const Target chosen = [] {
        Target t;
        const QByteArray value = qgetenv("WIFITICKETER_CRASH_AT");
        const qsizetype colon = value.indexOf(':');
        t.name = colon < 0 ? value : value.first(colon);
        if (colon >= 0)
            t.pass = qMax(1, value.sliced(colon + 1).toInt());
        return t;
    }();
    return chosen;
}

std::atomic<int> passes{0};

} // namespace

void crashPoint(const char *name)
{
    const Target &t = target();
    if (t.name.isEmpty() || t.name != name)
        return;
    if (passes.fetch_add(1) + 1 < t.pass)
        return;
    ::kill(::getpid(), SIGKILL);
    std::abort(); // never reached
}
