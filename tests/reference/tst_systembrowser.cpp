// The system browser on a desktop without Windows' fixed browser path: the
// opener is looked up on the PATH, gets the address as one argument, and its
// exit status within the bound is the reply. Stand-in openers exit 0, exit
// 3 (Debian's xdg-open without any browser), hang and crash. On Windows, the
// browser at its path and its command line, which a copy of this test
// program, standing in for the browser, writes down. Every failure is said
// as a warning, and only a failure.
#include "browser.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

#include <optional>

using namespace Quorvath;
using namespace std::chrono_literals;

class TestSystemBrowser : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void missingOpener();
    void addressIsOneArgument_data();
    void addressIsOneArgument();
    void reply_data();
    void reply();
    void openerEndsWithTheProgram();
    void windowsBrowserAtItsPath();
    void windowsCommandLine_data();
    void windowsCommandLine();

private:
    // An xdg-open in a folder of its own, first on the PATH, that writes its
    // process id to `pid` and then runs `body`.
    void installOpener(const QByteArray &body);
    qint64 openerPid() const;

    QByteArray m_path;
    std::optional<QTemporaryDir> m_dir;
};

void TestSystemBrowser::init()
{
#ifdef Q_OS_WIN
    if (!QByteArray(QTest::currentTestFunction()).startsWith("windows"))
        QSKIP("The Windows browser has a fixed path.");
    return;
#endif
    m_path = qgetenv("PATH");
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
    // The warnings a case expects are ignored by it; any other fails it.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
}

void TestSystemBrowser::windowsBrowserAtItsPath()
{
#ifndef Q_OS_WIN
    QSKIP("Windows only");
#else
    // Present where Windows (and Wine) install it; absent once it is moved.
    const QString path = QStringLiteral("C:/Program Files/Internet Explorer/iexplore.exe");
    const QString moved = path + QStringLiteral(".moved");
    QVERIFY2(QFile::exists(path), "this Windows has no browser at its usual path");
    SystemBrowser browser;
    QVERIFY(browser.isAvailable());
    QVERIFY(QFile::rename(path, moved));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Internet Explorer is not at ")));
    const bool withoutIt = browser.isAvailable();
    QVERIFY(QFile::rename(moved, path));
    QVERIFY(!withoutIt);
    QVERIFY(browser.isAvailable());
#endif
}

#ifdef Q_OS_WIN
namespace {
const QString BrowserFolder = QStringLiteral("C:/Program Files/Internet Explorer/");
const QString BrowserLog = BrowserFolder + QStringLiteral("commandline.txt");
} // namespace
#endif

void TestSystemBrowser::windowsCommandLine_data()
{
    QTest::addColumn<QString>("url");
    QTest::newRow("home page") << "https://www.velmarch.example/";
    QTest::newRow("page with a query") << "https://petition.velmarch.example/sign?lang=en&from=about";
}

void TestSystemBrowser::windowsCommandLine()
{
#ifndef Q_OS_WIN
    QSKIP("Windows only");
#else
    QFETCH(QString, url);
    // The path the program finds first, quoted only if it has blanks.
    const QString shortPath = QStringLiteral("C:\\PROGRA~1\\INTERN~1\\iexplore.exe");
    const QString path = QFileInfo(shortPath).isFile()
        ? shortPath : QStringLiteral("\"C:\\Program Files\\Internet Explorer\\iexplore.exe\"");
    const QString browserPath = BrowserFolder + QStringLiteral("iexplore.exe");
    const QString moved = browserPath + QStringLiteral(".moved");
    QFile::remove(BrowserLog);
    QVERIFY(QFile::rename(browserPath, moved));
    const auto restore = qScopeGuard([&] {
        QFile::remove(browserPath);
        QFile::rename(moved, browserPath);
        QFile::remove(BrowserLog);
    });
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), browserPath));

    SystemBrowser browser;
    std::optional<bool> opened;
    browser.open(url, this, [&](bool o) { opened = o; });
    QTRY_VERIFY(opened.has_value());
    QVERIFY(*opened);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(BrowserLog), 20000);
    QFile log(BrowserLog);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(log.readAll()), path + QLatin1Char(' ') + url);
#endif
}

void TestSystemBrowser::cleanup()
{
    if (!m_dir)
        return;
    qputenv("PATH", m_path);
    m_dir.reset();
}

void TestSystemBrowser::installOpener(const QByteArray &body)
{
    QFile opener(m_dir->filePath(QStringLiteral("xdg-open")));
    QVERIFY(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\ncd \"$(dirname \"$0\")\"\necho $$ > pid.tmp && mv pid.tmp pid\n" + body + '\n');
    opener.close();
    opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", QFile::encodeName(m_dir->path()) + ":/usr/bin:/bin");
}

qint64 TestSystemBrowser::openerPid() const
{
    QFile file(m_dir->filePath(QStringLiteral("pid")));
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toLongLong() : 0;
}

