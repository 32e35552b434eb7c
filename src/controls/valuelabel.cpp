#include "valuelabel.h"

#include "wrappedtext.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QToolTip>

#include <algorithm>

namespace Quorvath {

ValueLabel::ValueLabel(QWidget *parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::IBeamCursor);
    // The box is painted whole here: nothing beneath it needs repainting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setBackgroundRole(QPalette::Window);
}

ValueLabel::~ValueLabel() = default;

void ValueLabel::setText(const QString &text)
{
    if (text == m_text)
        return;
    const bool hadSelection = hasSelectedText();
    m_text = text;
    m_layout.reset();
    m_selStart = m_selEnd = 0;
    m_anchor = -1;
    update();
    if (hadSelection)
        emit selectionChanged();
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

QRect ValueLabel::textRect() const
{
    // The border is one pixel; the text starts TextLeft and TextTop inside
    // the box's outer edge, as the design's labels draw it.
    const int border = frameWidth();
    return rect().adjusted(TextLeft, TextTop, -border, -border);
}

const QTextLayout &ValueLabel::layout() const
{
    if (m_layout)
        return *m_layout;
    // As the font choice measures it.
    m_layout = std::make_unique<QTextLayout>(m_text, font());
    m_layout->setTextOption(WrappedText::option());
    m_layout->setCacheEnabled(true);
    WrappedText::layOut(*m_layout, textRect().width());
    return *m_layout;
}

bool ValueLabel::fitsBox() const
{
    // A word longer than the box runs past its right edge.
    const QSize needed = WrappedText::extent(layout());
    const QRect box = textRect();
    return needed.width() <= box.width() && needed.height() <= box.height() + 1;
}

void ValueLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The plain one-pixel box every style draws for Box | Plain, filled in
    // two rectangles: the style's outline path is slower by a good part of
    // a click (docs/performance.md).
    const QRect outer = rect();
    const int border = frameWidth();
    painter.fillRect(outer, palette().color(QPalette::WindowText));
    painter.fillRect(outer.adjusted(border, border, -border, -border), palette().brush(backgroundRole()));
    if (m_text.isEmpty())
        return;
    const QRect box = textRect();
    painter.setClipRect(box);
    painter.setPen(palette().color(QPalette::WindowText));
    QList<QTextLayout::FormatRange> selections;
    if (hasSelectedText()) {
        QTextLayout::FormatRange range;
        range.start = m_selStart;
        range.length = m_selEnd - m_selStart;
        range.format.setBackground(palette().brush(QPalette::Highlight));
        range.format.setForeground(palette().brush(QPalette::HighlightedText));
        selections.append(range);
    }
    layout().draw(&painter, box.topLeft(), selections);
}

void ValueLabel::resizeEvent(QResizeEvent *event)
{
    m_layout.reset();
    QFrame::resizeEvent(event);
}

void ValueLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        m_layout.reset();
    QFrame::changeEvent(event);
}

bool ValueLabel::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        if (m_text.isEmpty() || fitsBox()) {
            QToolTip::hideText();
        } else {
            // Escaped and in rich text so that the catalog's text is never
            // read as markup, and long texts wrap instead of running off.
            QToolTip::showText(help->globalPos(),
                               QStringLiteral("<p style=\"white-space:pre-wrap\">%1</p>").arg(m_text.toHtmlEscaped()),
                               this, rect());
        }
        return true;
    }
    return QFrame::event(event);
}

int ValueLabel::cursorAt(QPoint pos) const
{
    const QTextLayout &l = layout();
    const QPoint p = pos - textRect().topLeft();
    if (l.lineCount() == 0)
        return 0;
    if (p.y() < 0)
        return 0;
    for (int i = 0; i < l.lineCount(); ++i) {
        const QTextLine line = l.lineAt(i);
        if (p.y() < line.y() + line.height())
            return line.xToCursor(p.x());
    }
    return int(m_text.size());
}

void ValueLabel::select(int anchor, int position)
{
    const int start = std::min(anchor, position);
    const int end = std::max(anchor, position);
    if (start == m_selStart && end == m_selEnd)
        return;
    m_selStart = start;
    m_selEnd = end;
    update();
    emit selectionChanged();
    if (start != end && parentWidget()) {
        // One selection at a time among the values of one group.
        const auto siblings = parentWidget()->findChildren<ValueLabel *>(Qt::FindDirectChildrenOnly);
        for (ValueLabel *other : siblings) {
            if (other != this)
                other->clearSelection();
        }
    }
}

QString ValueLabel::selectedText() const
{
    return m_text.mid(m_selStart, m_selEnd - m_selStart);
}

void ValueLabel::selectAll()
{
    select(0, int(m_text.size()));
    publishSelection();
}

void ValueLabel::clearSelection()
{
    select(0, 0);
}

bool ValueLabel::copySelection() const
{
    if (!hasSelectedText())
        return false;
    QGuiApplication::clipboard()->setText(selectedText());
    return true;
}

void ValueLabel::publishSelection() const
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (hasSelectedText() && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

void ValueLabel::mousePressEvent(QMouseEvent *event)
{
    emit pressed();
    if (event->button() != Qt::LeftButton) {
        QFrame::mousePressEvent(event);
        return;
    }
    m_anchor = cursorAt(event->position().toPoint());
    select(m_anchor, m_anchor);
}

void ValueLabel::mouseMoveEvent(QMouseEvent *event)
{
    if (m_anchor < 0 || !(event->buttons() & Qt::LeftButton)) {
        QFrame::mouseMoveEvent(event);
        return;
    }
    select(m_anchor, cursorAt(event->position().toPoint()));
}

void ValueLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_anchor >= 0) {
        m_anchor = -1;
        publishSelection();
        return;
    }
    QFrame::mouseReleaseEvent(event);
}

void ValueLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_text.isEmpty()) {
        QFrame::mouseDoubleClickEvent(event);
        return;
    }
    // The word under the pointer.
    const int at = std::min(cursorAt(event->position().toPoint()), int(m_text.size()) - 1);
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, m_text);
    words.setPosition(at + 1);
    const int end = words.isAtBoundary() ? at + 1 : int(words.toNextBoundary());
    words.setPosition(at);
    const int start = words.isAtBoundary() ? at : int(words.toPreviousBoundary());
    select(std::max(0, start), end < 0 ? int(m_text.size()) : end);
    m_anchor = -1;
    publishSelection();
}

void ValueLabel::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    QAction *copy = menu.addAction(QStringLiteral("Copy"), this, &ValueLabel::copySelection);
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(hasSelectedText());
    QAction *all = menu.addAction(QStringLiteral("Select All"), this, &ValueLabel::selectAll);
    all->setShortcut(QKeySequence::SelectAll);
    all->setEnabled(!m_text.isEmpty());
    menu.exec(event->globalPos());
}

} // namespace Quorvath
