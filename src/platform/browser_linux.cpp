// The browser on Linux: the desktop's opener, xdg-open, found on the PATH.
// It hands the page over and exits, 0 on success, so its exit status is the
// reply. An opener that has not exited within the bound is killed and counts
// as a failure.
#include "browser.h"

#include "browserlog.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace Quorvath {

QString SystemBrowser::program()
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        qCWarning(lcBrowser, "xdg-open is not on the PATH: no web page can be opened");
    return opener;
}

void SystemBrowser::start(const QString &program, const QString &url, const Reply &tell)
{
    auto *opener = new QProcess(this);
    opener->setProgram(program);
    opener->setArguments({url});
    // It says why it failed where the program's own messages go.
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    opener->setStandardInputFile(QProcess::nullDevice());
    // However the program ends (a signal, a lost X connection, a crash), the
    // kernel kills the opener with it. Only the opener: the setting is not
    // passed on to a browser it starts. A parent gone before the setting
    // took hold is seen in the parent process id.
    opener->setChildProcessModifier([parent = ::getpid()] {
        if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent)
            ::_exit(127);
    });
    auto *bound = new QTimer(opener);
    bound->setSingleShot(true);
    connect(opener, &QProcess::finished, this, [opener, bound, tell](int code, QProcess::ExitStatus status) {
        const bool opened = status == QProcess::NormalExit && code == 0;
        // Past the bound it has been said already.
        if (!opened && bound->isActive()) {
            if (status == QProcess::NormalExit)
                qCWarning(lcBrowser, "xdg-open failed, exit code %d", code);
            else
                qCWarning(lcBrowser, "xdg-open crashed");
        }
        tell(opened);
        opener->deleteLater();
    });
    connect(opener, &QProcess::errorOccurred, this, [opener, tell](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            qCWarning(lcBrowser, "xdg-open could not be started (%s)", qPrintable(opener->errorString()));
            tell(false);
            opener->deleteLater();
        }
    });
    // Killed rather than left running: the user has been told to open the
    // page by hand, and a late opener would open it a second time. Only the
    // opener goes; a browser it has already started is the desktop's. The
    // finished() that follows collects it.
    connect(bound, &QTimer::timeout, this, [this, opener, tell] {
        qCWarning(lcBrowser, "xdg-open had not finished after %lld ms, and is ended",
                  static_cast<long long>(m_bound.count()));
        tell(false);
        opener->kill();
    });
    qCDebug(lcBrowser) << "opening" << url << "with" << program;
    opener->start();
    bound->start(m_bound);
}

} // namespace Quorvath