void TestSystemBrowser::missingOpener()
{
    qputenv("PATH", QFile::encodeName(m_dir->path()));
    SystemBrowser browser;
    // Asked when the About window loads and again for a page.
    const QRegularExpression missing(QStringLiteral("^xdg-open is not on the PATH"));
    QTest::ignoreMessage(QtWarningMsg, missing);
    QTest::ignoreMessage(QtWarningMsg, missing);
    QVERIFY(!browser.isAvailable());
    std::optional<bool> opened;
    browser.open(QStringLiteral("https://www.velmarch.example/"), this, [&](bool o) { opened = o; });
    QTRY_VERIFY(opened.has_value());
    QCOMPARE(*opened, false);
}

void TestSystemBrowser::addressIsOneArgument_data()
{
    QTest::addColumn<QString>("url");
    QTest::newRow("plain") << "https://www.velmarch.example/";
    QTest::newRow("shell characters")
        << "https://petition.velmarch.example/a b;touch PWNED&x=$(touch PWNED)'\"|`id`";
}

void TestSystemBrowser::addressIsOneArgument()
{
    QFETCH(QString, url);
    // Writes the argument count, then each argument, to a file of our own.
    installOpener("{ echo \"$#\"; printf '%s\\n' \"$@\"; } > args.tmp\nmv args.tmp args.txt");
    SystemBrowser browser;
    QVERIFY(browser.isAvailable());
    std::optional<bool> opened;
    browser.open(url, this, [&](bool o) { opened = o; });
    QTRY_VERIFY_WITH_TIMEOUT(opened.has_value(), 10000);
    QVERIFY(*opened);
    QFile result(m_dir->filePath(QStringLiteral("args.txt")));
    QVERIFY(result.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(result.readAll()), QStringLiteral("1\n") + url + QLatin1Char('\n'));
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("PWNED"))));
}

void TestSystemBrowser::reply_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("boundMs");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("warning");
    // The bound is long where the opener ends by itself, so that only its
    // exit status decides.
    QTest::newRow("exit 0") << QByteArray("exit 0") << 60000 << true << QString();
    QTest::newRow("exit 3") << QByteArray("echo 'xdg-open: no method available' >&2; exit 3") << 60000 << false
                            << "^xdg-open failed, exit code 3$";
    QTest::newRow("crashes") << QByteArray("kill -SEGV $$") << 60000 << false << "^xdg-open crashed$";
    QTest::newRow("hangs") << QByteArray("exec sleep 600") << 2000 << false
                           << "^xdg-open had not finished after 2000 ms, and is ended$";
}

void TestSystemBrowser::reply()
{
    QFETCH(QByteArray, body);
    QFETCH(int, boundMs);
    QFETCH(QString, warning);
    if (!warning.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
    installOpener(body);
    SystemBrowser browser{std::chrono::milliseconds(boundMs)};
    QObject context;
    int replies = 0;
    bool opened = false;
    browser.open(QStringLiteral("https://www.velmarch.example/"), &context, [&](bool o) {
        ++replies;
        opened = o;
    });
    QCOMPARE(replies, 0);   // never from within open()
    QTRY_COMPARE_WITH_TIMEOUT(replies, 1, 30000);
    QTEST(opened, "opened");
    // The opener is gone and collected, not left behind as a zombie.
    const qint64 pid = openerPid();
    QVERIFY(pid > 0);
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(QStringLiteral("/proc/%1").arg(pid)), 10000);
    QCOMPARE(replies, 1);
}

void TestSystemBrowser::openerEndsWithTheProgram()
{
    installOpener("exec sleep 600");
    auto browser = std::make_unique<SystemBrowser>();
    bool replied = false;
    browser->open(QStringLiteral("https://www.velmarch.example/"), this, [&](bool) { replied = true; });
    QTRY_VERIFY_WITH_TIMEOUT(openerPid() > 0, 10000);
    browser.reset();
    QVERIFY(!QFile::exists(QStringLiteral("/proc/%1").arg(openerPid())));
    QCoreApplication::processEvents();
    QVERIFY(!replied);
}

int main(int argc, char *argv[])
{
#ifdef Q_OS_WIN
    // Started as the browser: write down the command line and end.
    if (QFileInfo(QString::fromLocal8Bit(argv[0])).fileName().compare(QStringLiteral("iexplore.exe"),
                                                                      Qt::CaseInsensitive) == 0) {
        QFile log(BrowserLog + QStringLiteral(".tmp"));
        if (!log.open(QIODevice::WriteOnly))
            return 1;
        log.write(QString::fromWCharArray(GetCommandLineW()).toUtf8());
        log.close();
        return QFile::rename(log.fileName(), BrowserLog) ? 0 : 1;
    }
#endif
    QCoreApplication app(argc, argv);
    TestSystemBrowser test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_systembrowser.moc"
