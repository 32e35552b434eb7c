// A tabbed dialog with its tabs in several rows, a stand-in for the classic
// multi-row tab control that QTabWidget (one row, scroll buttons) is not.
//
// Each tab owns a page: a transparent child that covers the whole control,
// so the controls put on a page are placed in the control's own coordinates,
// as the design gives them. Only the selected page is visible. The control
// paints the frame and the tabs with the current style's tab primitives and
// takes the keyboard focus for the tab strip.
#pragma once

#include "tabrows.h"

#include <QList>
#include <QString>
#include <QWidget>

class QPainter;
class QStyleOptionTab;

namespace Quorvath {

class MultiRowTabWidget final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MultiRowTabWidget)

public:
    MultiRowTabWidget(const QStringList &captions, int tabsPerRow, int tabHeight,
                      QWidget *parent = nullptr);

    int count() const { return int(m_pages.size()); }
    QWidget *page(int tab) const;

    // The selected tab, and a tab's caption.
    int currentIndex() const { return m_current; }
    QString tabText(int index) const;

    // Selects a tab as the user would; emits currentChanged() if the
    // selection changes.
    void setCurrentIndex(int index);

    int rows() const { return strip().rows(); }
    // Where a tab is drawn at the moment (rows move with the selection).
    QRect tabRect(int tab) const;
    // The page's frame: everything below the rows of tabs.
    QRect pageRect() const;

signals:
    // Another tab is selected: by the user's click or keys, an accessibility
    // action, or setCurrentIndex().
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    TabRows::Strip strip() const;
    void updateStrip();
    // How far a style may draw outside a tab's rectangle (a raised selected
    // tab, a focus frame, the frame's edge beneath the strip).
    static constexpr int TabOverhang = 4;
    // A tab's rectangle with what the style may draw around it.
    QRect tabArea(int tab) const;
    void initTabOption(QStyleOptionTab &option, int tab) const;
    // One tab, kept inside its area.
    void drawTab(QPainter &painter, int tab) const;

    QStringList m_captions;
    QList<QWidget *> m_pages;
    int m_tabsPerRow = 1;
    int m_tabHeight = 20;
    int m_current = 0;
    int m_hovered = -1;
};

} // namespace Quorvath
