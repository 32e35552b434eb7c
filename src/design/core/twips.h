// The design gives all geometry in twips (1/1440 inch). Qt works in logical
// pixels of 1/96 inch and scales those itself on high-DPI screens, so fifteen
// twips are one logical pixel.
//
// The layout has a scale of its own, 1 as designed. Where the program's font
// needs bigger boxes than the design's (a machine without the design's face),
// the font choice returns a larger one with the font, and every window is
// laid out at it: every box and window grows alike, keeping the design's
// alignment and proportions.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace Quorvath::Twips {

constexpr int PerPixel = 15;

// Twips to logical pixels at one scale of the layout; default-made, the
// design's own.
class Scale {
public:
    constexpr Scale() = default;
    constexpr explicit Scale(double factor) : m_factor(factor > 0 ? factor : 1.0) {}

    double factor() const { return m_factor; }

    // 295 twips -> 20 px at scale 1.
    int px(int t) const;
    QPoint point(int l, int t) const { return {px(l), px(t)}; }
    QSize size(int w, int h) const { return {px(w), px(h)}; }
    QRect rect(int l, int t, int w, int h) const { return {px(l), px(t), px(w), px(h)}; }

    friend bool operator==(Scale a, Scale b) { return a.m_factor == b.m_factor; }

private:
    double m_factor = 1.0;
};

} // namespace Quorvath::Twips
