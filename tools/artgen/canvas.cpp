#include "canvas.h"

#include <QPainter>
#include <QPolygonF>
#include <cstdlib>
#include <cstring>

namespace ArtGen {

Canvas::Canvas(int width, int height, int fill)
    : m_width(width), m_height(height), m_pixels(size_t(width) * size_t(height), fill)
{
}

int Canvas::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return Empty;
    return m_pixels[size_t(y) * m_width + x];
}

void Canvas::set(int x, int y, int colour)
{
    if (x >= 0 && y >= 0 && x < m_width && y < m_height)
        m_pixels[size_t(y) * m_width + x] = colour;
}

void Canvas::rect(int x, int y, int w, int h, int colour)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            set(i, j, colour);
}

void Canvas::polygon(const QList<QPointF> &points, int colour)
{
    // Qt rasterises the polygon into a black and white mask; aliased filling
    // of a solid brush gives the same pixels on every run.
    QImage mask(m_width, m_height, QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF(points));
    }
    for (int y = 0; y < m_height; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(mask.constScanLine(y));
        for (int x = 0; x < m_width; ++x)
            if (qRed(line[x]))
                set(x, y, colour);
    }
}

void Canvas::ellipse(double cx, double cy, double rx, double ry, int colour)
{
    for (int y = int(cy - ry) - 1; y <= int(cy + ry) + 1; ++y) {
        for (int x = int(cx - rx) - 1; x <= int(cx + rx) + 1; ++x) {
            const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0)
                set(x, y, colour);
        }
    }
}

void Canvas::line(int x0, int y0, int x1, int y1, int colour)
{
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        set(x0, y0, colour);
        if (x0 == x1 && y0 == y1)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x0 += sx; }
        if (e2 <= dx) { err += dx; y0 += sy; }
    }
}

void Canvas::sprite(int x, int y, const QList<const char *> &rows, const char *key, const QList<int> &inks)
{
    for (int j = 0; j < rows.size(); ++j) {
        for (int i = 0; rows[j][i]; ++i) {
            const char *hit = std::strchr(key, rows[j][i]);
            if (hit && hit - key < inks.size())
                set(x + i, y + j, inks[hit - key]);
        }
    }
}

void Canvas::outline(int colour)
{
    const Canvas before = *this;
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            if (before.at(x, y) != Empty)
                continue;
            if (before.at(x - 1, y) != Empty || before.at(x + 1, y) != Empty
                || before.at(x, y - 1) != Empty || before.at(x, y + 1) != Empty)
                set(x, y, colour);
        }
    }
}

void Canvas::recolour(int x, int y, int w, int h, int from, int to)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (at(i, j) == from)
                set(i, j, to);
}

void Canvas::drawOnto(Canvas &target, int dx, int dy) const
{
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            if (at(x, y) != Empty)
                target.set(x + dx, y + dy, at(x, y));
}

QImage Canvas::toImage(const QList<QRgb> &palette) const
{
    QImage image(m_width, m_height, QImage::Format_Indexed8);
    image.setColorTable(palette);
    for (int y = 0; y < m_height; ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < m_width; ++x)
            line[x] = uchar(std::max(0, at(x, y)));
    }
    return image;
}

} // namespace ArtGen
