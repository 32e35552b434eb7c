#include "quitsignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace Quorvath {

#ifdef Q_OS_UNIX
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
#endif

QuitSignals::QuitSignals(QObject *parent) : QObject(parent)
{
#ifdef Q_OS_UNIX
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
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
        if (sigaction(signal, nullptr, &old) == 0 && old.sa_handler != SIG_IGN)
            sigaction(signal, &action, nullptr);
    }
#endif
}

QuitSignals::~QuitSignals()
{
#ifdef Q_OS_UNIX
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
#endif
}

void QuitSignals::readPipe()
{
#ifdef Q_OS_UNIX
    char number = 0;
    while (::read(pipeEnds[0], &number, 1) == 1)
        emit received(number);
#endif
}

} // namespace Quorvath
