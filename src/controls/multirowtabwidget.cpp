#include "multirowtabwidget.h"

#include "focusedpart.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QShortcut>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QPainter>
#include <QStyle>
#include <QTabBar>

namespace Quorvath {

MultiRowTabWidget::MultiRowTabWidget(const QStringList &captions, int tabsPerRow, int tabHeight,
                                     QWidget *parent)
    : QWidget(parent)
    , m_captions(captions)
    , m_tabsPerRow(qMax(1, tabsPerRow))
    , m_tabHeight(tabHeight)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    // A screen reader speaks the selected tab when the strip takes the focus.
    announceFocusedPart(this);
    for (int tab = 0; tab < captions.size(); ++tab) {
        auto *page = new QWidget(this);
        page->setObjectName(QStringLiteral("page(%1)").arg(tab));
        // Transparent and without a background of its own: the control paints
        // the frame and the tabs beneath, and clicks on the strip fall through
        // to the control because the page does not accept them.
        page->setAutoFillBackground(false);
        page->setFocusPolicy(Qt::NoFocus);
        page->setVisible(tab == m_current);
        m_pages.append(page);
    }

    // From anywhere inside the control, the list on a page included, as
    // QTabWidget offers them. A shortcut rather than keyPressEvent because the
    // item views keep Ctrl+PageDown for themselves.
    const auto cycle = [this](QKeySequence keys, int delta) {
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this,
                [this, delta] { setCurrentIndex(TabRows::cycled(strip(), m_current, delta)); });
    };
    cycle(QKeySequence(Qt::CTRL | Qt::Key_Tab), +1);
    cycle(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1);   // also matches Backtab
    cycle(QKeySequence(Qt::CTRL | Qt::Key_PageDown), +1);
    cycle(QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1);
}

QWidget *MultiRowTabWidget::page(int tab) const
{
    return m_pages.value(tab);
}

QString MultiRowTabWidget::tabText(int index) const
{
    return m_captions.value(index);
}

TabRows::Strip MultiRowTabWidget::strip() const
{
    return {count(), m_tabsPerRow, width(), m_tabHeight};
}

QRect MultiRowTabWidget::tabRect(int tab) const
{
    return TabRows::tabRect(strip(), tab, m_current);
}

QRect MultiRowTabWidget::pageRect() const
{
    // The selected tab overlaps the frame's top edge so the two join.
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    const int top = strip().height() - overlap;
    return {0, top, width(), height() - top};
}

void MultiRowTabWidget::setCurrentIndex(int index)
{
    if (index < 0 || index >= count() || index == m_current)
        return;
    QWidget *oldPage = m_pages[m_current];
    // Hiding a page that holds the focus would hand it to whatever comes
    // next in the chain; the tab strip is where a tabbed dialog keeps it.
    if (oldPage->isAncestorOf(QApplication::focusWidget()))
        setFocus(Qt::OtherFocusReason);
    m_current = index;
    m_pages[index]->setVisible(true);
    oldPage->setVisible(false);
    // The rows of tabs move; the pages repaint themselves as they show and hide.
    updateStrip();
    emit currentChanged(index);
}

void MultiRowTabWidget::initTabOption(QStyleOptionTab &option, int tab) const
{
    option.initFrom(this);
    option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    option.shape = QTabBar::RoundedNorth;
    // Like a tab widget's tabs, over a framed page: Fusion shades the
    // selected tab down into the page's colour.
    option.features |= QStyleOptionTab::HasFrame;
    option.rect = tabRect(tab);
    option.text = m_captions.value(tab);
    option.row = 0;

    const TabRows::Strip s = strip();
    const int column = TabRows::columnOf(s, tab);
    const int rowFirst = tab - column;
    const int rowLast = qMin(rowFirst + m_tabsPerRow, count()) - 1;
    if (rowFirst == rowLast)
        option.position = QStyleOptionTab::OnlyOneTab;
    else if (tab == rowFirst)
        option.position = QStyleOptionTab::Beginning;
    else if (tab == rowLast)
        option.position = QStyleOptionTab::End;
    else
        option.position = QStyleOptionTab::Middle;

    option.selectedPosition = QStyleOptionTab::NotAdjacent;
    if (tab + 1 == m_current && tab < rowLast)
        option.selectedPosition = QStyleOptionTab::NextIsSelected;
    else if (tab - 1 == m_current && tab > rowFirst)
        option.selectedPosition = QStyleOptionTab::PreviousIsSelected;

    if (tab == m_current) {
        option.state |= QStyle::State_Selected;
        if (hasFocus())
            option.state |= QStyle::State_HasFocus;
    }
    if (tab == m_hovered)
        option.state |= QStyle::State_MouseOver;
}

