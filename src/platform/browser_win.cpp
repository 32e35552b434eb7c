// The browser on Windows: Internet Explorer at its fixed path, started
// maximized. It stays up while it shows the page, so having started is
// success; there is nothing to wait for.
#include "browser.h"

#include "browserlog.h"

#include <QFileInfo>
#include <QProcess>

#include <qt_windows.h>

#include <iterator>
#include <string>

namespace Quorvath {

namespace {

// Short 8.3 folder names, as the program has always looked for it, and the
// long names they stand for: a volume may have no short names (they can be
// turned off, and Wine makes up others), and the browser is there all the same.
const QString BrowserPaths[] = {QStringLiteral("C:\\PROGRA~1\\INTERN~1\\iexplore.exe"),
                                QStringLiteral("C:\\Program Files\\Internet Explorer\\iexplore.exe")};

} // namespace

QString SystemBrowser::program()
{
    for (const QString &path : BrowserPaths) {
        if (QFileInfo(path).isFile())
            return path;
    }
    qCWarning(lcBrowser, "Internet Explorer is not at %s: no web page can be opened",
              qPrintable(BrowserPaths[std::size(BrowserPaths) - 1]));
    return {};
}

void SystemBrowser::start(const QString &program, const QString &url, const Reply &tell)
{
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
    qCDebug(lcBrowser) << "opening" << url << "with" << path;
    const bool started = browser.startDetached();
    if (!started)
        qCWarning(lcBrowser, "%s could not be started (%s)", qPrintable(program), qPrintable(browser.errorString()));
    tell(started);
}

} // namespace Quorvath
