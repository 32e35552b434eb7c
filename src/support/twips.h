// The design gives all geometry in twips (1/1440 inch). Qt works in logical
// pixels of 1/96 inch and scales those itself on high-DPI screens, so fifteen
// twips are one logical pixel, always.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace Quorvath::Twips {
constexpr int PerPixel = 15;
constexpr int px(int t) { return (t + PerPixel / 2) / PerPixel; }   // 295 twips -> 20 px
constexpr QPoint point(int l, int t) { return {px(l), px(t)}; }
constexpr QSize size(int w, int h) { return {px(w), px(h)}; }
constexpr QRect rect(int l, int t, int w, int h) { return {px(l), px(t), px(w), px(h)}; }
} // namespace Quorvath::Twips
