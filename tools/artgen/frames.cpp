// The About window's animation: a hooded mage beside a wall torch. Frame 1 is
// his resting pose; the other frames are the states of his small tricks
// (warming his hand, conjuring a light, borrowing the torch's fire, dozing),
// in the order the window's step table plays them.
#include "art.h"
#include "canvas.h"
#include "palette.h"

#include <array>
#include <cmath>

namespace ArtGen {
namespace {

constexpr int Size = 88;
constexpr int FloorY = 76;

enum class Arms { Rest, ReachHalf, Reach, Palm, Mid, Low, Up, Yawn, Toss };
enum class Eyes { Open, Half, Closed, Torch, Up, Glow, Wide };
enum class Torch { Calm, Left, Right, Tall, Low };

struct Pose {
    Arms arms;
    Eyes eyes;
    Torch torch;
    int nod = 0;        // the head sinks by this many pixels
    int orb = 0;        // 1 to 5: the conjured light grows
    int palmFire = 0;   // 1 to 3: the borrowed flame grows
    int fireball = 0;   // 1 to 3: the tossed flame rises
    int sparks = 0;     // 1 high, 2 low: what is left of the light
    int smoke = 0;      // 1 small, 2 large: a spell that fizzled
    int snore = 0;      // 1 or 2 letters z
    bool smile = false;
};

// Index = frame number - 1.
const std::array<Pose, 30> Poses = {{
    {Arms::Rest, Eyes::Open, Torch::Calm},                          // 1 at rest
    {Arms::Rest, Eyes::Half, Torch::Left},                          // 2 drowsy blink
    {Arms::ReachHalf, Eyes::Torch, Torch::Calm},                    // 3 turns to the torch
    {Arms::Reach, Eyes::Torch, Torch::Calm},                        // 4 warms his hand
    {Arms::Reach, Eyes::Torch, Torch::Left},                        // 5   the flame flickers
    {Arms::Reach, Eyes::Torch, Torch::Right},                       // 6
    {Arms::Mid, Eyes::Open, Torch::Calm},                           // 7 lifts his hands
    {Arms::Up, Eyes::Closed, Torch::Calm},                          // 8 hands up
    {Arms::Up, Eyes::Closed, Torch::Left, 0, 1},                    // 9 a spark
    {Arms::Up, Eyes::Glow, Torch::Left, 0, 3},                      // 10 the light grows
    {Arms::Up, Eyes::Glow, Torch::Tall, 0, 4},                      // 11
    {Arms::Up, Eyes::Glow, Torch::Tall, 0, 5},                      // 12 full light
    {Arms::Rest, Eyes::Closed, Torch::Calm},                        // 13 eyes shut
    {Arms::Rest, Eyes::Closed, Torch::Left, 1},                     // 14 nods
    {Arms::Up, Eyes::Closed, Torch::Right, 0, 2},                   // 15 a small light
    {Arms::Mid, Eyes::Open, Torch::Right, 0, 0, 0, 0, 1},           // 16 the light breaks up
    {Arms::Low, Eyes::Open, Torch::Calm, 0, 0, 0, 0, 2},            // 17 sparks fall
    {Arms::Palm, Eyes::Wide, Torch::Low, 0, 0, 3},                  // 18 the flame flares
    {Arms::Palm, Eyes::Torch, Torch::Low, 0, 0, 1},                 // 19 a flame in his palm
    {Arms::Palm, Eyes::Torch, Torch::Low, 0, 0, 2},                 // 20 it grows
    {Arms::Up, Eyes::Open, Torch::Calm, 0, 0, 0, 0, 0, 2},          // 21 puff of smoke
    {Arms::Rest, Eyes::Closed, Torch::Right, 0, 0, 0, 0, 0, 0, 0, true}, // 22 content
    {Arms::Rest, Eyes::Closed, Torch::Left, 0, 0, 0, 0, 0, 0, 0, true},  // 23
    {Arms::Mid, Eyes::Half, Torch::Right, 0, 0, 0, 0, 0, 1},        // 24 a spell fizzles
    {Arms::Yawn, Eyes::Closed, Torch::Calm},                        // 25 stretches and yawns
    {Arms::Rest, Eyes::Closed, Torch::Left, 2, 0, 0, 0, 0, 0, 1},   // 26 dozes off
    {Arms::Rest, Eyes::Closed, Torch::Right, 2, 0, 0, 0, 0, 0, 2},  // 27 snores
    {Arms::Toss, Eyes::Up, Torch::Low, 0, 0, 0, 1},                 // 28 tosses the flame
    {Arms::Toss, Eyes::Up, Torch::Low, 0, 0, 0, 2},                 // 29
    {Arms::Toss, Eyes::Up, Torch::Low, 0, 0, 0, 3},                 // 30 at the top
}};

struct Light {
    double x, y, strength;
    bool magic = false;   // the conjured light, cold instead of warm
};

constexpr QPointF TorchFlame(74.5, 24.0);
constexpr QPointF OrbCentre(36.0, 10.0);
constexpr QPointF PalmFlame(57.0, 43.0);
const QPointF FireballAt[] = {{55.0, 19.0}, {57.0, 11.0}, {58.0, 5.0}};

std::vector<Light> lightsFor(const Pose &pose)
{
    const double torch = pose.torch == Torch::Low ? 0.55 : pose.torch == Torch::Tall ? 1.25 : 1.0;
    std::vector<Light> lights{{TorchFlame.x(), TorchFlame.y(), torch}};
    if (pose.orb)
        lights.push_back({OrbCentre.x(), OrbCentre.y(), 0.22 * pose.orb, true});
    if (pose.palmFire)
        lights.push_back({PalmFlame.x(), PalmFlame.y(), 0.3 + 0.25 * pose.palmFire});
    if (pose.fireball)
        lights.push_back({FireballAt[pose.fireball - 1].x(), FireballAt[pose.fireball - 1].y(), 0.6});
    return lights;
}

double brightness(const std::vector<Light> &lights, double x, double y, bool magicOnly = false)
{
    constexpr double Reach = 22.0;   // pixels at which a light's strength has halved
    double sum = 0;
    for (const Light &l : lights) {
        if (magicOnly && !l.magic)
            continue;
        const double d2 = (x - l.x) * (x - l.x) + (y - l.y) * (y - l.y);
        sum += l.strength * Reach * Reach / (d2 + Reach * Reach);
    }
    return sum;
}

// Stone blocks in staggered courses; each block takes one shade from the light
// at its centre, which keeps the wall calm instead of dithered. Fire gives the
// lit blocks a warm top edge, the conjured light a cold one.
void drawWall(Canvas &c, const std::vector<Light> &lights)
{
    constexpr int Course = 8, Block = 14;
    c.rect(0, 0, Size, FloorY, Night);
    for (int row = 0; row * Course < FloorY; ++row) {
        const int y0 = row * Course;
        const int shift = row % 2 ? Block / 2 : 0;
        for (int x0 = -shift; x0 < Size; x0 += Block) {
            const double cx = x0 + Block / 2.0, cy = y0 + Course / 2.0;
            const double b = brightness(lights, cx, cy);
            const double magic = brightness(lights, cx, cy, true);
            const bool worn = ((row * 7 + (x0 + shift) / Block * 3) % 5) == 0;
            int ink = b > 0.62 ? WallBright : b > 0.36 ? WallLit : Wall;
            if (worn && ink != Wall)
                ink -= 1;
            c.rect(x0 + 1, y0 + 1, Block - 1, Course - 1, ink);
            if (ink == Wall)
                continue;
            const int edge = magic > 0.45 ? RobeLight : ink == WallBright ? FlameOrange : WallBright;
            c.rect(x0 + 1, y0 + 1, Block - 1, 1, edge);
        }
    }
    // The floor: flagstones in two courses.
    c.rect(0, FloorY, Size, Size - FloorY, Wall);
    c.rect(0, FloorY, Size, 1, Black);
    c.rect(0, FloorY + 6, Size, 1, Night);
    for (int x = 5; x < Size; x += 18) {
        c.rect(x, FloorY + 1, 1, 5, Night);
        c.rect(x + 9, FloorY + 7, 1, Size - FloorY - 7, Night);
    }
    for (int x = 0; x < Size; ++x) {
        if (brightness(lights, x, FloorY) > 0.5)
            c.set(x, FloorY + 1, WallLit);
    }
}

// A flame as nested teardrops, red outside to white-hot inside.
void drawFlame(Canvas &c, double cx, double base, double height, double width, double lean)
{
    struct Layer { double h, w; int ink; };
    const Layer layers[] = {{1.0, 1.0, FlameRed}, {0.74, 0.68, FlameOrange},
                            {0.48, 0.4, FlameYellow}, {0.22, 0.2, White}};
    for (const Layer &layer : layers) {
        const double h = height * layer.h, w = width * layer.w / 2;
        if (w < 0.6)
            continue;
        for (int y = int(base - h); y <= int(base); ++y) {
            const double t = (base - (y + 0.5)) / h;   // 0 at the bottom, 1 at the tip
            if (t < 0 || t > 1)
                continue;
            const double bulb = 0.3;
            const double half = t < bulb ? w * std::sqrt(1 - (bulb - t) * (bulb - t) / (bulb * bulb))
                                         : w * (1 - t) / (1 - bulb);
            const double mid = cx + lean * t * t;
            for (int x = int(mid - half - 1); x <= int(mid + half + 1); ++x)
                if (std::abs(x + 0.5 - mid) <= half)
                    c.set(x, y, layer.ink);
        }
    }
}

void drawTorch(Canvas &c, Torch torch)
{
    // Iron bracket and the wooden shaft with its pitch-soaked head.
    c.rect(71, 41, 7, 8, Black);
    c.rect(72, 42, 5, 6, Night);
    c.polygon({{72.5, 27}, {76.5, 27}, {75.5, 46}, {73.5, 46}}, Wood);
    c.rect(75, 28, 1, 17, SkinShade);
    c.rect(71, 38, 7, 2, Black);
    c.rect(72, 23, 5, 5, Black);
    c.rect(73, 24, 3, 3, Wood);

    const double base = TorchFlame.y() + 1;
    switch (torch) {
    case Torch::Calm: drawFlame(c, 74.5, base, 14, 8, 0); break;
    case Torch::Left:
        drawFlame(c, 74.5, base, 13, 8, -3);
        c.set(70, 9, FlameOrange);
        break;
    case Torch::Right:
        drawFlame(c, 74.5, base, 14, 8, 3);
        c.set(79, 8, FlameOrange);
        break;
    case Torch::Tall:
        drawFlame(c, 74.5, base, 19, 9, 1);
        c.set(73, 3, FlameYellow);
        c.set(77, 6, FlameOrange);
        break;
    case Torch::Low: drawFlame(c, 74.5, base, 6, 6, 0); break;
    }
}

void sleeve(Canvas &c, QPointF shoulder, QPointF wrist)
{
    const QPointF d = wrist - shoulder;
    const double len = std::sqrt(d.x() * d.x() + d.y() * d.y());
    const QPointF n(-d.y() / len, d.x() / len);
    c.polygon({shoulder + n * 3.5, wrist + n * 4.2, wrist - n * 4.2, shoulder - n * 3.5}, Robe);
    // The cuff: a darker band across the sleeve's open end.
    const QPointF back = wrist - d / len * 1.5;
    c.polygon({back + n * 4.2, wrist + n * 4.2, wrist - n * 4.2, back - n * 4.2}, RobeDark);
}

enum class Hand { Clasped, Hanging, PalmUp, Open, OpenLeft };

void hand(Canvas &c, QPointF at, Hand kind)
{
    const int x = int(at.x()), y = int(at.y());
    const char *key = "sn";
    const QList<int> inks{SkinShade, Skin};
    switch (kind) {
    case Hand::Clasped:
        c.sprite(x - 3, y - 1, {".nnnnn.", "nnnsnnn", ".sssss."}, key, inks);
        break;
    case Hand::Hanging: c.sprite(x - 1, y, {"nn", "nn", "sn"}, key, inks); break;
    case Hand::PalmUp: c.sprite(x - 2, y - 1, {"n...n", "nnnnn", ".sss."}, key, inks); break;
    case Hand::Open: c.sprite(x - 1, y - 4, {"n.n.", "nnnn", "nnnn", "snn.", ".s.."}, key, inks); break;
    case Hand::OpenLeft: c.sprite(x - 2, y - 4, {".n.n", "nnnn", "nnnn", ".nns", "..s."}, key, inks); break;
    }
}

void drawArms(Canvas &c, Arms arms)
{
    const QPointF ls(29, 40), rs(43, 40);
    auto both = [&](QPointF lw, QPointF rw) { sleeve(c, ls, lw); sleeve(c, rs, rw); };
    switch (arms) {
    case Arms::Rest:
        both({34, 53}, {38, 53});
        hand(c, {36, 53}, Hand::Clasped);
        break;
    case Arms::ReachHalf:
        both({24, 55}, {53, 46});
        hand(c, {56, 47}, Hand::Open);
        break;
    case Arms::Reach:
        both({24, 55}, {58, 38});
        hand(c, {61, 38}, Hand::Open);
        break;
    case Arms::Palm:
        both({24, 55}, {52, 47});
        hand(c, {56, 46}, Hand::PalmUp);
        break;
    case Arms::Toss:
        both({24, 55}, {50, 28});
        hand(c, {52, 26}, Hand::Open);
        break;
    case Arms::Mid:
        both({20, 49}, {52, 49});
        hand(c, {17, 48}, Hand::PalmUp);
        hand(c, {55, 48}, Hand::PalmUp);
        break;
    case Arms::Low:
        both({23, 58}, {49, 58});
        hand(c, {22, 60}, Hand::Hanging);
        hand(c, {50, 60}, Hand::Hanging);
        break;
    case Arms::Up:
    case Arms::Yawn:
        both({25, 22}, {47, 22});
        hand(c, {24, 19}, Hand::OpenLeft);
        hand(c, {48, 19}, Hand::Open);
        break;
    }
    if (arms == Arms::ReachHalf || arms == Arms::Reach || arms == Arms::Palm || arms == Arms::Toss)
        hand(c, {24, 57}, Hand::Hanging);
}

void drawBody(Canvas &c)
{
    c.polygon({{28, 37}, {44, 37}, {48, 48}, {51, 62}, {56, 77}, {16, 77}, {21, 62}, {24, 48}}, Robe);
    c.polygon({{28, 37}, {31, 37}, {28, 60}, {25, 77}, {16, 77}, {21, 62}, {24, 48}}, RobeDark);
    c.polygon({{42, 37}, {44, 37}, {48, 48}, {51, 62}, {56, 77}, {52, 77}, {47, 62}, {45, 48}}, RobeLight);
    c.line(36, 58, 34, 76, RobeDark);
    c.line(42, 60, 45, 76, RobeDark);
    // Rope belt with a hanging end.
    for (int x = 20; x < 54; ++x)
        if (c.at(x, 56) != Canvas::Empty)
            c.set(x, 56, SkinShade);
    c.line(40, 57, 41, 63, SkinShade);
    c.set(41, 64, Wood);
}

void drawEyes(Canvas &c, Eyes eyes, int y)
{
    static const char *key = "kwsny";   // black, white, shade, skin, yellow
    QList<const char *> rows;
    switch (eyes) {
    case Eyes::Open: rows = {"wk...kw", "wk...kw"}; break;
    case Eyes::Torch: rows = {"wk...wk", "wk...wk"}; break;
    case Eyes::Up: rows = {"kk...kk", "ww...ww"}; break;
    case Eyes::Half: rows = {"ss...ss", "wk...kw"}; break;
    case Eyes::Closed: rows = {"nn...nn", "ss...ss"}; break;
    case Eyes::Glow: rows = {"yw...wy", "yy...yy"}; break;
    case Eyes::Wide: rows = {"ww...ww", "wk...kw"}; break;
    }
    c.sprite(33, y, rows, key, {Black, White, SkinShade, Skin, FlameYellow});
}

void drawHead(Canvas &c, const Pose &pose)
{
    const double n = pose.nod;   // double: it also shifts polygon corners
    c.ellipse(36, 29 + n, 9.5, 10, Robe);
    c.ellipse(34, 30 + n, 8.5, 9, RobeDark);
    c.ellipse(37, 29 + n, 8, 9.2, Robe);
    c.polygon({{38, 20 + n}, {43, 22 + n}, {45, 30 + n}, {44, 33 + n}, {42, 24 + n}}, RobeLight);
    c.ellipse(36, 32 + n, 5.6, 6.6, Night);
    c.ellipse(36, 32.5 + n, 4.6, 5.6, Skin);
    c.rect(32, 27 + n, 9, 1, SkinShade);
    drawEyes(c, pose.eyes, 29 + n);
    c.set(36, 31 + n, SkinShade);
    // Beard and moustache.
    c.polygon({{31, 33 + n}, {42, 33 + n}, {40.5, 40 + n}, {36.5, 47 + n}, {32.5, 40 + n}}, White);
    c.polygon({{31, 33 + n}, {34, 34 + n}, {35, 44 + n}, {32.5, 40 + n}}, Grey);
    c.rect(33, 33 + n, 7, 1, Grey);
    if (pose.smile) {
        c.set(34, 34 + n, SkinShade);
        c.rect(35, 35 + n, 3, 1, SkinShade);
        c.set(38, 34 + n, SkinShade);
    }
    if (pose.arms == Arms::Yawn) {
        c.ellipse(36.5, 36.5 + n, 2.2, 3.0, Black);
        c.rect(35, 38 + n, 3, 1, FlameRed);
    }
}

void drawOrb(Canvas &c, int size)
{
    const double x = OrbCentre.x(), y = OrbCentre.y();
    switch (size) {
    case 1:
        c.set(36, 10, White);
        c.set(35, 10, RobeLight); c.set(37, 10, RobeLight);
        c.set(36, 9, RobeLight); c.set(36, 11, RobeLight);
        break;
    case 2:
        c.disc(x, y, 2.3, RobeLight);
        c.disc(x, y, 1.2, White);
        break;
    case 3:
        c.disc(x, y, 3.3, Robe);
        c.disc(x, y, 2.5, RobeLight);
        c.disc(x, y, 1.4, White);
        break;
    default: {
        const double r = size == 4 ? 4.5 : 6.0;
        const int ray = size == 4 ? 2 : 4;
        const int ri = int(r);
        for (int i = 1; i <= ray; ++i) {
            c.set(36, 10 - ri - i, i == ray ? RobeLight : White);
            c.set(36, 10 + ri + i - 1, i == ray ? RobeLight : White);
            c.set(36 - ri - i, 10, i == ray ? RobeLight : White);
            c.set(36 + ri + i - 1, 10, i == ray ? RobeLight : White);
        }
        c.disc(x, y, r, Robe);
        c.disc(x, y, r - 1, RobeLight);
        c.disc(x, y, r - 2.2, White);
        if (size == 5) {
            for (QPoint p : {QPoint(27, 2), QPoint(45, 3), QPoint(28, 17), QPoint(44, 16)})
                c.set(p.x(), p.y(), FlameYellow);
        }
    }
    }
}

void drawEffects(Canvas &c, const Pose &pose)
{
    if (pose.orb)
        drawOrb(c, pose.orb);
    if (pose.sparks == 1) {
        for (QPoint p : {QPoint(33, 8), QPoint(38, 11), QPoint(35, 14), QPoint(41, 7), QPoint(30, 12)})
            c.set(p.x(), p.y(), White);
        for (QPoint p : {QPoint(36, 5), QPoint(43, 13), QPoint(29, 7)})
            c.set(p.x(), p.y(), RobeLight);
    } else if (pose.sparks == 2) {
        for (QPoint p : {QPoint(28, 20), QPoint(45, 18), QPoint(24, 28), QPoint(49, 26), QPoint(21, 40)})
            c.set(p.x(), p.y(), RobeLight);
        for (QPoint p : {QPoint(50, 36), QPoint(26, 33), QPoint(47, 44)})
            c.set(p.x(), p.y(), White);
    }
    if (pose.smoke) {
        const double y = pose.smoke == 2 ? 10 : 13;
        const double r = pose.smoke == 2 ? 1.0 : 0.7;
        c.disc(33, y + 1, 3.4 * r, WallLit);
        c.disc(39, y, 3.8 * r, WallLit);
        c.disc(36, y - 3 * r, 3.6 * r, WallLit);
        c.disc(33, y, 2.6 * r, Grey);
        c.disc(38.5, y - 1, 2.8 * r, Grey);
        c.disc(35.5, y - 3.5 * r, 2.4 * r, Grey);
    }
    if (pose.palmFire) {
        const double h[] = {5, 9, 14}, w[] = {4, 6, 9};
        drawFlame(c, PalmFlame.x(), PalmFlame.y() + 1, h[pose.palmFire - 1], w[pose.palmFire - 1], 0);
    }
    if (pose.fireball) {
        const QPointF p = FireballAt[pose.fireball - 1];
        c.set(int(p.x()) - 1, int(p.y()) + 4, FlameOrange);
        c.set(int(p.x()), int(p.y()) + 6, FlameRed);
        c.disc(p.x(), p.y(), 2.8, FlameRed);
        c.disc(p.x(), p.y(), 1.9, FlameOrange);
        c.disc(p.x(), p.y() - 0.4, 1.0, FlameYellow);
    }
    if (pose.snore) {
        c.sprite(47, 17, {"ggg", "..g", ".g.", "ggg"}, "g", {White});
        if (pose.snore == 2)
            c.sprite(52, 8, {"gggg", "...g", "..g.", ".g..", "gggg"}, "g", {White});
    }
}

} // namespace

QImage animationFrame(int number)
{
    Q_ASSERT(number >= 1 && number <= 30);
    const Pose &pose = Poses[size_t(number - 1)];
    const auto lights = lightsFor(pose);

    Canvas scene(Size, Size);
    drawWall(scene, lights);
    scene.ellipse(36, FloorY + 1.5, 24, 2.5, Night);
    drawTorch(scene, pose.torch);

    // The mage is drawn on his own layer so that he gets a dark outline.
    Canvas mage(Size, Size);
    const bool armsInFront = pose.arms != Arms::Up && pose.arms != Arms::Yawn;
    if (!armsInFront)
        drawArms(mage, pose.arms);
    drawBody(mage);
    if (armsInFront)
        drawArms(mage, pose.arms);
    drawHead(mage, pose);
    mage.outline(Black);
    mage.drawOnto(scene);

    drawEffects(scene, pose);
    return scene.toImage(palette16());
}

} // namespace ArtGen
