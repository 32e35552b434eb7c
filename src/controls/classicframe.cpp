#include "classicframe.h"

#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

namespace Quorvath {

ClassicFrame::ClassicFrame(const QString &title, QWidget *parent) : QWidget(parent), m_title(title)
{
    setAccessibleName(title);
}

QRect ClassicFrame::captionRect() const
{
    if (m_title.isEmpty())
        return {};
    const QFontMetrics metrics = fontMetrics();
    return {CaptionInset, 0, metrics.horizontalAdvance(m_title) + 1, metrics.height()};
}

QRect ClassicFrame::borderRect() const
{
    // Without a caption the border runs along the top edge; with one, its top
    // line passes through the middle of the caption's letters.
    const int top = m_title.isEmpty() ? 0 : fontMetrics().height() / 2;
    return rect().adjusted(0, top, 0, 0);
}

void ClassicFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect caption = captionRect();
    if (!caption.isEmpty()) {
        // The border stops short of the caption, a blank's width either side.
        const int gap = 2;
        const QRegion border = QRegion(rect()) - QRegion(caption.adjusted(-gap, 0, gap, 0));
        painter.setClipRegion(border);
    }
    // Etched, in the palette's shades, as classic dialogs draw it. The
    // styles' own group-box primitives assume a QGroupBox's layout (Fusion's
    // moves the border down by a caption's height) and some paint pictures.
    qDrawShadeRect(&painter, borderRect(), palette(), true, 1, 0);
    if (!caption.isEmpty()) {
        painter.setClipping(false);
        style()->drawItemText(&painter, caption, Qt::AlignLeft | Qt::AlignTop, palette(), isEnabled(),
                              m_title, QPalette::WindowText);
    }
}

} // namespace Quorvath
