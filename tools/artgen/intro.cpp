// The intro picture: a torch-lit dungeon wall with an arched doorway and the
// game's name in gold on a carved slate above it. Drawn at four times the size
// with hard edges, then averaged down, which gives smooth edges from plain
// arithmetic alone.
#include "art.h"
#include "glyphs.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

namespace ArtGen {
namespace {

constexpr int Width = 287, Height = 172, Scale = 4;
constexpr int W = Width * Scale, H = Height * Scale;

struct Rgb {
    double r = 0, g = 0, b = 0;
    Rgb operator*(double k) const { return {r * k, g * k, b * k}; }
    Rgb operator*(Rgb o) const { return {r * o.r, g * o.g, b * o.b}; }
    Rgb operator+(Rgb o) const { return {r + o.r, g + o.g, b + o.b}; }
};
Rgb rgb(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }
Rgb mix(Rgb a, Rgb b, double t) { return a * (1 - t) + b * t; }
double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }
double smooth(double e0, double e1, double x)
{
    const double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

quint32 hash(int a, int b)
{
    quint32 h = quint32(a) * 73856093u ^ quint32(b) * 19349663u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h;
}

// Scene layout in picture pixels.
constexpr double DoorX = 143.5, SpringY = 114, DoorR = 27, ArchR = 35, FloorY = 149;
constexpr double PanelL = 12, PanelT = 12, PanelR = 275, PanelB = 72;
struct TorchPos { double x, y; };
constexpr TorchPos Torches[] = {{74, 96}, {213, 96}};   // flame bases

// The wall: courses of stone blocks with a bevel.
Rgb wallAt(double u, double v)
{
    constexpr double Course = 12, Block = 26, Mortar = 1.2;
    const int row = int(std::floor(v / Course));
    const double shift = row % 2 ? Block / 2 : 0;
    const int col = int(std::floor((u + shift) / Block));
    const double y = v - row * Course, x = u + shift - col * Block;
    if (y < Mortar || x < Mortar)
        return rgb(30, 26, 36);
    const quint32 h = hash(row, col);
    const double tone = 0.9 + (h % 17) / 80.0;
    Rgb stone = rgb(92, 84, 98) * tone;
    if (h % 7 == 0)
        stone = stone * rgb(255, 236, 220);   // a warmer block here and there
    if (y < Mortar + 1.3)
        stone = stone * 1.22;
    else if (y > Course - 1.4)
        stone = stone * 0.74;
    if (x > Block - 1.2)
        stone = stone * 0.82;
    return stone;
}

// The doorway: jambs and an arch of lighter dressed stone around darkness
// with a few steps going down.
bool doorwayAt(double u, double v, Rgb &out)
{
    const double dx = u - DoorX;
    const double dy = std::min(0.0, v - SpringY);
    const double r = std::sqrt(dx * dx + dy * dy);
    if (v >= FloorY || r >= ArchR)
        return false;
    if (r < DoorR) {
        // Steps: each lower one nearer and a little lighter.
        const double depth = clamp01((v - (SpringY - DoorR)) / (FloorY - SpringY + DoorR));
        Rgb dark = rgb(8, 6, 12) + rgb(26, 20, 22) * (depth * depth);
        if (v > 126) {
            const double s = std::fmod(v - 126, 6.0);
            if (s < 1.0)
                dark = dark * 1.9;
        }
        out = dark;
        return true;
    }
    // Voussoirs above the springing line, blocks of the jambs below it.
    Rgb stone = rgb(128, 116, 118);
    bool joint;
    if (v < SpringY) {
        // Joints every 20 degrees, found with cross products against fixed
        // directions rather than with trigonometry per pixel.
        static constexpr double Cos[] = {0.9396926207859084, 0.766044443118978, 0.5, 0.17364817766693041,
                                         -0.17364817766693041, -0.5, -0.766044443118978, -0.9396926207859084};
        static constexpr double Sin[] = {0.3420201433256687, 0.6427876096865393, 0.8660254037844386,
                                         0.984807753012208, 0.984807753012208, 0.8660254037844386,
                                         0.6427876096865393, 0.3420201433256687};
        int seg = 0;
        joint = false;
        for (int k = 0; k < 8; ++k) {
            const double cross = Cos[k] * -dy - Sin[k] * dx;   // > 0: past joint k
            if (cross > 0)
                ++seg;
            if (std::fabs(cross) < 0.6 && Cos[k] * dx + Sin[k] * -dy > 0)
                joint = true;
        }
        stone = stone * (0.92 + (hash(seg, 7) % 9) / 60.0);
    } else {
        const double s = std::fmod(v - SpringY, 11.0);
        joint = s < 1.0;
    }
    if (r > ArchR - 1.2)
        joint = true;
    if (r < DoorR + 1.3)
        stone = stone * 0.7;
    out = joint ? rgb(34, 28, 36) : stone;
    return true;
}

Rgb floorAt(double u, double v)
{
    // Flagstones seen from above and in front: joints run to a far point.
    const double depth = (v - FloorY) / (Height - FloorY);   // 0 far, 1 near
    const double px = DoorX + (u - DoorX) * 1.0 / (0.35 + depth);
    const double band = std::sqrt(depth) * std::sqrt(std::sqrt(depth)) * 3.0;   // depth^0.75
    const bool joint = std::fabs(px / 34 - std::round(px / 34)) * 34 < 0.9 / (0.35 + depth) * 1.2
                       || std::fabs(band - std::round(band)) < 0.09 || v < FloorY + 1.0;
    const Rgb base = rgb(70, 62, 70) * (0.85 + 0.2 * depth);
    return joint ? rgb(28, 24, 30) : base;
}

// Warm light of the torches, fading with distance.
Rgb lightAt(double u, double v)
{
    Rgb light = rgb(62, 64, 92);   // cold ambient
    for (const TorchPos &t : Torches) {
        const double dx = u - t.x, dy = v - (t.y - 12);
        const double reach = 62;
        const double k = 1.55 * reach * reach / (dx * dx + dy * dy + reach * reach);
        light = light + rgb(255, 178, 104) * k;
    }
    return light;
}

// A flame's colour and opacity at (u, v): hot white core to red rim.
double flameAt(double u, double v, const TorchPos &t, double lean, Rgb &colour)
{
    constexpr double Height = 27, HalfWidth = 6.2;
    const double s = (t.y - v) / Height;   // 0 at the base, 1 at the tip
    if (s < -0.25 || s > 1)
        return 0;
    const double bulb = 0.28;
    double half;
    if (s < 0) {
        half = HalfWidth * std::sqrt(std::max(0.0, 1 - (s / 0.25) * (s / 0.25))) * 0.85;
    } else if (s < bulb) {
        half = HalfWidth * (0.85 + 0.15 * s / bulb);
    } else {
        const double f = (1 - s) / (1 - bulb);
        half = HalfWidth * f * std::sqrt(std::sqrt(f));   // f^1.25: a slightly concave taper
    }
    const double mid = t.x + lean * s * s;
    const double d = std::fabs(u - mid) / std::max(half, 0.01);
    if (d >= 1)
        return 0;
    const double heat = (1 - d) * (1 - 0.55 * std::max(0.0, s));
    colour = heat < 0.3 ? mix(rgb(190, 36, 10), rgb(250, 120, 20), heat / 0.3)
           : heat < 0.6 ? mix(rgb(250, 120, 20), rgb(255, 214, 90), (heat - 0.3) / 0.3)
                        : mix(rgb(255, 214, 90), rgb(255, 252, 226), (heat - 0.6) / 0.4);
    return smooth(1.0, 0.8, d);
}

// Title lettering: a mask of the letters and one of their dark rim.
struct Lettering {
    std::vector<quint8> letters, rim;
    double top, bottom;
};

Lettering letter()
{
    const QString word = QStringLiteral("QUORVATH");
    const double unit = 2.95 * Scale;
    const double width = wordWidth(word) * unit;
    const QPointF origin((W - width) / 2, 57.0 * Scale);

    QImage mask(W, H, QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, false);
        paintWord(p, word, origin, unit);
    }
    Lettering l;
    l.letters.assign(size_t(W) * H, 0);
    for (int y = 0; y < H; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(mask.constScanLine(y));
        for (int x = 0; x < W; ++x)
            l.letters[size_t(y) * W + x] = qRed(line[x]) ? 1 : 0;
    }
    // The rim: the letters grown by a disc of 1.5 picture pixels.
    constexpr int R = 6;
    l.rim.assign(l.letters.size(), 0);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            if (!l.letters[size_t(y) * W + x])
                continue;
            for (int j = -R; j <= R; ++j)
                for (int i = -R; i <= R; ++i)
                    if (i * i + j * j <= R * R && x + i >= 0 && x + i < W && y + j >= 0 && y + j < H)
                        l.rim[size_t(y + j) * W + x + i] = 1;
        }
    l.top = origin.y() / Scale - 10 * unit / Scale;
    l.bottom = origin.y() / Scale;
    return l;
}

