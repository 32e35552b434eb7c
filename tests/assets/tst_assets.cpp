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

// A little-endian field of a file's header; 0 where the file is too short.
template <class T>
T field(const QByteArray &b, int at)
{
    const QByteArray bytes = b.mid(at, sizeof(T));
    return bytes.size() == qsizetype(sizeof(T)) ? qFromLittleEndian<T>(bytes.constData()) : T(0);
}
quint32 u32(const QByteArray &b, int at) { return field<quint32>(b, at); }
quint16 u16(const QByteArray &b, int at) { return field<quint16>(b, at); }

QString frameName(int n) { return QStringLiteral("frames/frame%1.bmp").arg(n, 2, 10, QLatin1Char('0')); }

QImage argb(const QString &path) { return QImage(path).convertToFormat(QImage::Format_ARGB32); }

// Every file below `dir` except the build list, relative to it.
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
    void pictures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("bits");     // bitmaps only
        QTest::addColumn<int>("length");   // bitmaps only
        QTest::newRow("intro") << "intro.bmp" << 287 << 172 << 24 << 54 + 864 * 172;
        for (int n = 1; n <= 30; ++n)
            QTest::newRow(qPrintable(frameName(n))) << frameName(n) << 88 << 88 << 4 << 3990;
        for (int s : {16, 32, 48, 64, 128, 256})
            QTest::newRow(qPrintable(QString::number(s))) << QStringLiteral("icons/quorvath-%1.png").arg(s) << s << s << 0 << 0;
    }
    void pictures()
    {
        QFETCH(QString, file);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, bits);
        QFETCH(int, length);
        // The program holds what is committed, and it loads at its natural size.
        const QString resource = QStringLiteral(":/") + file;
        const QByteArray b = readAll(Assets.filePath(file));
        QVERIFY2(QFile::exists(resource), qPrintable(resource));
        QCOMPARE(readAll(resource), b);
        const QImage image = argb(resource);
        QCOMPARE(image.size(), QSize(width, height));

        if (bits) {   // an uncompressed, bottom-up Windows bitmap, pixels right after the palette
            const int colours = bits <= 8 ? 1 << bits : 0;
            QCOMPARE(b.size(), length);
            QVERIFY(b.startsWith("BM"));
            QCOMPARE(u32(b, 2), quint32(length));
            QCOMPARE(u32(b, 10), quint32(14 + 40 + 4 * colours));
            QCOMPARE(u32(b, 14), 40u);   // BITMAPINFOHEADER
            QCOMPARE(qint32(u32(b, 18)), width);
            QCOMPARE(qint32(u32(b, 22)), height);
            QCOMPARE(u16(b, 26), 1);
            QCOMPARE(u16(b, 28), bits);
            QCOMPARE(u32(b, 30), 0u);    // BI_RGB
            QCOMPARE(u32(b, 46) ? int(u32(b, 46)) : colours, colours);
            return;
        }
        // Icons are unblurred: at most 16 colours, no partial transparency, the
        // large ones the 32-pixel picture blown up.
        const QImage base = argb(Assets.filePath(QStringLiteral("icons/quorvath-32.png")));
        QSet<QRgb> colours;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const QRgb c = image.pixel(x, y);
                QVERIFY(qAlpha(c) == 0 || qAlpha(c) == 255);
                if (qAlpha(c))
                    colours.insert(c);
                if (width % 32 == 0)
                    QCOMPARE(c, base.pixel(x * 32 / width, y * 32 / width));
            }
        }
        QVERIFY2(colours.size() <= 16, qPrintable(QString::number(colours.size())));
    }

    void framesShareOnePaletteAndDiffer()
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

    void iconFile()
    {
        const QByteArray b = readAll(Assets.filePath(QStringLiteral("quorvath.ico")));
        QCOMPARE(b.size(), 6 + 16 + 40 + 64 + 32 * 16 + 32 * 4);
        QCOMPARE(b.left(9), QByteArray("\0\0\1\0\1\0\x20\x20\x10", 9));   // an icon of one image, 32 x 32, 16 colours
        QCOMPARE(u16(b, 12), 4);
        QCOMPARE(u32(b, 14), quint32(b.size() - 22));
        QCOMPARE(u32(b, 18), 22u);
        QCOMPARE(u32(b, 22 + 8), 64u);   // colour bitmap and AND mask
        QCOMPARE(u16(b, 22 + 14), 4);
        // Qt reads it as the same picture as the 32-pixel PNG, transparency included.
        const QImage ico = QImage::fromData(b, "ICO").convertToFormat(QImage::Format_ARGB32);
        const QImage png = argb(Assets.filePath(QStringLiteral("icons/quorvath-32.png")));
        QCOMPARE(ico.size(), QSize(32, 32));
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                QCOMPARE(qAlpha(ico.pixel(x, y)) ? ico.pixel(x, y) : 0u, qAlpha(png.pixel(x, y)) ? png.pixel(x, y) : 0u);
    }

    void artgenMakesTheCommittedFiles()
    {
        QTemporaryDir out;
        QProcess artgen;
        artgen.start(QStringLiteral(QI_ARTGEN), {out.path()});
        QVERIFY(artgen.waitForFinished(30000));
        QVERIFY(artgen.exitStatus() == QProcess::NormalExit && artgen.exitCode() == 0);
        const QDir made(out.path());
        const QStringList files = pictureFiles(made);
        QCOMPARE(files, pictureFiles(Assets));
        QCOMPARE(files.size(), 1 + 30 + 1 + 6);
        for (const QString &file : files)
            QVERIFY2(readAll(made.filePath(file)) == readAll(Assets.filePath(file)), qPrintable(file));
    }
};

QTEST_GUILESS_MAIN(TestAssets)
#include "tst_assets.moc"
