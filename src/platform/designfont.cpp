#include "designfont.h"

#include <QFontMetrics>

#include <algorithm>

namespace Quorvath {

QFont designFont()
{
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setFamily(font.defaultFamily());
    font.setPointSize(8);
    return font;
}

bool fitsBox(const QFont &font, const QRect &box, const QString &text)
{
    const QRect needed = QFontMetrics(font).boundingRect(QRect(QPoint(0, 0), box.size()),
                                                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    return needed.width() <= box.width() && needed.height() <= box.height();
}

QFont designFontFitting(const std::vector<std::pair<QString, QRect>> &texts)
{
    QFont font = designFont();
    for (int stretch = QFont::Unstretched; stretch >= QFont::Condensed; stretch -= 5) {
        font.setStretch(stretch);
        const bool fits = std::all_of(texts.begin(), texts.end(), [&font](const auto &t) {
            return fitsBox(font, t.second, t.first);
        });
        if (fits)
            break;
    }
    return font;
}

} // namespace Quorvath
