// The frame of a classic dialog: an etched box whose caption sits on its top
// border line, a little in from the left. Children are placed from the
// frame's top-left corner, as the designs give them; the caption and the
// border keep clear of them because the designs leave room for both.
//
// QGroupBox places its caption and border by style: in several styles the
// caption stands above the box and the border runs lower, through children
// placed for the classic look. This one draws the same in every style, in
// the colours of the style's palette.
#pragma once

#include <QWidget>

namespace Quorvath {

class ClassicFrame final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClassicFrame)
    Q_PROPERTY(QString title READ title)

public:
    explicit ClassicFrame(const QString &title = {}, QWidget *parent = nullptr);

    QString title() const { return m_title; }

    // The box's border, in the frame's coordinates: its top edge is the line
    // on which the caption sits.
    QRect borderRect() const;
    // Where the caption is drawn; empty without a caption.
    QRect captionRect() const;

    // Inset of the caption from the frame's left edge.
    static constexpr int CaptionInset = 8;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_title;
};

} // namespace Quorvath
