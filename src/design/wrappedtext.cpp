#include "wrappedtext.h"

#include <QFontMetrics>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace Quorvath::WrappedText {

QTextOption option()
{
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WordWrap);
    option.setTextDirection(Qt::LayoutDirectionAuto);
    return option;
}

void layOut(QTextLayout &layout, int width)
{
    const int lineSpacing = QFontMetrics(layout.font()).lineSpacing();
    int y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += lineSpacing;
    }
    layout.endLayout();
}

QSize extent(const QTextLayout &layout)
{
    const int lines = layout.lineCount();
    if (lines == 0)
        return {0, 0};
    qreal widest = 0;
    for (int i = 0; i < lines; ++i)
        widest = std::max(widest, layout.lineAt(i).naturalTextWidth());
    const int bottom = int(layout.lineAt(lines - 1).y()) + QFontMetrics(layout.font()).height();
    return {int(std::ceil(widest)), bottom};
}

QSize size(const QFont &font, const QString &text, int width)
{
    QTextLayout layout(text, font);
    layout.setTextOption(option());
    layOut(layout, width);
    return extent(layout);
}

} // namespace Quorvath::WrappedText
