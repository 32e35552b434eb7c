// Pictures in the formats Qt reads by itself (BMP, PNG), read without the
// image plugins. Given a format, a reader otherwise loads every installed
// plugin to ask whether it can read that format too, and the plugins stay
// loaded for the life of the program, memory for a program that never reads
// anything else (docs/performance.md).
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QString>

namespace Quorvath {

inline QImage readBuiltInImage(QImageReader &reader)
{
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// The picture in the file (or resource) at `path`; a null image if it is
// missing or not a picture in `format`.
inline QImage readBuiltInImage(const QString &path, const char *format)
{
    QImageReader reader(path, format);
    return readBuiltInImage(reader);
}

// The picture given as the bytes of a file in `format`, read in place.
inline QImage readBuiltInImage(const QByteArray &bytes, const char *format)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    return readBuiltInImage(reader);
}

} // namespace Quorvath
