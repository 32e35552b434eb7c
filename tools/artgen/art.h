// The program's pictures, drawn from code: the intro picture, the thirty
// frames of the About window's animation and the application icon.
#pragma once

#include <QImage>
#include <QList>

namespace ArtGen {

// The one 16-colour palette shared by the frames and the icon.
QList<QRgb> palette16();

QImage introPicture();                // 287 x 172, RGB32
QImage animationFrame(int number);    // 1 to 30; 88 x 88, Indexed8, palette16()
QImage icon(int size);                // size x size, Indexed8, palette16()
constexpr int IconTransparent = 1;    // the icon's index that its mask hides

} // namespace ArtGen
