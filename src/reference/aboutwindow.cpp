#include "aboutwindow.h"

#include "browser.h"
#include "classicframe.h"
#include "enterbutton.h"
#include "identity.h"
#include "picturelog.h"
#include "twips.h"
#include "windowaccessible.h"

#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QResource>

namespace Quorvath {

namespace {

using namespace Qt::StringLiterals;

// Every line ends with CR LF; the blank separator lines and the blanks at the
// ends of lines belong to the text.
constexpr QLatin1String AboutText =
    "Quorvath\r\n"
    "Itemlist for Windows\r\n"
    " \r\n"
    "By Anselm Vorrick and Teo Baskel, 2001\r\n"
    " \r\n"
    "Version " QI_VERSION " Alpha\r\n"
    " \r\n"
    "Did you know that there was a Quorvath IV \r\n"
    "programmed by Halvenmark?  It was scrapped in \r\n"
    "the early 1990s for fiscal reasons.  There is an \r\n"
    "active online petition to have this game released!  \r\n"
    "The aim is to collect as many signatures as is \r\n"
    "possible and to present it to Halvenmark \r\n"
    "headquarters to either have them finish the project, \r\n"
    "or hand over the rights so other interested \r\n"
    "companies can write more sequels. \r\n"
    " \r\n"
    "A game is being written by fans of the series \r\n"
    "who call themselves the Lanternwick Circle.  It \r\n"
    "goes on in the spirit of the series and is called \r\n"
    "\"Velmarch: Shards of the Old Realm\".  As \r\n"
    "of September 14, 2001 it is still being written, but \r\n"
    "you can view their web site and check it out for \r\n"
    "yourself!\r\n"
    " \r\n"
    "- Anselm\r\n"_L1;

enum Control { VelmarchCaption, PetitionCaption, OkayCaption, CreditsText };

QPushButton *createButton(QWidget *parent, const DesignedText &caption)
{
    auto *button = new QPushButton(caption.text, parent);
    button->setObjectName(QLatin1String(caption.name));
    button->setGeometry(caption.rect);
    // Enter presses the button that has the focus. None of them is the
    // default button.
    pressOnEnter(button);
    return button;
}

QFrame *createLine(QWidget *parent, const char *name, QFrame::Shape shape, QRect rect)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    line->setGeometry(rect);
    return line;
}

} // namespace

std::vector<DesignedText> AboutWindow::design(Twips::Scale twips)
{
    // By the Control numbers above; the text box stands in the frame `Frame1`.
    return {{"GoVelmarch", TextControl::Button, QStringLiteral("Velmarch"), twips.rect(120, 2160, 1935, 375)},
            {"Petitionsign", TextControl::Button, QStringLiteral("Sign The Petition Now!"),
             twips.rect(120, 1680, 1935, 375)},
            {"Okaybutton", TextControl::Button, QStringLiteral("Okay"), twips.rect(120, 2640, 1935, 375)},
            {"Text1", TextControl::ScrolledTextBox, AboutText, twips.rect(120, 240, 4575, 2535)}};
}

const QString AboutWindow::PetitionUrl =
    QStringLiteral("https://petition.velmarch.example/release-quorvath-iv");
const QString AboutWindow::VelmarchUrl = QStringLiteral("https://www.velmarch.example/");

AboutWindow::AboutWindow(AboutState &state, Browser &browser, std::unique_ptr<Ticker> ticker, Twips::Scale twips,
                         QWidget *parent)
    : SideWindow(parent),
      m_state(state), m_browser(browser), m_ticker(std::move(ticker))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About This Program"));
    createControls(twips);
    loadPictures();

    m_ticker->setHandler([this] { showNextStep(); });
    m_ticker->start(Animation::FirstInterval);

    m_browserAvailable = m_browser.isAvailable();
    m_petitionButton->setEnabled(m_browserAvailable);
    m_velmarchButton->setEnabled(m_browserAvailable);
    Animation::writeTable(m_pictureOfStep, m_delayOfStep);
}

