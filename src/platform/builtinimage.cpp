#include "builtinimage.h"

#include "picturelog.h"

#include <QBuffer>
#include <QImageReader>

namespace Quorvath {

namespace {

QImage read(QImageReader &reader)
{
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// A picture that cannot be read shows as a blank.
void warnBlank(const QString &what, const QImageReader &reader)
{
    qCWarning(lcPicture, "%s could not be read (%s); it shows blank", qPrintable(what),
              qPrintable(reader.errorString()));
}

} // namespace

QImage readBuiltInImage(const QString &path, const char *format)
{
    QImageReader reader(path, format);
    QImage picture = read(reader);
    if (picture.isNull())
        warnBlank(path, reader);
    return picture;
}

QImage readBuiltInImage(const QByteArray &bytes, const char *format)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    QImage picture = read(reader);
    if (picture.isNull())
        warnBlank(QStringLiteral("a %1 picture of %2 bytes").arg(QLatin1String(format)).arg(bytes.size()), reader);
    return picture;
}

} // namespace Quorvath
