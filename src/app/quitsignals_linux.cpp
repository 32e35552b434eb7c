// The quit signals on Linux: a handler that writes the signal's number into
// a pipe, read in the event loop.
#include "quitsignals.h"

#include "signalslog.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace Quorvath {

namespace {

const int Signals[] = {SIGTERM, SIGINT, SIGHUP};
int pipeEnds[2] = {-1, -1};   // read, write

// Async-signal-safe: one write of one byte, errno kept.
void onSignal(int signal)
{
    const int saved = errno;
    const char number = char(signal);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &number, 1);
    errno = saved;
}

} // namespace

QuitSignals::QuitSignals(QObject *parent) : QObject(parent)
{
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
        qCWarning(lcSignals, "SIGTERM, SIGINT and SIGHUP will end the program at once, without its cleanup: "
                         "no pipe for them (%s)", std::strerror(errno));
        return;
    }
    m_notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::readPipe);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    // A signal ignored from the start stays ignored: under nohup, or
    // started in the background by a shell script, the user asked for that.
    for (int signal : Signals) {
        struct sigaction old = {};
        if (sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN)
            qCDebug(lcSignals, "signal %d was ignored at start and stays ignored", signal);
        else if (sigaction(signal, &action, nullptr) != 0)
            qCWarning(lcSignals, "signal %d will end the program at once, without its cleanup (%s)", signal,
                      std::strerror(errno));
    }
}

QuitSignals::~QuitSignals()
{
    if (!m_notifier)
        return;
    for (int signal : Signals) {
        struct sigaction old = {};
        if (sigaction(signal, nullptr, &old) == 0 && old.sa_handler == onSignal)
            std::signal(signal, SIG_DFL);
    }
    delete m_notifier;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void QuitSignals::readPipe()
{
    char number = 0;
    while (::read(pipeEnds[0], &number, 1) == 1)
        emit received(number);
}

} // namespace Quorvath
