#include "introwindow.h"

#include "builtinimage.h"
#include "classicframe.h"
#include "enterbutton.h"
#include "formclose.h"
#include "formregistry.h"
#include "identity.h"
#include "twips.h"
#include "windowaccessible.h"

#include <QCloseEvent>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace Quorvath {

namespace {

enum Control { VersionLine, OkayButton };

} // namespace

std::vector<DesignedText> IntroWindow::design(Twips::Scale twips)
{
    // In the frame `Frame1`, by the Control numbers above.
    return {{"Label1", TextControl::Label, Identity::VersionLine, twips.rect(240, 240, 1455, 255)},
            {"Command1", TextControl::Button, QStringLiteral("Okay"), twips.rect(240, 600, 1455, 375)}};
}

IntroWindow::IntroWindow(FormRegistry &forms, Twips::Scale twips, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint),
      m_forms(forms)
{
    // Caption only: no system menu, no close, minimize or maximize button.
    setObjectName(QStringLiteral("frmIntro"));
    setWindowTitle(Identity::IntroCaption);
    setFixedSize(twips.size(4320, 4005));
    const std::vector<DesignedText> texts = design(twips);

    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(twips.rect(0, 0, 4305, 2580));
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->setAccessibleName(QStringLiteral("A torch-lit dungeon wall with an arched doorway, the name Quorvath above it"));
    // Shown at its own size. Read as an image first: a picture loaded as a
    // pixmap by name stays in Qt's pixmap cache after this window is gone.
    image->setPixmap(QPixmap::fromImage(readBuiltInImage(QStringLiteral(":/intro.bmp"), "BMP")));

    auto *line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    line->setForegroundRole(QPalette::WindowText);
    line->setGeometry(QRect(twips.point(0, 2640), QSize(twips.px(4320), 1)));
    markDecorative(line);

    auto *frame = new ClassicFrame(QString(), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(twips.rect(1200, 2760, 1935, 1095));

    const DesignedText &version = texts[VersionLine];
    auto *label = new QLabel(version.text, frame);
    label->setObjectName(QLatin1String(version.name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(version.rect);

    const DesignedText &caption = texts[OkayButton];
    auto *okay = new QPushButton(caption.text, frame);
    okay->setObjectName(QLatin1String(caption.name));
    okay->setGeometry(caption.rect);
    // Enter presses it while it has the focus; it is never a default or
    // cancel button, so Esc does nothing.
    pressOnEnter(okay);
    connect(okay, &QPushButton::clicked, this, &IntroWindow::onOkay);

    setFocusProxy(okay);
    okay->setFocus();
}

void IntroWindow::onOkay()
{
    // Unload first, then show the main window. The registry keeps the
    // program alive in between because this handler is still running.
    m_forms.unload(FormId::Intro);
    m_forms.show(FormId::Main);
}

void IntroWindow::closeEvent(QCloseEvent *event)
{
    closeForm(*this, event);
}

} // namespace Quorvath