void MultiRowTabWidget::paintEvent(QPaintEvent *event)
{
    // The style gets no widget to draw for. Given one, the Windows styles
    // (windowsvista) draw their theme parts straight into the device context
    // of the window's backing store, and for this control nothing of that
    // reaches the screen: the tab strip stayed blank under Wine. Without a
    // widget they draw through a buffer of their own and the painter, which
    // shows; the other styles draw the same either way.
    QPainter painter(this);
    QStyle *style = this->style();

    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = pageRect();
    frame.shape = QTabBar::RoundedNorth;
    frame.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    frame.tabBarSize = QSize(width(), strip().height());
    frame.tabBarRect = QRect(0, 0, width(), strip().height());
    frame.selectedTabRect = tabRect(m_current);
    if (event->region().intersects(frame.rect))
        style->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, nullptr);

    // The selected tab last, so that it covers its neighbours and the frame.
    // Only the tabs in the region: a hover or a list taking the focus
    // repaints a part, and the styles draw a tab at some cost.
    for (int tab = 0; tab < count(); ++tab) {
        if (tab != m_current && event->region().intersects(tabArea(tab)))
            drawTab(painter, tab);
    }
    if (count() > 0)
        drawTab(painter, m_current);
}

void MultiRowTabWidget::drawTab(QPainter &painter, int tab) const
{
    QStyleOptionTab option;
    initTabOption(option, tab);
    // Inside its area: Fusion fills beneath a selected tab as deep as the
    // tab's distance from the top, which in a strip of several rows paints
    // a band of window colour down the page beside the list.
    painter.save();
    painter.setClipRect(tabArea(tab), Qt::IntersectClip);
    style()->drawControl(QStyle::CE_TabBarTab, &option, &painter, nullptr);
    painter.restore();
}

// The focus shows on the selected tab alone; QWidget would repaint the whole
// control and the page and list inside it.
void MultiRowTabWidget::focusInEvent(QFocusEvent *)
{
    update(tabArea(m_current));
}

void MultiRowTabWidget::focusOutEvent(QFocusEvent *)
{
    update(tabArea(m_current));
}

QRect MultiRowTabWidget::tabArea(int tab) const
{
    return tabRect(tab).adjusted(-TabOverhang, -TabOverhang, TabOverhang, TabOverhang);
}

void MultiRowTabWidget::updateStrip()
{
    // The strip and the frame's top edge below it; the pages stay as they are.
    update(QRect(0, 0, width(), strip().height() + TabOverhang));
}

void MultiRowTabWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const int tab = TabRows::tabAt(strip(), event->position().toPoint(), m_current);
    if (tab < 0) {
        event->ignore();
        return;
    }
    setCurrentIndex(tab);
    // The tab under the pointer may have moved with its row.
    m_hovered = TabRows::tabAt(strip(), event->position().toPoint(), m_current);
    updateStrip();
}

void MultiRowTabWidget::mouseMoveEvent(QMouseEvent *event)
{
    const int hovered = TabRows::tabAt(strip(), event->position().toPoint(), m_current);
    if (hovered != m_hovered) {
        m_hovered = hovered;
        updateStrip();
    }
    event->ignore();
}

void MultiRowTabWidget::leaveEvent(QEvent *event)
{
    m_hovered = -1;
    updateStrip();
    QWidget::leaveEvent(event);
}

void MultiRowTabWidget::keyPressEvent(QKeyEvent *event)
{
    // A list on a page passes up the keys it cannot use (Down on its last
    // entry, Home on its first): only the focused strip steps the tabs.
    if (!hasFocus() || event->modifiers() & ~Qt::KeypadModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    const TabRows::Strip s = strip();
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        setCurrentIndex(TabRows::stepped(s, m_current, -1));
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        setCurrentIndex(TabRows::stepped(s, m_current, +1));
        break;
    case Qt::Key_Home:
        setCurrentIndex(0);
        break;
    case Qt::Key_End:
        setCurrentIndex(count() - 1);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
}

void MultiRowTabWidget::resizeEvent(QResizeEvent *event)
{
    for (QWidget *page : std::as_const(m_pages))
        page->setGeometry(rect());
    QWidget::resizeEvent(event);
}

} // namespace Quorvath
