// Pictures in the formats Qt reads by itself (BMP, PNG), read without the
// image plugins. Given a format, a reader otherwise loads every installed
// plugin to ask whether it can read that format too, and the plugins stay
// loaded for the life of the program, memory for a program that never reads
// anything else (docs/performance.md).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace Quorvath {

// The picture in the file (or resource) at `path`; a null image, with a
// warning, if it is missing or not a picture in `format`.
QImage readBuiltInImage(const QString &path, const char *format);

// The picture given as the bytes of a file in `format`, read in place; a
// null image, with a warning, if they are no such picture.
QImage readBuiltInImage(const QByteArray &bytes, const char *format);

} // namespace Quorvath
