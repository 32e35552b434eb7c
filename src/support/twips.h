// The design gives all geometry in twips (1/1440 inch). Qt works in logical
// pixels of 1/96 inch and scales those itself on high-DPI screens, so fifteen
// twips are one logical pixel.
//
// The layout has a scale of its own, 1 as designed. Where the program's font
// needs bigger boxes than the design's (a machine without the design's face),
// the font choice sets a larger one before the first window is made, and
// every box and window grows by it alike, keeping the design's alignment and
// proportions.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace Quorvath::Twips {

constexpr int PerPixel = 15;

// The layout's scale; only the font choice sets it.
double scale();
void setScale(double scale);

// 295 twips -> 20 px at scale 1.
int px(int t);
inline QPoint point(int l, int t) { return {px(l), px(t)}; }
inline QSize size(int w, int h) { return {px(w), px(h)}; }
inline QRect rect(int l, int t, int w, int h) { return {px(l), px(t), px(w), px(h)}; }

} // namespace Quorvath::Twips
