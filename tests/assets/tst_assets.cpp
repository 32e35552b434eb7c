#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

const QDir Assets(QStringLiteral(QI_ASSETS_DIR));

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 u32(const QByteArray &b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }
quint16 u16(const QByteArray &b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }

QString frameName(int n) { return QStringLiteral("frames/frame%1.bmp").arg(n, 2, 10, QLatin1Char('0')); }

// Every file below assets/ except the build list, as paths relative to `dir`.
QStringList pictureFiles(const QDir &dir)
{
    QStringList files;
    QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = dir.relativeFilePath(it.next());
        if (path != u"CMakeLists.txt")
            files << path;
    }
    files.sort();
    return files;
}

} // namespace

class TestAssets : public QObject {
    Q_OBJECT

private slots:
    void bitmapHeaders_data();
    void bitmapHeaders();
    void framesShareOnePaletteAndDiffer();
    void iconFile();
    void resources_data();
    void resources();
    void pngIconsAreUnblurred_data();
    void pngIconsAreUnblurred();
    void artgenMakesTheCommittedFiles();
};

void TestAssets::bitmapHeaders_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("length");
    QTest::newRow("intro") << "intro.bmp" << 287 << 172 << 24 << 54 + 864 * 172;
    for (int n = 1; n <= 30; ++n)
        QTest::newRow(qPrintable(frameName(n))) << frameName(n) << 88 << 88 << 4 << 3990;
}

void TestAssets::bitmapHeaders()
{
    QFETCH(QString, file);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, bits);
    QFETCH(int, length);

    const QByteArray b = readAll(Assets.filePath(file));
    QCOMPARE(b.size(), length);
    QVERIFY(b.startsWith("BM"));
    QCOMPARE(u32(b, 2), quint32(length));
    const int colours = bits <= 8 ? 1 << bits : 0;
    QCOMPARE(u32(b, 10), quint32(14 + 40 + 4 * colours));   // pixels right after the palette
    QCOMPARE(u32(b, 14), 40u);                                // BITMAPINFOHEADER
    QCOMPARE(qint32(u32(b, 18)), width);
    QCOMPARE(qint32(u32(b, 22)), height);                     // positive: bottom-up
    QCOMPARE(u16(b, 26), 1);
    QCOMPARE(u16(b, 28), bits);
    QCOMPARE(u32(b, 30), 0u);                                 // BI_RGB, uncompressed
    const quint32 used = u32(b, 46);
    QCOMPARE(used ? int(used) : colours, colours);
}

void TestAssets::framesShareOnePaletteAndDiffer()
{
    const QByteArray first = readAll(Assets.filePath(frameName(1)));
    QSet<QByteArray> pixels;
    for (int n = 1; n <= 30; ++n) {
        const QByteArray b = readAll(Assets.filePath(frameName(n)));
        QVERIFY2(b.mid(54, 64) == first.mid(54, 64), qPrintable(frameName(n)));
        pixels.insert(b.mid(118));
    }
    QCOMPARE(pixels.size(), 30);   // no two frames alike
}

void TestAssets::iconFile()
{
    const QByteArray b = readAll(Assets.filePath(QStringLiteral("quorvath.ico")));
    QCOMPARE(b.size(), 6 + 16 + 40 + 64 + 32 * 16 + 32 * 4);
    QCOMPARE(u16(b, 0), 0);
    QCOMPARE(u16(b, 2), 1);   // icon, not cursor
    QCOMPARE(u16(b, 4), 1);   // one image
    QCOMPARE(quint8(b[6]), 32);
    QCOMPARE(quint8(b[7]), 32);
    QCOMPARE(quint8(b[8]), 16);
    QCOMPARE(u16(b, 12), 4);
    QCOMPARE(u32(b, 14), quint32(b.size() - 22));
    QCOMPARE(u32(b, 18), 22u);
    QCOMPARE(u32(b, 22 + 8), 64u);   // colour bitmap and AND mask
    QCOMPARE(u16(b, 22 + 14), 4);

    // Qt reads it as the same picture as the 32-pixel PNG, transparency included.
    const QImage ico = QImage::fromData(b, "ICO").convertToFormat(QImage::Format_ARGB32);
    const QImage png = QImage(Assets.filePath(QStringLiteral("icons/quorvath-32.png"))).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(ico.size(), QSize(32, 32));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            QCOMPARE(qAlpha(ico.pixel(x, y)) ? ico.pixel(x, y) : 0u, qAlpha(png.pixel(x, y)) ? png.pixel(x, y) : 0u);
}

void TestAssets::resources_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::newRow("intro") << "intro.bmp" << QSize(287, 172);
    for (int n = 1; n <= 30; ++n)
        QTest::newRow(qPrintable(frameName(n))) << frameName(n) << QSize(88, 88);
    for (int s : {16, 32, 48, 64, 128, 256})
        QTest::newRow(qPrintable(QString::number(s))) << QStringLiteral("icons/quorvath-%1.png").arg(s) << QSize(s, s);
}

void TestAssets::resources()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    const QString path = QStringLiteral(":/") + file;
    QVERIFY2(QFile::exists(path), qPrintable(path));
    QCOMPARE(readAll(path), readAll(Assets.filePath(file)));   // the program holds what is committed
    const QImage image(path);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), size);
}

void TestAssets::pngIconsAreUnblurred_data()
{
    QTest::addColumn<int>("size");
    for (int s : {16, 32, 48, 64, 128, 256})
        QTest::newRow(qPrintable(QString::number(s))) << s;
}

void TestAssets::pngIconsAreUnblurred()
{
    QFETCH(int, size);
    const QImage image = QImage(Assets.filePath(QStringLiteral("icons/quorvath-%1.png").arg(size)))
                             .convertToFormat(QImage::Format_ARGB32);
    const QImage base = QImage(Assets.filePath(QStringLiteral("icons/quorvath-32.png")))
                            .convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(size, size));
    QSet<QRgb> colours;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb c = image.pixel(x, y);
            QVERIFY(qAlpha(c) == 0 || qAlpha(c) == 255);
            if (qAlpha(c))
                colours.insert(c);
            if (size % 32 == 0)   // the large ones are the 32-pixel picture blown up
                QCOMPARE(c, base.pixel(x * 32 / size, y * 32 / size));
        }
    }
    QVERIFY2(colours.size() <= 16, qPrintable(QString::number(colours.size())));
}

void TestAssets::artgenMakesTheCommittedFiles()
{
    QTemporaryDir out;
    QVERIFY(out.isValid());
    QProcess artgen;
    artgen.start(QStringLiteral(QI_ARTGEN), {out.path()});
    QVERIFY(artgen.waitForFinished(30000));
    QCOMPARE(artgen.exitStatus(), QProcess::NormalExit);
    QCOMPARE(artgen.exitCode(), 0);

    const QDir made(out.path());
    const QStringList files = pictureFiles(made);
    QCOMPARE(files, pictureFiles(Assets));
    QCOMPARE(files.size(), 1 + 30 + 1 + 6);
    for (const QString &file : files)
        QVERIFY2(readAll(made.filePath(file)) == readAll(Assets.filePath(file)), qPrintable(file));
}

QTEST_GUILESS_MAIN(TestAssets)
#include "tst_assets.moc"
