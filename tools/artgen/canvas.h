// A small canvas of palette indices for the 16-colour pictures. Shapes are
// drawn without antialiasing, so every pixel is exactly one palette entry;
// -1 marks a pixel that nothing has been drawn on yet.
#pragma once

#include <QImage>
#include <QList>
#include <QPointF>
#include <vector>

namespace ArtGen {

class Canvas {
public:
    static constexpr int Empty = -1;

    Canvas(int width, int height, int fill = Empty);

    int width() const { return m_width; }
    int height() const { return m_height; }
    int at(int x, int y) const;
    void set(int x, int y, int colour);

    void rect(int x, int y, int w, int h, int colour);
    void polygon(const QList<QPointF> &points, int colour);
    // Pixels whose centre lies inside the ellipse.
    void ellipse(double cx, double cy, double rx, double ry, int colour);
    void disc(double cx, double cy, double r, int colour) { ellipse(cx, cy, r, r, colour); }
    void line(int x0, int y0, int x1, int y1, int colour);
    // Rows of pixels written as text, one character a pixel: the character at
    // key[i] paints inks[i]; any other character leaves the pixel alone.
    void sprite(int x, int y, const QList<const char *> &rows, const char *key, const QList<int> &inks);

    // Colours `colour` every empty pixel beside (not diagonally) a drawn one.
    void outline(int colour);
    // Replaces `from` by `to` inside the given rectangle.
    void recolour(int x, int y, int w, int h, int from, int to);
    void drawOnto(Canvas &target, int dx = 0, int dy = 0) const;

    QImage toImage(const QList<QRgb> &palette) const;

private:
    int m_width, m_height;
    std::vector<int> m_pixels;
};

} // namespace ArtGen
