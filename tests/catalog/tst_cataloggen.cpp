// qi_catalog_gen must stop the build on a malformed items.tsv, naming the
// file and the line, and must leave no output behind when it does.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCatalogGen final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    struct Run {
        int exitCode = -1;
        QString errors;
        bool wroteOutput = false;
    };

    Run generate(const QString &input)
    {
        const QString output = m_dir.filePath(u"catalogdata.cpp"_s);
        QFile::remove(output);
        QProcess gen;
        gen.start(QStringLiteral(QI_CATALOG_GEN), {input, output});
        if (!gen.waitForFinished(30000))
            return {};
        return {gen.exitStatus() == QProcess::NormalExit ? gen.exitCode() : -1,
                QString::fromUtf8(gen.readAllStandardError()), QFile::exists(output)};
    }

    QString writeTemp(const QString &name, const QByteArray &content)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(content);
        return file.fileName();
    }

    static QByteArray catalogFile()
    {
        QFile file(QStringLiteral(QI_CATALOG_TSV));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void acceptsTheCatalog()
    {
        const Run run = generate(QStringLiteral(QI_CATALOG_TSV));
        QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
        QVERIFY(run.wroteOutput);
    }

    void rejectsMalformedFiles_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason");
        QTest::newRow("six fields") << u"six_fields.tsv"_s << 3 << u"6 tab-separated fields"_s;
        QTest::newRow("eight fields") << u"eight_fields.tsv"_s << 2 << u"8 tab-separated fields"_s;
        QTest::newRow("empty field") << u"empty_field.tsv"_s << 4 << u"field 3 is empty"_s;
        QTest::newRow("empty line") << u"blank_line.tsv"_s << 3 << u"empty line"_s;
        QTest::newRow("leading blank") << u"leading_blank.tsv"_s << 2 << u"leading or trailing blank"_s;
        QTest::newRow("trailing blank") << u"trailing_blank.tsv"_s << 3 << u"leading or trailing blank"_s;
        QTest::newRow("carriage return") << u"crlf.tsv"_s << 1 << u"carriage return"_s;
        QTest::newRow("invalid UTF-8") << u"invalid_utf8.tsv"_s << 2 << u"UTF-8"_s;
        QTest::newRow("no line end") << u"no_line_end.tsv"_s << 1 << u"no line end"_s;
        QTest::newRow("too few rows") << u"too_few_rows.tsv"_s << 4 << u"after 3 rows"_s;
    }

    void rejectsMalformedFiles()
    {
        QFETCH(QString, fixture);
        QFETCH(int, line);
        QFETCH(QString, reason);
        const QString path = QStringLiteral(QI_CATALOG_FIXTURES) + u'/' + fixture;
        QVERIFY(QFile::exists(path));
        const Run run = generate(path);
        QVERIFY2(run.exitCode != 0, qPrintable(run.errors));
        QVERIFY2(run.errors.contains(u"%1:%2: error:"_s.arg(fixture).arg(line)), qPrintable(run.errors));
        QVERIFY2(run.errors.contains(reason), qPrintable(run.errors));
        QVERIFY(!run.wroteOutput);
    }

    // The row count, checked against the real file with one row more or less.
    void rejectsAWrongRowCount_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("line");
        const QByteArray catalog = catalogFile();
        const qsizetype lastRow = catalog.lastIndexOf('\n', catalog.size() - 2) + 1;
        QTest::newRow("226 rows") << catalog.left(lastRow) << 227;
        QTest::newRow("228 rows") << (catalog + catalog.mid(lastRow)) << 228;
        QTest::newRow("empty file") << QByteArray() << 1;
    }

    void rejectsAWrongRowCount()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, line);
        const Run run = generate(writeTemp(u"rows.tsv"_s, content));
        QVERIFY2(run.exitCode != 0, qPrintable(run.errors));
        QVERIFY2(run.errors.contains(u"rows.tsv:%1: error:"_s.arg(line)), qPrintable(run.errors));
        QVERIFY2(run.errors.contains(u"227"_s), qPrintable(run.errors));
        QVERIFY(!run.wroteOutput);
    }
};

QTEST_GUILESS_MAIN(TestCatalogGen)
#include "tst_cataloggen.moc"
