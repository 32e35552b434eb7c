// Writers for the three picture formats the program ships: 24-bit and 4-bit
// Windows bitmaps and a one-image 16-colour Windows icon. Qt writes neither of
// the 16-colour formats, and writing all three by hand keeps every header field
// fixed, so the files come out byte for byte the same on every run.
#pragma once

#include <QByteArray>
#include <QImage>

namespace ArtGen {

// An uncompressed bitmap, 24 bits per pixel, bottom-up.
QByteArray bmp24(const QImage &image);

// An uncompressed bitmap, 4 bits per pixel; `image` is Format_Indexed8 with a
// colour table of exactly 16 entries.
QByteArray bmp4(const QImage &image);

// A Windows icon with one 4-bit image and its AND mask; `image` is
// Format_Indexed8 with 16 colours, `transparent` the index that the mask hides.
QByteArray ico4(const QImage &image, int transparent);

} // namespace ArtGen
