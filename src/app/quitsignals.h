// The signals by which a desktop or a terminal ends a program: SIGTERM (a
// session's logout, kill), SIGINT (Ctrl+C) and SIGHUP (the terminal gone).
#pragma once

#include <QObject>

class QSocketNotifier;

namespace Quorvath {

// Turns those signals into a Qt signal, emitted in the event loop: the
// handler itself only writes the signal's number into a pipe. Without it,
// the program would end at once, before any of its own cleanup (the
// browser openers it has started among them). A signal that was ignored
// when the program started (nohup; a shell script's background job) stays
// ignored. One instance at a time; on Windows it does nothing
// (quitsignals_linux.cpp, quitsignals_win.cpp).
class QuitSignals final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QuitSignals)
public:
    explicit QuitSignals(QObject *parent = nullptr);
    // Gives the signals back their default action.
    ~QuitSignals() override;

signals:
    // `signal` (SIGTERM, SIGINT or SIGHUP) arrived.
    void received(int signal);

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace Quorvath
