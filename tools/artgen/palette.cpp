#include "art.h"

namespace ArtGen {

QList<QRgb> palette16()
{
    return {
        qRgb(0, 0, 0),        qRgb(26, 22, 36),     qRgb(54, 46, 64),     qRgb(92, 74, 80),
        qRgb(142, 106, 86),   qRgb(36, 34, 96),     qRgb(62, 70, 164),    qRgb(112, 126, 220),
        qRgb(238, 186, 142),  qRgb(172, 106, 72),   qRgb(98, 56, 30),     qRgb(206, 48, 24),
        qRgb(250, 142, 32),   qRgb(255, 226, 98),   qRgb(196, 196, 206),  qRgb(255, 252, 236),
    };
}

} // namespace ArtGen
