#include "terminologywindow.h"

#include "classicframe.h"
#include "terminology.h"
#include "twips.h"

#include <QKeyEvent>
#include <QPlainTextEdit>

namespace Quorvath {

namespace {

enum Control { FrameCaption, Explanation };

} // namespace

std::vector<DesignedText> TerminologyWindow::design(const TerminologyInfo &info, Twips::Scale twips)
{
    // By the Control numbers above; the text box stands in the frame.
    return {{"Frame1", TextControl::FrameCaption, QStringLiteral("Information"),
             QRect(QPoint(0, 0), twips.size(info.frame.width(), info.frame.height()))},
            {"Text1", TextControl::TextBox, info.explanation,
             QRect(twips.point(120, 240), twips.size(info.text.width(), info.text.height()))}};
}

std::vector<UiFont::Text> TerminologyWindow::designedTexts(Twips::Scale twips)
{
    std::vector<UiFont::Text> texts;
    for (const TerminologyInfo &info : terminologyTable()) {
        for (const UiFont::Text &text : fitsOf(design(info, twips), twips))
            texts.push_back(text);
    }
    return texts;
}

TerminologyWindow::TerminologyWindow(const TerminologyInfo &info, Twips::Scale twips, QWidget *parent)
    : SideWindow(parent)
{
    setObjectName(info.objectName);
    setWindowTitle(info.caption);
    setFixedSize(twips.size(info.client.width(), info.client.height()));
    const std::vector<DesignedText> texts = design(info, twips);

    const DesignedText &caption = texts[FrameCaption];
    auto *frame = new ClassicFrame(caption.text, this);
    frame->setObjectName(QLatin1String(caption.name));
    frame->setGeometry(caption.rect);

    const DesignedText &text = texts[Explanation];
    m_explanation = new QPlainTextEdit(frame);
    m_explanation->setObjectName(QLatin1String(text.name));
    // Read out under its frame's caption, as a group box's only control is.
    m_explanation->setAccessibleName(frame->title());
    m_explanation->setGeometry(text.rect);
    m_explanation->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_explanation->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_explanation->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_explanation->setWordWrapMode(QTextOption::WordWrap);
    // The only focus stop of the window: Tab moves the focus (back to the
    // box itself) instead of typing a tab character. Qt's own tab-changes-
    // focus mode types the tab when no other widget can take the focus.
    m_explanation->setTabChangesFocus(true);
    m_explanation->installEventFilter(this);
    // The boxes are two to five lines high: Qt's default 4 px inner margin
    // would cost the last line.
    m_explanation->document()->setDocumentMargin(1);
    // CR LF pairs become one line break each.
    m_explanation->setPlainText(text.text);
    m_explanation->setFocus();
}

bool TerminologyWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_explanation && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return true;   // the focus stays where it is, and so does the text
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace Quorvath
