// artgen <outdir>: writes every picture of the program into <outdir> in the
// layout of assets/ (intro.bmp, frames/, icons/, quorvath.ico).
#include "art.h"
#include "bmpfile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <cstdio>

namespace {

bool write(const QDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return true;
}

// An 8-bit palette PNG whose hidden colour is fully transparent.
QByteArray png(QImage image)
{
    image.setColor(ArtGen::IconTransparent, qRgba(0, 0, 0, 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: artgen <outdir>\n");
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("frames")) || !dir.mkpath(QStringLiteral("icons"))) {
        std::fprintf(stderr, "artgen: cannot create %s\n", argv[1]);
        return 1;
    }

    bool ok = write(dir, QStringLiteral("intro.bmp"), ArtGen::bmp24(ArtGen::introPicture()));
    for (int n = 1; n <= 30; ++n) {
        ok = write(dir, QStringLiteral("frames/frame%1.bmp").arg(n, 2, 10, QLatin1Char('0')),
                   ArtGen::bmp4(ArtGen::animationFrame(n))) && ok;
    }

    const QImage icon = ArtGen::icon(32);
    ok = write(dir, QStringLiteral("quorvath.ico"), ArtGen::ico4(icon, ArtGen::IconTransparent)) && ok;
    // 16 and 48 are drawn at their own size; the larger ones blow up the
    // 32-pixel picture without blurring it.
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QImage image = size % 32 == 0 ? icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                                            : ArtGen::icon(size);
        ok = write(dir, QStringLiteral("icons/quorvath-%1.png").arg(size), png(image)) && ok;
    }
    return ok ? 0 : 1;
}
