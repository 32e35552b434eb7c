// The About window with a fake browser: layout, keyboard, the animation
// driven tick by tick, and the web buttons.
#include "aboutwindow.h"
#include "browser.h"
#include "twips.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QAbstractTextDocumentLayout>
#include <QTest>
#include <QTimer>

using namespace Quorvath;

namespace {

class FakeBrowser final : public Browser {
public:
    bool available = true;
    bool starts = true;
    int checks = 0;
    QStringList opened;

    bool isAvailable() override
    {
        ++checks;
        return available;
    }
    bool open(const QString &url) override
    {
        opened << url;
        return starts;
    }
};

template <class T>
T *child(QWidget &w, const char *name)
{
    return w.findChild<T *>(QLatin1String(name));
}

QImage frame(int position)
{
    return QImage(QStringLiteral(":/frames/frame%1.bmp").arg(position, 2, 10, QLatin1Char('0')))
        .convertToFormat(QImage::Format_RGB32);
}

// The picture that Image1 shows, by its position in the image list.
int shownPicture(QWidget &w)
{
    const QImage shown =
        child<QLabel>(w, "Image1")->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    for (int position = 1; position <= Animation::PictureCount; ++position) {
        if (!shown.isNull() && shown == frame(position))
            return position;
    }
    return 0;
}

} // namespace

class TestAboutWindow : public QObject {
    Q_OBJECT
private slots:
    void frames();
    void geometry_data();
    void geometry();
    void text();
    void focusAndKeys();
    void tabOrder_data();
    void tabOrder();
    void animationCycle();
    void animationRunsOnItsTimer();
    void reopenContinues_data();
    void reopenContinues();
    void noBrowser();
    void webButtons_data();
    void webButtons();
    void failedStart();
};

void TestAboutWindow::frames()
{
    // The pictures are told apart by their content below, so they must differ.
    QList<QImage> seen;
    for (int position = 1; position <= Animation::PictureCount; ++position) {
        const QImage image = frame(position);
        QCOMPARE(image.size(), QSize(88, 88));
        QVERIFY2(!seen.contains(image), qPrintable(QString::number(position)));
        seen << image;
    }
}

void TestAboutWindow::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("GoVelmarch") << "GoVelmarch" << Twips::rect(120, 2160, 1935, 375);
    QTest::newRow("Petitionsign") << "Petitionsign" << Twips::rect(120, 1680, 1935, 375);
    QTest::newRow("Okaybutton") << "Okaybutton" << Twips::rect(120, 2640, 1935, 375);
    QTest::newRow("Frame1") << "Frame1" << Twips::rect(2280, 120, 4815, 2895);
    QTest::newRow("Text1") << "Text1" << Twips::rect(120, 240, 4575, 2535);
    QTest::newRow("Image1") << "Image1" << Twips::rect(360, 120, 1215, 1335);
    QTest::newRow("Line1") << "Line1" << QRect(144, 8, 1, 193);
    QTest::newRow("Line2") << "Line2" << QRect(8, 104, 137, 1);
}

