#include "terminologywindow.h"

#include "designfont.h"
#include "sidewindow.h"
#include "terminology.h"
#include "twips.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QShowEvent>

namespace Quorvath {

TerminologyWindow::TerminologyWindow(const TerminologyInfo &info, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(info.formName);
    setWindowTitle(info.caption);
    setFont(designFont());

    Frame1 = new QGroupBox(QStringLiteral("Information"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));

    Text1 = new QPlainTextEdit(Frame1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setWordWrapMode(QTextOption::WordWrap);
    // The boxes are two to five lines high: Qt's default 4 px inner margin
    // would cost the last line.
    Text1->document()->setDocumentMargin(1);
    // CR LF pairs become one line break each.
    Text1->setPlainText(info.text1);

    // A font wider than the design's is narrowed until the text shows as laid
    // out; only if that is not enough do the window, the frame and the box
    // grow alike.
    const QSize textSize = Twips::size(info.text.width(), info.text.height());
    const int chrome = 2 * Text1->frameWidth() + 2;
    setFont(SideWindow::narrowedToFit(font(), info.text1, textSize, QSize(chrome, chrome), true));
    const QSize grow = SideWindow::textBoxGrowth(font(), info.text1, textSize,
                                                 QSize(chrome, chrome), true);
    setFixedSize(Twips::size(info.client.width(), info.client.height()) + grow);
    Frame1->setGeometry(QRect(QPoint(0, 0),
                              Twips::size(info.frame.width(), info.frame.height()) + grow));
    Text1->setGeometry(QRect(Twips::point(120, 240), textSize + grow));
    Text1->setFocus();
}

void TerminologyWindow::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        SideWindow::keepOffTaskbar(this);
    QWidget::showEvent(event);
}

void TerminologyWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit unloaded();
}

} // namespace Quorvath
