// A label that shows a value: plain text in a single border, wrapped at word
// boundaries inside its fixed box and cut off where the box ends.
//
// It is built for being refilled often: setText() only stores the text, the
// line layout is made once on the next paint and kept until the text or the
// width changes, and the label paints its whole box itself (opaque), so a new
// value repaints nothing beneath it. A cut-off value is offered in full as the
// tooltip, worked out only when a tooltip is asked for.
//
// The text can be selected with the mouse and copied (Ctrl+C through
// copySelection(), the context menu, and on X11 the primary selection), but
// the label never takes the keyboard focus: the control that has it keeps it.
// The text keeps its own direction, also in a right-to-left layout.
#pragma once

#include <QFrame>
#include <QString>

#include <memory>

class QTextLayout;

namespace Quorvath {

class ValueLabel final : public QFrame {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ValueLabel)
    Q_PROPERTY(QString text READ text WRITE setText)

public:
    explicit ValueLabel(QWidget *parent = nullptr);
    ~ValueLabel() override;

    QString text() const { return m_text; }
    void setText(const QString &text);

    // Where the first line's text starts inside the box, for captions that
    // should share its baseline.
    static constexpr int TextTop = 2;
    static constexpr int TextLeft = 3;

    // The selected part of the text; empty when nothing is selected.
    QString selectedText() const;
    bool hasSelectedText() const { return m_selStart != m_selEnd; }
    void selectAll();
    void clearSelection();
    // Puts the selected text on the clipboard. False when nothing is selected.
    bool copySelection() const;
    // Whether the whole text shows inside the box.
    bool fitsBox() const;

signals:
    // The selection was made, changed or dropped.
    void selectionChanged();
    // A mouse button went down on the value: it is the one Select All
    // (Ctrl+A) is meant for.
    void pressed();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QRect textRect() const;
    const QTextLayout &layout() const;
    int cursorAt(QPoint pos) const;
    void select(int anchor, int position);
    void publishSelection() const;

    QString m_text;
    mutable std::unique_ptr<QTextLayout> m_layout;   // null until painted or asked
    int m_selStart = 0;
    int m_selEnd = 0;
    int m_anchor = -1;   // where a mouse selection started; -1 while none is made
};

} // namespace Quorvath
