// The font the window designs were measured with: the toolkit's sans-serif
// face at 8 points, 96 dpi.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include <utility>
#include <vector>

namespace Quorvath {

QFont designFont();

// Whether `text` fits `box` in `font`, wrapped at word boundaries.
bool fitsBox(const QFont &font, const QRect &box, const QString &text);

// designFont(), narrowed (never made smaller) until every text fits its box.
// The designs' captions were fitted to a narrow face; the default sans-serif
// of most desktops runs wider.
QFont designFontFitting(const std::vector<std::pair<QString, QRect>> &texts);

} // namespace Quorvath
