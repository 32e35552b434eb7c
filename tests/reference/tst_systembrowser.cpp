// The system browser on a desktop without Windows' fixed browser path: the
// opener is looked up on the PATH and gets the address as one argument.
#include "browser.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Quorvath;

class TestSystemBrowser : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void missingOpener();
    void addressIsOneArgument_data();
    void addressIsOneArgument();

private:
    QByteArray m_path;
};

void TestSystemBrowser::init()
{
#ifdef Q_OS_WIN
    QSKIP("The Windows browser has a fixed path.");
#endif
    m_path = qgetenv("PATH");
}

void TestSystemBrowser::cleanup()
{
    qputenv("PATH", m_path);
}

void TestSystemBrowser::missingOpener()
{
    QTemporaryDir empty;
    qputenv("PATH", QFile::encodeName(empty.path()));
    SystemBrowser browser;
    QVERIFY(!browser.isAvailable());
    QVERIFY(!browser.open(QStringLiteral("https://www.velmarch.example/")));
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
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("args.txt"));
    QFile opener(dir.filePath(QStringLiteral("xdg-open")));
    QVERIFY(opener.open(QIODevice::WriteOnly));
    // Writes the argument count, then each argument, to a file of our own.
    opener.write("#!/bin/sh\ncd \"$(dirname \"$0\")\"\n{ echo \"$#\"; printf '%s\\n' \"$@\"; } > args.tmp\n"
                 "mv args.tmp args.txt\n");
    opener.close();
    opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", QFile::encodeName(dir.path()) + ":/usr/bin:/bin");

    SystemBrowser browser;
    QVERIFY(browser.isAvailable());
    QVERIFY(browser.open(url));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out), 10000);
    QFile result(out);
    QVERIFY(result.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(result.readAll()), QStringLiteral("1\n") + url + QLatin1Char('\n'));
}

QTEST_GUILESS_MAIN(TestSystemBrowser)
#include "tst_systembrowser.moc"