void TestAboutWindow::geometry()
{
    QFETCH(QString, name);
    AboutState state;
    FakeBrowser browser;
    AboutWindow w(state, browser);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.objectName(), QStringLiteral("frmAbout"));
    QCOMPARE(w.windowTitle(), QStringLiteral("About This Program"));
    // A font wider than the design's may widen the window, frame and box alike.
    const int grow = w.width() - 475;
    QVERIFY(grow >= 0);
    QCOMPARE(w.height(), 207);
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QVERIFY(!(w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

    auto *control = w.findChild<QWidget *>(name);
    QVERIFY(control);
    QFETCH(QRect, rect);
    if (name == QLatin1String("Frame1") || name == QLatin1String("Text1"))
        rect.setWidth(rect.width() + grow);
    QCOMPARE(control->geometry(), rect);
}

void TestAboutWindow::text()
{
    AboutState state;
    FakeBrowser browser;
    AboutWindow w(state, browser);
    auto *text = child<QPlainTextEdit>(w, "Text1");
    QCOMPARE(text->parentWidget()->objectName(), QStringLiteral("Frame1"));
    QVERIFY(child<QGroupBox>(w, "Frame1")->title().isEmpty());
    QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(text->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    const QStringList lines = text->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 27);   // 26 lines, each ending in a line break
    QCOMPARE(lines.last(), QString());
    QCOMPARE(lines[0], QStringLiteral("Quorvath"));
    QCOMPARE(lines[2], QStringLiteral(" "));
    QCOMPARE(lines[5], QStringLiteral("Version 1.0.1 Alpha"));
    QCOMPARE(lines[10], QStringLiteral("active online petition to have this game released!  "));
    QVERIFY(lines[20].endsWith(QLatin1String(" As ")));
    QCOMPARE(lines[21], QStringLiteral("of September 14, 2001 it is still being written, but "));
    QVERIFY(lines[25].startsWith(QLatin1String("- ")));

    // Locked: selectable and copyable, typing changes nothing.
    QVERIFY(text->isReadOnly());
    QVERIFY(text->textInteractionFlags() & Qt::TextSelectableByKeyboard);
    const QString before = text->toPlainText();
    QTest::keyClicks(text, QStringLiteral("abc"));
    QTest::keyClick(text, Qt::Key_Delete);
    QCOMPARE(text->toPlainText(), before);
    // Long enough to scroll; every line ends where the text breaks it.
    QVERIFY(text->verticalScrollBar()->maximum() > 0);
    const int lineSpacing = text->fontMetrics().lineSpacing();
    for (QTextBlock b = text->document()->begin(); b.isValid(); b = b.next()) {
        const qreal height = text->document()->documentLayout()->blockBoundingRect(b).height();
        QVERIFY2(qRound(height / lineSpacing) == 1, qPrintable(b.text()));
    }
}

void TestAboutWindow::focusAndKeys()
{
    AboutState state;
    FakeBrowser browser;
    AboutWindow w(state, browser);
    QSignalSpy unloaded(&w, &AboutWindow::unloaded);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), child<QPushButton>(w, "Okaybutton"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(w.isVisible());
    // No button is the default: Enter in the text box presses nothing.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Text1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(w.isVisible());
    QVERIFY(browser.opened.isEmpty());
    // Enter presses the button that has the focus.
    child<QPushButton>(w, "Okaybutton")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(unloaded.count(), 1);
    QVERIFY(!w.isVisible());
    QVERIFY(browser.opened.isEmpty());
}

void TestAboutWindow::tabOrder_data()
{
    QTest::addColumn<bool>("available");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("with browser") << true
        << QStringList{"Petitionsign", "Text1", "GoVelmarch", "Okaybutton"};
    QTest::newRow("without browser") << false << QStringList{"Text1", "Okaybutton"};
}

void TestAboutWindow::tabOrder()
{
    QFETCH(bool, available);
    QFETCH(QStringList, order);
    AboutState state;
    FakeBrowser browser;
    browser.available = available;
    AboutWindow w(state, browser);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    for (const QString &next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), next);
    }
}

void TestAboutWindow::animationCycle()
{
    AboutState state;
    FakeBrowser browser;
    AboutWindow w(state, browser);
    auto *timer = child<QTimer>(w, "Timer1");
    auto *image = child<QLabel>(w, "Image1");
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), Animation::FirstInterval);
    QVERIFY(image->pixmap().isNull());

    Animation::FrameArray FrameImage, FrameDelay;
    Animation::writeTable(FrameImage, FrameDelay);
    int total = 0;
    for (int step = 1; step <= 2 * Animation::StepCount; ++step) {
        w.Timer1_Timer();
        const int expected = (step - 1) % Animation::StepCount + 1;
        QCOMPARE(state.FramePos, expected);
        QCOMPARE(timer->interval(), int(FrameDelay[expected]));
        QCOMPARE(shownPicture(w), int(FrameImage[expected]));
        if (step <= Animation::StepCount)
            total += timer->interval();
    }
    QCOMPARE(total, 39200);
    // The label takes the picture's own size at its design position.
    QCOMPARE(image->pos(), Twips::point(360, 120));
    QCOMPARE(image->contentsRect().size(), QSize(88, 88));
}

void TestAboutWindow::animationRunsOnItsTimer()
{
    AboutState state;
    FakeBrowser browser;
    AboutWindow w(state, browser);
    w.show();
    QTRY_COMPARE_WITH_TIMEOUT(state.FramePos, 1, 2000);
    QCOMPARE(shownPicture(w), 1);
    QCOMPARE(child<QTimer>(w, "Timer1")->interval(), 400);
}

