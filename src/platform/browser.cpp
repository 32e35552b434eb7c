#include "browser.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace Quorvath {

Browser::~Browser() = default;

namespace {

#ifdef Q_OS_WIN
// Short 8.3 folder names, as the program has always looked for it.
const QString BrowserPath = QStringLiteral("C:\\PROGRA~1\\INTERN~1\\iexplore.exe");
#endif

QString browserProgram()
{
#ifdef Q_OS_WIN
    return QFileInfo(BrowserPath).isFile() ? BrowserPath : QString();
#else
    return QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
#endif
}

} // namespace

bool SystemBrowser::isAvailable()
{
    return !browserProgram().isEmpty();
}

bool SystemBrowser::open(const QString &url)
{
    const QString program = browserProgram();
    if (program.isEmpty())
        return false;
    QProcess process;
    process.setProgram(program);
    process.setArguments({url});
#ifdef Q_OS_WIN
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_SHOWMAXIMIZED;
    });
#endif
    return process.startDetached();
}

} // namespace Quorvath