// Torch shafts and iron brackets, drawn as hard shapes onto the large canvas.
QImage fittings()
{
    QImage image(W, H, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.scale(Scale, Scale);
    for (const TorchPos &t : Torches) {
        p.setBrush(QColor(22, 18, 20));
        p.drawRect(QRectF(t.x - 5, t.y + 14, 10, 14));                       // wall plate
        p.setBrush(QColor(58, 52, 58));
        p.drawRect(QRectF(t.x - 4, t.y + 15, 8, 12));
        p.setBrush(QColor(110, 62, 30));
        p.drawPolygon(QPolygonF({{t.x - 3, t.y + 3}, {t.x + 3, t.y + 3}, {t.x + 1.6, t.y + 27}, {t.x - 1.6, t.y + 27}}));
        p.setBrush(QColor(150, 92, 48));
        p.drawPolygon(QPolygonF({{t.x + 0.8, t.y + 3}, {t.x + 2.2, t.y + 3}, {t.x + 1.0, t.y + 27}, {t.x + 0.2, t.y + 27}}));
        p.setBrush(QColor(22, 18, 20));
        p.drawRect(QRectF(t.x - 4.5, t.y + 12, 9, 3));                        // ring
        p.setBrush(QColor(48, 30, 20));
        p.drawRect(QRectF(t.x - 4, t.y - 1, 8, 5));                           // pitch head
        p.setBrush(QColor(80, 52, 30));
        p.drawRect(QRectF(t.x - 4, t.y + 1, 8, 1));
    }
    return image;
}

} // namespace

