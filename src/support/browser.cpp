#include "browser.h"

#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <memory>

#ifdef Q_OS_WIN
#include <qt_windows.h>

#include <string>
#endif
#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>
#endif

namespace Quorvath {

Browser::~Browser() = default;

namespace {

#ifdef Q_OS_WIN
// Short 8.3 folder names, as the program has always looked for it, and the
// long names they stand for: a volume may have no short names (they can be
// turned off, and Wine makes up others), and the browser is there all the same.
const QString BrowserPaths[] = {QStringLiteral("C:\\PROGRA~1\\INTERN~1\\iexplore.exe"),
                                QStringLiteral("C:\\Program Files\\Internet Explorer\\iexplore.exe")};
#endif

QString browserProgram()
{
#ifdef Q_OS_WIN
    for (const QString &path : BrowserPaths) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
#else
    return QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
#endif
}

// A reply that is given at most once, in the event loop, while its context
// lives.
class OneReply {
public:
    OneReply(QObject *context, Browser::Reply reply) : m_context(context), m_reply(std::move(reply)) {}

    void operator()(bool opened)
    {
        if (std::exchange(m_given, true) || !m_context)
            return;
        QMetaObject::invokeMethod(m_context, [reply = m_reply, opened] { reply(opened); },
                                  Qt::QueuedConnection);
    }

private:
    QPointer<QObject> m_context;
    Browser::Reply m_reply;
    bool m_given = false;
};

} // namespace

SystemBrowser::SystemBrowser(std::chrono::milliseconds bound) : m_bound(bound) {}

SystemBrowser::~SystemBrowser()
{
    for (QProcess *opener : findChildren<QProcess *>(Qt::FindDirectChildrenOnly)) {
        opener->disconnect(this);
        opener->kill();
        opener->waitForFinished();
    }
}

bool SystemBrowser::isAvailable()
{
    return !browserProgram().isEmpty();
}

void SystemBrowser::open(const QString &url, QObject *context, Reply reply)
{
    const auto tell = std::make_shared<OneReply>(context, std::move(reply));
    const QString program = browserProgram();
    if (program.isEmpty()) {
        (*tell)(false);
        return;
    }
#ifdef Q_OS_WIN
    // The command line is the path, one blank and the address. QProcess
    // would put two blanks between them, so it is handed over whole; a long
    // path with blanks in it is quoted.
    const QString path = program.contains(QLatin1Char(' ')) ? QLatin1Char('"') + program + QLatin1Char('"') : program;
    std::wstring commandLine = (path + QLatin1Char(' ') + url).toStdWString();
    QProcess browser;
    browser.setProgram(program);
    browser.setCreateProcessArgumentsModifier([commandLine](QProcess::CreateProcessArguments *args) mutable {
        args->arguments = commandLine.data();
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_SHOWMAXIMIZED;
    });
    (*tell)(browser.startDetached());
#else
    auto *opener = new QProcess(this);
    opener->setProgram(program);
    opener->setArguments({url});
    // It says why it failed where the program's own messages go.
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    opener->setStandardInputFile(QProcess::nullDevice());
#ifdef Q_OS_LINUX
    // However the program ends (a signal, a lost X connection, a crash), the
    // kernel kills the opener with it. Only the opener: the setting is not
    // passed on to a browser it starts. A parent gone before the setting
    // took hold is seen in the parent process id.
    opener->setChildProcessModifier([parent = ::getpid()] {
        if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent)
            ::_exit(127);
    });
#endif
    auto *bound = new QTimer(opener);
    bound->setSingleShot(true);
    connect(opener, &QProcess::finished, this, [opener, tell](int code, QProcess::ExitStatus status) {
        (*tell)(status == QProcess::NormalExit && code == 0);
        opener->deleteLater();
    });
    connect(opener, &QProcess::errorOccurred, this, [opener, tell](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            (*tell)(false);
            opener->deleteLater();
        }
    });
    // Killed rather than left running: the user has been told to open the
    // page by hand, and a late opener would open it a second time. Only the
    // opener goes; a browser it has already started is the desktop's. The
    // finished() that follows collects it.
    connect(bound, &QTimer::timeout, this, [opener, tell] {
        (*tell)(false);
        opener->kill();
    });
    opener->start();
    bound->start(m_bound);
#endif
}

} // namespace Quorvath
