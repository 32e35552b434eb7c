#include "terminologywindow.h"

#include "classicframe.h"
#include "sidewindow.h"
#include "terminology.h"
#include "twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QStyle>

namespace Quorvath {

namespace {

// What the text box's sunken border and the document's one-pixel margin take
// from the box on either side.
int textChrome()
{
    return QApplication::style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 1;
}

} // namespace

std::vector<UiFont::Text> TerminologyWindow::designedTexts()
{
    std::vector<UiFont::Text> texts;
    const int chrome = 2 * textChrome();
    for (const TerminologyInfo &info : terminologyTable()) {
        const QSize box = Twips::size(info.text.width(), info.text.height()) - QSize(chrome, chrome);
        texts.push_back({info.text1, box, UiFont::Fit::LinesAndHeight});
        texts.push_back({QStringLiteral("Information"), Twips::size(info.frame.width(), 240) - QSize(16, 0),
                         UiFont::Fit::OneLine});
    }
    return texts;
}

TerminologyWindow::TerminologyWindow(const TerminologyInfo &info, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    // Fixed single: no resizing, not even by the border on Windows.
    setObjectName(info.formName);
    setWindowTitle(info.caption);
    setFixedSize(Twips::size(info.client.width(), info.client.height()));

    Frame1 = new ClassicFrame(QStringLiteral("Information"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(QRect(QPoint(0, 0), Twips::size(info.frame.width(), info.frame.height())));

    Text1 = new QPlainTextEdit(Frame1);
    Text1->setObjectName(QStringLiteral("Text1"));
    // Read out under its frame's caption, as a group box's only control is.
    Text1->setAccessibleName(Frame1->title());
    Text1->setGeometry(QRect(Twips::point(120, 240), Twips::size(info.text.width(), info.text.height())));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setWordWrapMode(QTextOption::WordWrap);
    // The only focus stop of the window: Tab moves the focus (back to the
    // box itself) instead of typing a tab character. Qt's own tab-changes-
    // focus mode types the tab when no other widget can take the focus.
    Text1->setTabChangesFocus(true);
    Text1->installEventFilter(this);
    // The boxes are two to five lines high: Qt's default 4 px inner margin
    // would cost the last line.
    Text1->document()->setDocumentMargin(1);
    // CR LF pairs become one line break each.
    Text1->setPlainText(info.text1);
    Text1->setFocus();
}

bool TerminologyWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return true;   // the focus stays where it is, and so does the text
    }
    return QWidget::eventFilter(watched, event);
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