QImage introPicture()
{
    const Lettering title = letter();
    const QImage shapes = fittings();
    std::vector<Rgb> canvas(size_t(W) * H);

    for (int y = 0; y < H; ++y) {
        const auto *shapeLine = reinterpret_cast<const QRgb *>(shapes.constScanLine(y));
        for (int x = 0; x < W; ++x) {
            const double u = (x + 0.5) / Scale, v = (y + 0.5) / Scale;
            Rgb c;
            bool inDoor = false;
            if (v >= FloorY)
                c = floorAt(u, v);
            else if (doorwayAt(u, v, c))
                inDoor = std::hypot(u - DoorX, std::min(0.0, v - SpringY)) < DoorR;
            else
                c = wallAt(u, v);

            // The slate panel that carries the name: a bevelled frame around a dark recess.
            if (u >= PanelL && u < PanelR && v >= PanelT && v < PanelB) {
                const double edge = std::min({u - PanelL, PanelR - u, v - PanelT, PanelB - v});
                if (edge < 1.0)
                    c = rgb(26, 22, 30);
                else if (edge < 4.0)
                    c = (v - PanelT < 4.0 || u - PanelL < 4.0) ? rgb(150, 136, 134) : rgb(82, 72, 80);
                else if (edge < 5.0)
                    c = rgb(20, 16, 24);
                else
                    c = rgb(48, 42, 54);
            }
            if (qAlpha(shapeLine[x]))
                c = rgb(qRed(shapeLine[x]), qGreen(shapeLine[x]), qBlue(shapeLine[x]));

            Rgb light = lightAt(u, v);
            if (inDoor)
                light = rgb(160, 150, 160);
            c = c * light;

            // Drop shadow and rim of the lettering, then the gold itself.
            const size_t i = size_t(y) * W + x;
            const int sx = x - 2 * Scale, sy = y - 3 * Scale;
            if (sx >= 0 && sy >= 0 && title.rim[size_t(sy) * W + sx])
                c = c * 0.45;
            if (title.rim[i])
                c = rgb(44, 22, 8);
            if (title.letters[i]) {
                const double t = clamp01((v - title.top) / (title.bottom - title.top));
                Rgb gold = t < 0.45 ? mix(rgb(255, 246, 186), rgb(246, 196, 78), t / 0.45)
                                    : mix(rgb(226, 150, 44), rgb(150, 80, 20), (t - 0.45) / 0.55);
                gold = gold * (0.86 + 0.14 * clamp01(light.r - 0.5));
                c = gold;
            }

            // Flames shine by themselves; their glow lies over everything near.
            for (const TorchPos &t : Torches) {
                Rgb flame;
                const double lean = t.x < DoorX ? -1.5 : 1.5;
                const double a = flameAt(u, v, t, lean, flame);
                if (a > 0)
                    c = mix(c, flame, a);
                const double dx = u - t.x, dy = v - (t.y - 10);
                const double glow = 0.55 * 90 / (dx * dx + dy * dy * 0.6 + 90);
                c = c + rgb(255, 150, 60) * glow;
            }

            // A soft darkening towards the corners.
            const double cx = (u - Width / 2.0) / (Width / 2.0), cy = (v - Height / 2.0) / (Height / 2.0);
            c = c * (1.0 - 0.28 * (cx * cx * 0.6 + cy * cy * 0.8));
            canvas[i] = c;
        }
    }

    // Average each 4 x 4 block into one pixel.
    QImage picture(Width, Height, QImage::Format_RGB32);
    for (int y = 0; y < Height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < Width; ++x) {
            Rgb sum;
            for (int j = 0; j < Scale; ++j)
                for (int i = 0; i < Scale; ++i)
                    sum = sum + canvas[size_t(y * Scale + j) * W + x * Scale + i];
            const double n = Scale * Scale;
            auto channel = [n](double v) { return int(std::lround(clamp01(v / n) * 255)); };
            line[x] = qRgb(channel(sum.r), channel(sum.g), channel(sum.b));
        }
    }
    return picture;
}

} // namespace ArtGen