void TestAboutWindow::reopenContinues_data()
{
    QTest::addColumn<int>("closedOn");
    QTest::addColumn<int>("nextStep");
    QTest::addColumn<int>("picture");
    QTest::addColumn<int>("delay");
    QTest::newRow("step 40") << 40 << 41 << 21 << 400;
    QTest::newRow("step 87") << 87 << 1 << 1 << 400;
}

void TestAboutWindow::reopenContinues()
{
    QFETCH(int, closedOn);
    AboutState state;
    state.FramePos = qint16(closedOn - 1);
    FakeBrowser browser;
    {
        AboutWindow w(state, browser);
        w.show();
        w.Timer1_Timer();
        QCOMPARE(state.FramePos, closedOn);
        QVERIFY(w.close());
        QVERIFY(!child<QTimer>(w, "Timer1")->isActive());
    }
    AboutWindow again(state, browser);
    auto *timer = child<QTimer>(again, "Timer1");
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 50);
    QCOMPARE(state.FramePos, closedOn);   // loading does not reset it
    again.Timer1_Timer();
    QTEST(int(state.FramePos), "nextStep");
    QTEST(shownPicture(again), "picture");
    QTEST(timer->interval(), "delay");
}

void TestAboutWindow::noBrowser()
{
    AboutState state;
    FakeBrowser browser;
    browser.available = false;
    AboutWindow w(state, browser);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *petition = child<QPushButton>(w, "Petitionsign");
    auto *velmarch = child<QPushButton>(w, "GoVelmarch");
    QVERIFY(!petition->isEnabled());
    QVERIFY(!velmarch->isEnabled());

    // A browser that turns up later changes nothing while the window is open.
    browser.available = true;
    QTest::mouseClick(petition, Qt::LeftButton);
    QTest::mouseClick(velmarch, Qt::LeftButton);
    QVERIFY(!petition->isEnabled());
    QVERIFY(!velmarch->isEnabled());
    QVERIFY(browser.opened.isEmpty());
    QVERIFY(w.isVisible());
    QCOMPARE(browser.checks, 1);
    QVERIFY(child<QTimer>(w, "Timer1")->isActive());
}

void TestAboutWindow::webButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("url");
    QTest::newRow("Petitionsign") << "Petitionsign" << AboutWindow::PetitionUrl;
    QTest::newRow("GoVelmarch") << "GoVelmarch" << AboutWindow::VelmarchUrl;
}

void TestAboutWindow::webButtons()
{
    QFETCH(QString, button);
    QFETCH(QString, url);
    QVERIFY(QUrl(url).host().endsWith(QLatin1String(".example")));
    QVERIFY(AboutWindow::PetitionUrl != AboutWindow::VelmarchUrl);
    AboutState state;
    FakeBrowser browser;
    AboutWindow w(state, browser);
    QSignalSpy unloaded(&w, &AboutWindow::unloaded);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(w.findChild<QPushButton *>(button), Qt::LeftButton);
    QCOMPARE(browser.opened, QStringList{url});
    QCOMPARE(unloaded.count(), 1);
    QVERIFY(!w.isVisible());
    QVERIFY(!child<QTimer>(w, "Timer1")->isActive());
}

void TestAboutWindow::failedStart()
{
    AboutState state;
    FakeBrowser browser;
    browser.starts = false;
    AboutWindow w(state, browser);
    QSignalSpy unloaded(&w, &AboutWindow::unloaded);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    QString message;
    int polls = 0;
    std::function<void()> answer = [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            message = box->text();
            box->button(QMessageBox::Ok)->click();
        } else if (++polls < 100) {
            QTimer::singleShot(20, &w, answer);
        }
    };
    QTimer::singleShot(0, &w, answer);
    w.GoVelmarch_Click();

    QCOMPARE(browser.opened, QStringList{AboutWindow::VelmarchUrl});
    QVERIFY2(message.contains(AboutWindow::VelmarchUrl), qPrintable(message));
    QVERIFY(message.contains(QLatin1String("could not be started")));
    // Nothing was started, so the window stays for another try.
    QCOMPARE(unloaded.count(), 0);
    QVERIFY(w.isVisible());
    QVERIFY(child<QTimer>(w, "Timer1")->isActive());
}

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutwindow.moc"
