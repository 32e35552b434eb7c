// Capital letters drawn from our own outline data, so that the lettering never
// depends on the fonts of the machine. Only the letters of the game's name exist.
#pragma once

#include <QPainter>
#include <QString>

namespace ArtGen {

// Width of `word` in units of a tenth of the cap height.
double wordWidth(const QString &word);
// Paints `word` in white with its baseline's left end at `origin`, one unit
// being `unit` pixels (the cap height is ten units). Counters (the holes of
// O, Q and R) are painted in black, so draw on a black mask.
void paintWord(QPainter &p, const QString &word, QPointF origin, double unit);

} // namespace ArtGen
