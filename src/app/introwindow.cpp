#include "introwindow.h"

#include "builtinimage.h"
#include "classicframe.h"
#include "enterbutton.h"
#include "formregistry.h"
#include "twips.h"

#include <QCloseEvent>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace Quorvath {

std::vector<UiFont::Text> IntroWindow::designedTexts()
{
    return {{QStringLiteral("Version 1.0.1 Alpha"), Twips::size(1455, 255), UiFont::Fit::Wrapped},
            {QStringLiteral("Okay"), Twips::size(1455, 375), UiFont::Fit::OneLine}};
}

IntroWindow::IntroWindow(FormRegistry &forms, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint),
      m_forms(forms)
{
    // Caption only: no system menu, no close, minimize or maximize button.
    setObjectName(QStringLiteral("frmIntro"));
    setWindowTitle(QStringLiteral("Quorvath Itemlist for Windows Version 1.0.1A"));
    setFixedSize(Twips::size(4320, 4005));
    const QString version = QStringLiteral("Version 1.0.1 Alpha");
    const QRect versionBox = Twips::rect(240, 240, 1455, 255);

    m_image = new QLabel(this);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setGeometry(Twips::rect(0, 0, 4305, 2580));
    m_image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Shown at its own size. Read as an image first: a picture loaded as a
    // pixmap by name stays in Qt's pixmap cache after this window is gone.
    m_image->setPixmap(QPixmap::fromImage(readBuiltInImage(QStringLiteral(":/intro.bmp"), "BMP")));

    auto *line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    line->setForegroundRole(QPalette::WindowText);
    line->setGeometry(QRect(Twips::point(0, 2640), QSize(Twips::px(4320), 1)));

    auto *frame = new ClassicFrame(QString(), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(Twips::rect(1200, 2760, 1935, 1095));

    auto *label = new QLabel(version, frame);
    label->setObjectName(QStringLiteral("Label1"));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(versionBox);

    m_okay = new QPushButton(QStringLiteral("Okay"), frame);
    m_okay->setObjectName(QStringLiteral("Command1"));
    m_okay->setGeometry(Twips::rect(240, 600, 1455, 375));
    // Enter presses it while it has the focus; it is never a default or
    // cancel button, so Esc does nothing.
    pressOnEnter(m_okay);
    connect(m_okay, &QPushButton::clicked, this, &IntroWindow::Command1_Click);

    setFocusProxy(m_okay);
    m_okay->setFocus();
}

void IntroWindow::Command1_Click()
{
    // Unload first, then show the main window. The registry keeps the
    // program alive in between because this handler is still running.
    m_forms.unload(FormId::frmIntro);
    m_forms.show(FormId::d);
}

void IntroWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit unloaded();
}

} // namespace Quorvath