void AboutWindow::createControls(Twips::Scale twips)
{
    const std::vector<DesignedText> texts = design(twips);
    m_velmarchButton = createButton(this, texts[VelmarchCaption]);
    m_petitionButton = createButton(this, texts[PetitionCaption]);
    m_okayButton = createButton(this, texts[OkayCaption]);
    connect(m_velmarchButton, &QPushButton::clicked, this, [this] { openPage(VelmarchUrl); });
    connect(m_petitionButton, &QPushButton::clicked, this, [this] { openPage(PetitionUrl); });
    connect(m_okayButton, &QPushButton::clicked, this, &QWidget::close);

    auto *frame = new ClassicFrame(QString(), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(twips.rect(2280, 120, 4815, 2895));

    const DesignedText &text = texts[CreditsText];
    auto *credits = new QPlainTextEdit(frame);
    credits->setObjectName(QLatin1String(text.name));
    // The frame has no caption to name the text for a screen reader.
    credits->setAccessibleName(QStringLiteral("About Quorvath Itemlist"));
    credits->setGeometry(text.rect);
    credits->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    credits->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    credits->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    credits->setWordWrapMode(QTextOption::WordWrap);
    credits->document()->setDocumentMargin(1);
    credits->setPlainText(text.text);
    // Locked: the caret, scrolling, selecting and copying work; changes do not.
    credits->setReadOnly(true);
    credits->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    setFixedSize(twips.size(7125, 3105));

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("Image1"));
    m_picture->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_picture->setLineWidth(1);
    m_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_picture->setGeometry(twips.rect(360, 120, 1215, 1335));
    // Named by what it shows.
    m_picture->setAccessibleName(QStringLiteral("A hooded mage beside a wall torch, playing small tricks"));

    // Drawn only: no screen reader needs to meet them.
    markDecorative(createLine(this, "Line1", QFrame::VLine, twips.rect(2160, 120, 15, 2880 + 15)));
    markDecorative(createLine(this, "Line2", QFrame::HLine, twips.rect(120, 1560, 2040 + 15, 15)));

    // Tab indexes: Frame1 0 (takes no focus), Okay 1, the petition 2, the text
    // 3, Velmarch 4.
    setTabOrder(m_okayButton, m_petitionButton);
    setTabOrder(m_petitionButton, credits);
    setTabOrder(credits, m_velmarchButton);
    m_okayButton->setFocus();
}

void AboutWindow::loadPictures()
{
    // The frames are stored uncompressed among the program's resources:
    // their bytes are read in place.
    for (int position = 1; position <= Animation::PictureCount; ++position) {
        const QString path = QStringLiteral(":/frames/frame%1.bmp").arg(position, 2, 10, QLatin1Char('0'));
        const QResource frame(path);
        if (!frame.isValid())
            qCWarning(lcPicture, "%s is missing; the animation shows blank there", qPrintable(path));
        m_pictures.add(frame.uncompressedData());
    }
}

void AboutWindow::showNextStep()
{
    m_state.step = Animation::nextStep(m_state.step);
    const QPixmap picture = QPixmap::fromImage(m_pictures.picture(m_pictureOfStep[m_state.step]));
    m_picture->setPixmap(picture);
    // The image control takes the picture's own size; its border lies outside.
    if (!picture.isNull()) {
        const int border = 2 * m_picture->frameWidth();
        m_picture->resize(picture.deviceIndependentSize().toSize() + QSize(border, border));
    }
    // The new interval counts from this tick.
    m_ticker->start(m_delayOfStep[m_state.step]);
}

void AboutWindow::openPage(const QString &url)
{
    // One page at a time: the web buttons are off until the browser replies.
    if (m_waiting)
        return;
    setWaiting(true);
    m_browser.open(url, this, [this, url](bool opened) { pageOpened(url, opened); });
}

void AboutWindow::pageOpened(const QString &url, bool opened)
{
    // A reply to a window that has closed meanwhile changes nothing.
    if (!m_waiting)
        return;
    setWaiting(false);
    if (opened) {
        close();
        return;
    }
    // The browser was there when the window loaded but would not start or
    // reported a failure. Say so and stay open, so the page can be tried again.
    QPointer<QMessageBox> box = new QMessageBox(
        QMessageBox::Warning, Identity::Title,
        QStringLiteral("The web browser could not be started.\n\n"
                       "Please open this page yourself:\n%1").arg(url),
        QMessageBox::Ok, this);
    box->setTextFormat(Qt::PlainText);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box->exec();
    delete box;
}

void AboutWindow::setWaiting(bool waiting)
{
    m_waiting = waiting;
    m_petitionButton->setEnabled(m_browserAvailable && !waiting);
    m_velmarchButton->setEnabled(m_browserAvailable && !waiting);
    if (waiting)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void AboutWindow::closing()
{
    m_ticker->stop();
    m_waiting = false;
}

} // namespace Quorvath
