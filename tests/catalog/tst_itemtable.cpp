// The table the main window owns: its bounds, the load step and list keys.
#include "itemtable.h"

#include <QProcess>
#include <QTest>

#include <memory>

using namespace Quorvath;
using namespace Qt::StringLiterals;

class TestItemTable final : public QObject {
    Q_OBJECT

private slots:
    void load()
    {
        const auto first = std::make_unique<Catalog>();
        const auto second = std::make_unique<Catalog>();
        QCOMPARE(first->rowCount, 0);
        for (int row = 0; row <= LastRow; ++row)
            for (int column = 0; column <= LastColumn; ++column)
                QVERIFY(first->table(row, column).isEmpty());
        loadCatalog(*first);
        loadCatalog(*second);
        loadCatalog(*second);   // loading again yields the same table
        QCOMPARE(first->rowCount, 227);
        QCOMPARE(second->rowCount, 227);
        QCOMPARE(first->table(1, Name), u"Torch");
        QCOMPARE(first->table(227, Name), u"Molten Tar");
        QCOMPARE(first->table(227, Category), u"Containers/Fluids");
        // Row 0 and column 0 stay empty; every other cell is the catalog's.
        for (int row = 0; row <= LastRow; ++row) {
            for (int column = 0; column <= LastColumn; ++column) {
                const QString cell = first->table(row, column);
                QVERIFY2(cell.isEmpty() == (row == 0 || column == 0), qPrintable(u"(%1, %2)"_s.arg(row).arg(column)));
                QCOMPARE(second->table(row, column), cell);
                if (row && column)
                    QCOMPARE(catalogText(row, column), cell);
            }
        }
    }

    // An index outside the table aborts the program; run it in a child process.
    void outsideTheTableIsFatal_data()
    {
        QTest::addColumn<QString>("access");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("fatal");
        QTest::newRow("read row 228") << u"read"_s << 228 << 1 << true;
        QTest::newRow("read row -1") << u"read"_s << -1 << 1 << true;
        QTest::newRow("read column 8") << u"read"_s << 1 << 8 << true;
        QTest::newRow("read column -1") << u"read"_s << 1 << -1 << true;
        QTest::newRow("write row 228") << u"write"_s << 228 << 7 << true;
        QTest::newRow("write column 8") << u"write"_s << 227 << 8 << true;
        QTest::newRow("catalog row 0") << u"text"_s << 0 << 1 << true;
        QTest::newRow("catalog column 0") << u"text"_s << 1 << 0 << true;
        QTest::newRow("key row 0") << u"key"_s << 0 << 0 << true;
        QTest::newRow("key row 228") << u"key"_s << 228 << 0 << true;
        QTest::newRow("in bounds (control)") << u"read"_s << 227 << 7 << false;
    }
    void outsideTheTableIsFatal()
    {
        QFETCH(QString, access);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(bool, fatal);
        QProcess child;
        child.setProgram(QCoreApplication::applicationFilePath());
        child.setArguments({u"--access"_s, access, QString::number(row), QString::number(column)});
        // Windows sends the messages of a program without a console to the
        // debugger unless told otherwise.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_FORCE_STDERR_LOGGING"_s, u"1"_s);
        child.setProcessEnvironment(environment);
        child.start();
        QVERIFY(child.waitForFinished(30000));
        const QByteArray output = child.readAllStandardError();
        QVERIFY2((child.exitStatus() == QProcess::CrashExit || child.exitCode() != 0) == fatal, output.constData());
        QVERIFY2(!fatal || output.contains(QByteArray::number(row)), output.constData());
    }

    void listKeysRoundTrip_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("key");
        QTest::newRow("first") << 1 << u"A1"_s;
        QTest::newRow("two digits") << 12 << u"A12"_s;
        QTest::newRow("three digits") << 100 << u"A100"_s;
        QTest::newRow("last") << 227 << u"A227"_s;
    }
    void listKeysRoundTrip()
    {
        QFETCH(int, row);
        QFETCH(QString, key);
        QCOMPARE(listKey(qint16(row)), key);
        QCOMPARE(parseListKey(key), std::optional<qint16>(qint16(row)));
        if (row == 1) {
            for (qint16 r = 1; r <= LastRow; ++r)
                QCOMPARE(parseListKey(listKey(r)), std::optional<qint16>(r));
        }
    }

    void malformedKeys_data()
    {
        QTest::addColumn<QString>("key");
        for (const char *key : {"", "A", "a1", "B1", "1", "A0", "A00", "A012", "A01", "A228", "A1000", "A99999",
                                "A-1", "A+1", "A 1", " A1", "A1 ", "A1a", "AA1", "A1.0", "A1\n", "A65537"})
            QTest::newRow(key[0] ? key : "(empty)") << QString::fromLatin1(key);
        // Digits of other scripts are digits to QChar, not to a key.
        QTest::newRow("arabic-indic one") << u"A\u0661"_s;
        QTest::newRow("fullwidth one") << u"A\uFF11"_s;
        QTest::newRow("fullwidth A") << u"\uFF211"_s;
    }
    void malformedKeys()
    {
        QFETCH(QString, key);
        QCOMPARE(parseListKey(key), std::nullopt);
    }
};

// The child side of outsideTheTableIsFatal: one access, then a normal exit.
static int accessOnce(const QString &access, int row, int column)
{
    Catalog catalog;
    if (access == u"read")
        return catalog.table(row, column).size();
    if (access == u"write")
        catalog.table.set(row, column, u"x"_s);
    else if (access == u"text")
        return catalogText(row, column).isEmpty() ? 1 : 0;
    else if (access == u"key")
        return listKey(qint16(row)).isEmpty() ? 1 : 0;
    return 0;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == u"--access")
        return accessOnce(args[2], args[3].toInt(), args[4].toInt());
    TestItemTable test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_itemtable.moc"
