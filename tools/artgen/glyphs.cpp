#include "glyphs.h"

#include <QPainterPath>
#include <functional>

namespace ArtGen {
namespace {

// Stroke weights in tenths of the cap height: thick stems, thin hairlines,
// slab serifs.
constexpr double Thick = 1.8, Thin = 0.85, Serif = 0.6, Tracking = 0.7;

class Pen {
public:
    Pen(QPainter &p, QPointF origin, double unit) : m_p(p), m_origin(origin), m_unit(unit) {}

    QPointF at(double x, double y) const { return m_origin + QPointF(x * m_unit, (y - 10) * m_unit); }

    void box(double x0, double y0, double x1, double y1)
    {
        m_p.setBrush(Qt::white);
        m_p.drawPolygon(QPolygonF({at(x0, y0), at(x1, y0), at(x1, y1), at(x0, y1)}));
    }
    // A slanted stroke with level ends: [a0, a1] wide at the top, [b0, b1] at the foot.
    void slant(double a0, double a1, double b0, double b1, double y0 = 0, double y1 = 10)
    {
        m_p.setBrush(Qt::white);
        m_p.drawPolygon(QPolygonF({at(a0, y0), at(a1, y0), at(b1, y1), at(b0, y1)}));
    }
    void shape(const QList<QPointF> &points)
    {
        QPolygonF polygon;
        for (QPointF q : points)
            polygon << at(q.x(), q.y());
        m_p.setBrush(Qt::white);
        m_p.drawPolygon(polygon);
    }
    // A bowl: the outer ellipse minus the inner one, cut to a clip box.
    void bowl(QRectF outer, QRectF inner, QRectF clip = QRectF(-5, -5, 30, 30))
    {
        m_p.save();
        m_p.setClipRect(QRectF(at(clip.left(), clip.top()), at(clip.right(), clip.bottom())));
        m_p.setBrush(Qt::white);
        m_p.drawEllipse(QRectF(at(outer.left(), outer.top()), at(outer.right(), outer.bottom())));
        m_p.setBrush(Qt::black);
        m_p.drawEllipse(QRectF(at(inner.left(), inner.top()), at(inner.right(), inner.bottom())));
        m_p.restore();
    }
    void serifs(double x0, double x1, bool top, bool foot)
    {
        if (top)
            box(x0, 0, x1, Serif);
        if (foot)
            box(x0, 10 - Serif, x1, 10);
    }

private:
    QPainter &m_p;
    QPointF m_origin;
    double m_unit;
};

struct Glyph {
    QChar letter;
    double advance;
    std::function<void(Pen &)> draw;
};

QRectF around(double cx, double cy, double rx, double ry) { return {cx - rx, cy - ry, 2 * rx, 2 * ry}; }

void round(Pen &pen)
{
    pen.bowl(around(5.0, 5.0, 5.0, 5.15), around(5.0, 5.0, 5.0 - Thick - 0.1, 4.3));
}

const Glyph Glyphs[] = {
    {u'Q', 10.0, [](Pen &pen) {
         round(pen);
         pen.shape({{4.6, 8.7}, {6.4, 8.9}, {8.2, 10.4}, {10.6, 10.9}, {10.5, 11.7}, {7.6, 11.5}});
     }},
    {u'U', 9.2, [](Pen &pen) {
         pen.bowl(around(4.55, 6.2, 3.75, 3.8), around(5.0, 6.2, 2.4, 3.0), QRectF(0, 6.2, 10, 5));
         pen.box(0.8, 0, 0.8 + Thick, 6.25);
         pen.box(8.3 - Thin, 0, 8.3, 6.25);
         pen.serifs(0.2, 0.8 + Thick + 0.6, true, false);
         pen.serifs(8.3 - Thin - 0.6, 8.9, true, false);
     }},
    {u'O', 10.0, [](Pen &pen) { round(pen); }},
    {u'R', 9.6, [](Pen &pen) {
         pen.bowl(around(4.6, 2.75, 3.6, 2.75), around(4.3, 2.75, 2.0, 1.85), QRectF(2.6, 0, 8, 5.5));
         pen.slant(4.0, 5.9, 7.6, 9.5, 4.8, 10);
         pen.box(0.8, 0, 0.8 + Thick, 10);
         pen.serifs(0.2, 2.6, true, false);
         pen.serifs(0.2, 3.2, false, true);
         pen.box(7.2, 10 - Serif, 10.0, 10);
     }},
    {u'V', 9.6, [](Pen &pen) {
         pen.slant(1.0, 1.0 + Thick + 0.2, 4.2, 6.0);
         pen.slant(8.3 - Thin, 8.3, 5.2, 6.0);
         pen.serifs(0.3, 3.6, true, false);
         pen.serifs(7.0, 9.3, true, false);
     }},
    {u'A', 9.6, [](Pen &pen) {
         pen.slant(3.9, 4.8, 0.7, 0.7 + Thin);
         pen.slant(3.9, 5.9, 7.4, 9.4);
         pen.box(2.0, 6.4, 8.0, 7.2);
         pen.serifs(0.0, 2.4, false, true);
         pen.serifs(6.6, 10.0, false, true);
     }},
    {u'T', 9.2, [](Pen &pen) {
         pen.box(0.2, 0, 9.0, 0.95);
         pen.box(0.2, 0, 0.8, 1.9);
         pen.box(8.4, 0, 9.0, 1.9);
         pen.box(3.7, 0, 3.7 + Thick, 10);
         pen.serifs(2.8, 6.4, false, true);
     }},
    {u'H', 10.4, [](Pen &pen) {
         pen.box(0.8, 0, 0.8 + Thick, 10);
         pen.box(7.8, 0, 7.8 + Thick, 10);
         pen.box(2.6, 4.6, 7.8, 5.4);
         pen.serifs(0.2, 3.2, true, true);
         pen.serifs(7.2, 10.2, true, true);
     }},
};

const Glyph *glyph(QChar c)
{
    for (const Glyph &g : Glyphs)
        if (g.letter == c)
            return &g;
    return nullptr;
}

// Pairs whose shapes leave a hole between them.
double kerning(QChar a, QChar b)
{
    const QString pair = QString(a) + b;
    if (pair == u"VA")
        return -2.4;
    if (pair == u"AT")
        return -1.1;
    if (pair == u"RV")
        return -0.8;
    return 0;
}

template <class Visit> double layout(const QString &word, Visit visit)
{
    double x = 0;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const Glyph *g = glyph(word[i]);
        if (!g)
            continue;
        if (i > 0)
            x += Tracking + kerning(word[i - 1], word[i]);
        visit(*g, x);
        x += g->advance;
    }
    return x;
}

} // namespace

double wordWidth(const QString &word)
{
    return layout(word, [](const Glyph &, double) {});
}

void paintWord(QPainter &p, const QString &word, QPointF origin, double unit)
{
    p.save();
    p.setPen(Qt::NoPen);
    layout(word, [&](const Glyph &g, double x) {
        Pen pen(p, origin + QPointF(x * unit, 0), unit);
        g.draw(pen);
    });
    p.restore();
}

} // namespace ArtGen
