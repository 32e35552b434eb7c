// The application icon: the game's initial in gold on a blue shield, drawn at
// the size asked for so that small sizes stay sharp.
#include "art.h"
#include "canvas.h"
#include "glyphs.h"
#include "palette.h"

#include <QPainter>
#include <cmath>

namespace ArtGen {
namespace {

QList<QPointF> shield(double k, double inset)
{
    const QList<QPointF> outline = {{2.5, 2.5}, {29.5, 2.5}, {29.5, 15}, {28.6, 19.5}, {26.2, 24},
                                    {21.5, 28.2}, {16, 31}, {10.5, 28.2}, {5.8, 24}, {3.4, 19.5}, {2.5, 15}};
    QList<QPointF> points;
    for (QPointF p : outline) {
        // Pull every point towards the centre line and the middle height.
        const QPointF centre(16, 15);
        const QPointF d = p - centre;
        const double len = std::sqrt(d.x() * d.x() + d.y() * d.y());
        points << (p - d / len * inset) * k;
    }
    return points;
}

} // namespace

QImage icon(int size)
{
    const double k = size / 32.0;
    Canvas c(size, size, IconTransparent);
    c.polygon(shield(k, 0), Black);
    c.polygon(shield(k, 1.0), FlameOrange);
    c.polygon(shield(k, 2.2), Wood);
    c.polygon(shield(k, 3.0), Robe);
    // The left half in shade.
    QList<QPointF> left;
    for (QPointF p : shield(k, 3.0))
        left << QPointF(std::min(p.x(), 16 * k), p.y());
    c.polygon(left, RobeDark);

    if (size < 24) {
        // Too few pixels for outlines: the small icon is drawn by hand.
        Canvas small(size, size, IconTransparent);
        small.sprite(0, 0, {
            "................",
            ".kkkkkkkkkkkkkk.",
            ".kooooooooooook.",
            ".kodddyyyyrrrok.",
            ".koddyydryyrrok.",
            ".koddyydryyrrok.",
            ".koddyydryyrrok.",
            ".koddyydyyyrrok.",
            ".kodddyyyyrrrok.",
            "..koddddryyrok..",
            "..koddddrrrrok..",
            "...kodddrrrok...",
            "....koddrrok....",
            ".....kodrok.....",
            "......kook......",
            ".......kk.......",
        }, "kodry", {Black, FlameOrange, RobeDark, Robe, FlameYellow});
        return small.toImage(palette16());
    }

    // The initial, from the same letter outlines as the intro picture.
    QImage mask(size, size, QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, false);
        const double unit = 1.55 * k;
        paintWord(p, QStringLiteral("Q"), QPointF(16 * k - 5.0 * unit, 20.5 * k), unit);
    }
    Canvas letter(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (qRed(mask.pixel(x, y)))
                letter.set(x, y, y < 14 * k ? FlameYellow : FlameOrange);
    letter.outline(Black);
    letter.drawOnto(c);
    return c.toImage(palette16());
}

} // namespace ArtGen
