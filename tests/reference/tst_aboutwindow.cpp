// The About window with a fake browser: layout, keyboard, the animation
// driven tick by tick, and the web buttons.
#include "aboutwindow.h"
#include "classicframe.h"
#include "fakes.h"
#include "manualticker.h"
#include "twips.h"
#include "uifont.h"
#include "whenshown.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

#include <memory>
#include <set>

using namespace Quorvath;
using Quorvath::Testing::FakeBrowser;
using Quorvath::Testing::ManualTicker;

class TestAboutWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        const UiFont::Choice choice = UiFont::choose(&AboutWindow::designedTexts);
        QApplication::setFont(choice.font);
        m_twips = choice.twips;
    }

    void init() { m_state = {}, m_browser = {}; }
    void cleanup() { m_w.reset(); }

    void geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("GoVelmarch") << "GoVelmarch" << m_twips.rect(120, 2160, 1935, 375);
        QTest::newRow("Petitionsign") << "Petitionsign" << m_twips.rect(120, 1680, 1935, 375);
        QTest::newRow("Okaybutton") << "Okaybutton" << m_twips.rect(120, 2640, 1935, 375);
        QTest::newRow("Frame1") << "Frame1" << m_twips.rect(2280, 120, 4815, 2895);
        QTest::newRow("Text1") << "Text1" << m_twips.rect(120, 240, 4575, 2535);
        QTest::newRow("Image1") << "Image1" << m_twips.rect(360, 120, 1215, 1335);
        QTest::newRow("Line1") << "Line1" << m_twips.rect(2160, 120, 15, 2880 + 15);
        QTest::newRow("Line2") << "Line2" << m_twips.rect(120, 1560, 2040 + 15, 15);
    }
    void geometry()
    {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        AboutWindow &w = open();
        QCOMPARE(w.objectName(), QStringLiteral("frmAbout"));
        QCOMPARE(w.windowTitle(), QStringLiteral("About This Program"));
        // A font wider than the design's may widen the window, frame and box alike.
        const int grow = w.width() - m_twips.px(7125);
        QVERIFY(grow >= 0);
        QCOMPARE(w.height(), m_twips.px(3105));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(!(w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        if (name == QLatin1String("Frame1") || name == QLatin1String("Text1"))
            rect.setWidth(rect.width() + grow);
        QVERIFY(child(qPrintable(name)));
        QCOMPARE(child(qPrintable(name))->geometry(), rect);
    }

    void text()
    {
        open();
        auto *text = child<QPlainTextEdit>("Text1");
        QCOMPARE(text->parentWidget()->objectName(), QStringLiteral("Frame1"));
        QVERIFY(child<ClassicFrame>("Frame1")->title().isEmpty());
        QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

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

        // Locked but selectable; long enough to scroll, and no line wraps again.
        QVERIFY(text->isReadOnly() && (text->textInteractionFlags() & Qt::TextSelectableByKeyboard));
        QVERIFY(text->verticalScrollBar()->maximum() > 0);
        for (QTextBlock b = text->document()->begin(); b.isValid(); b = b.next()) {
            const qreal height = text->document()->documentLayout()->blockBoundingRect(b).height();
            QVERIFY2(qRound(height / text->fontMetrics().lineSpacing()) == 1, qPrintable(b.text()));
        }
    }

    void keys_data()
    {
        QTest::addColumn<bool>("available");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("with browser") << true << QStringList{"Petitionsign", "Text1", "GoVelmarch", "Okaybutton"};
        QTest::newRow("without browser") << false << QStringList{"Text1", "Okaybutton"};
    }
    void keys()
    {
        QFETCH(bool, available);
        QFETCH(QStringList, order);
        m_browser.available = available;
        AboutWindow &w = open();
        QSignalSpy unloaded(&w, &AboutWindow::unloaded);
        QCOMPARE(QApplication::focusWidget(), child("Okaybutton"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        for (const QString &next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), next);
            // No button is the default: Enter in the text box presses nothing.
            if (next == QLatin1String("Text1"))
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        QVERIFY(w.isVisible());
        // Enter presses the button that has the focus.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(unloaded.count(), 1);
        QVERIFY(!w.isVisible());
        QVERIFY(m_browser.opened.isEmpty());
    }

    void animationCycle()
    {
        m_w = std::make_unique<AboutWindow>(m_state, m_browser, newTicker(), m_twips);
        AboutWindow &w = *m_w;
        QVERIFY(timer()->isActive());
        QCOMPARE(timer()->interval(), Animation::FirstInterval);
        QVERIFY(child<QLabel>("Image1")->pixmap().isNull());
        // The first step, then the table's steps follow and wrap.
        w.show();
        tick();
        QCOMPARE(m_state.step, 1);
        QCOMPARE(shownPicture(), 1);
        QCOMPARE(timer()->interval(), 400);

        // Samples of the design's 87 steps (step: picture, delay), then the whole table twice.
        const QMap<int, QPair<int, int>> design{{1, {1, 400}}, {2, {2, 600}}, {3, {1, 200}}, {5, {4, 100}},
                                                {15, {15, 400}}, {40, {8, 600}}, {41, {21, 400}},
                                                {51, {25, 1000}}, {78, {28, 150}}, {87, {22, 800}}};
        Animation::FrameArray pictureOf, delayOf;
        Animation::writeTable(pictureOf, delayOf);
        int total = 0, usesOfPicture4 = 0;
        std::set<int> pictures, longest;
        for (int step = 2; step <= 2 * Animation::StepCount + 1; ++step) {
            tick();
            const int expected = (step - 1) % Animation::StepCount + 1;
            const int picture = shownPicture(), delay = timer()->interval();
            QCOMPARE(m_state.step, expected);
            QCOMPARE(picture, int(pictureOf[expected]));
            QCOMPARE(delay, int(delayOf[expected]));
            QCOMPARE(QPair(picture, delay), design.value(expected, {picture, delay}));
            if (step > Animation::StepCount + 1)
                continue;
            total += delay;
            pictures.insert(picture);
            usesOfPicture4 += picture == 4;
            if (delay == 1000)
                longest.insert(expected);
        }
        QCOMPARE(total, 39200);
        QCOMPARE(int(pictures.size()), 30);
        QCOMPARE(usesOfPicture4, 11);
        QCOMPARE(longest, (std::set<int>{26, 51, 69, 77}));
        QVERIFY(Animation::nextStep(200) == 1 && Animation::nextStep(-5) == 1);   // anything outside starts anew
        // The label takes the picture's own size at its design position.
        QCOMPARE(child("Image1")->pos(), m_twips.point(360, 120));
        QCOMPARE(child("Image1")->contentsRect().size(), QSize(88, 88));
    }

    void reopenContinues_data()
    {
        QTest::addColumn<int>("closedOn");
        QTest::addColumn<int>("nextStep");
        QTest::addColumn<int>("picture");
        QTest::addColumn<int>("delay");
        QTest::newRow("step 40") << 40 << 41 << 21 << 400;
        QTest::newRow("step 87") << 87 << 1 << 1 << 400;
    }
    void reopenContinues()
    {
        QFETCH(int, closedOn);
        m_state.step = qint16(closedOn - 1);
        open();
        tick();
        QCOMPARE(m_state.step, closedOn);
        QVERIFY(m_w->close());
        QVERIFY(!timer()->isActive());

        m_w = std::make_unique<AboutWindow>(m_state, m_browser, newTicker(), m_twips);
        QVERIFY(timer()->isActive());
        QCOMPARE(timer()->interval(), 50);
        QCOMPARE(m_state.step, closedOn);   // loading does not reset it
        tick();
        QTEST(int(m_state.step), "nextStep");
        QTEST(shownPicture(), "picture");
        QTEST(timer()->interval(), "delay");
    }

    void noBrowser()
    {
        m_browser.available = false;
        AboutWindow &w = open();
        // A browser that turns up later changes nothing while the window is open.
        m_browser.available = true;
        for (const char *name : {"Petitionsign", "GoVelmarch"}) {
            QVERIFY(!child(name)->isEnabled());
            QTest::mouseClick(child(name), Qt::LeftButton);
            QVERIFY(!child(name)->isEnabled());
        }
        QVERIFY(m_browser.opened.isEmpty());
        QVERIFY(w.isVisible());
        QCOMPARE(m_browser.checks, 1);
        QVERIFY(timer()->isActive());
    }

    void webButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("url");
        QTest::newRow("Petitionsign") << "Petitionsign" << AboutWindow::PetitionUrl;
        QTest::newRow("GoVelmarch") << "GoVelmarch" << AboutWindow::VelmarchUrl;
    }
    void webButtons()
    {
        QFETCH(QString, button);
        QFETCH(QString, url);
        QVERIFY(QUrl(url).host().endsWith(QLatin1String(".example")));
        QVERIFY(AboutWindow::PetitionUrl != AboutWindow::VelmarchUrl);
        AboutWindow &w = open();
        QSignalSpy unloaded(&w, &AboutWindow::unloaded);
        QTest::mouseClick(child(qPrintable(button)), Qt::LeftButton);
        QCOMPARE(m_browser.opened, QStringList{url});
        QCOMPARE(unloaded.count(), 1);
        QVERIFY(!w.isVisible());
        QVERIFY(!timer()->isActive());
    }

    // The browser's reply, at once or later: the window waits with the web
    // buttons off and the animation running, closes when the page has
    // opened, and otherwise says so with the address and stays.
    void reply_data()
    {
        QTest::addColumn<bool>("waits");
        QTest::addColumn<bool>("opens");
        QTest::newRow("fails at once") << false << false;
        QTest::newRow("fails later") << true << false;
        QTest::newRow("opens later") << true << true;
    }
    void reply()
    {
        QFETCH(bool, waits);
        QFETCH(bool, opens);
        m_browser.waits = waits;
        m_browser.starts = opens;
        AboutWindow &w = open();
        QSignalSpy unloaded(&w, &AboutWindow::unloaded);
        QString message;
        if (!opens) {
            Testing::whenShown<QMessageBox>([&message](QMessageBox *box) {
                message = box->text();
                box->button(QMessageBox::Ok)->click();
            });
        }
        QTest::mouseClick(child("GoVelmarch"), Qt::LeftButton);
        QCOMPARE(m_browser.opened, QStringList{AboutWindow::VelmarchUrl});
        if (waits) {
            QVERIFY(w.isVisible());
            QVERIFY(timer()->isActive());
            for (const char *name : {"Petitionsign", "GoVelmarch"}) {
                QVERIFY(!child(name)->isEnabled());
                QTest::mouseClick(child(name), Qt::LeftButton);
            }
            QCOMPARE(m_browser.opened, QStringList{AboutWindow::VelmarchUrl});   // no second browser
            m_browser.answer(opens);
        }

        QCOMPARE(unloaded.count(), opens ? 1 : 0);
        QCOMPARE(w.isVisible(), !opens);
        QCOMPARE(timer()->isActive(), !opens);
        if (!opens) {
            QVERIFY2(message.contains(AboutWindow::VelmarchUrl), qPrintable(message));
            QVERIFY(message.contains(QLatin1String("could not be started")));
            QVERIFY(child("Petitionsign")->isEnabled() && child("GoVelmarch")->isEnabled());
        }
    }

    void closedWhileWaiting()
    {
        m_browser.waits = true;
        AboutWindow &w = open();
        QSignalSpy unloaded(&w, &AboutWindow::unloaded);
        QTest::mouseClick(child("Petitionsign"), Qt::LeftButton);
        QVERIFY(m_browser.holdsReply());
        QTest::mouseClick(child("Okaybutton"), Qt::LeftButton);
        m_browser.answer(true);
        QCOMPARE(unloaded.count(), 1);
    }

private:
    // A new window on the test's state and browser, shown.
    AboutWindow &open()
    {
        m_w = std::make_unique<AboutWindow>(m_state, m_browser, newTicker(), m_twips);
        m_w->show();
        QTest::qVerify(QTest::qWaitForWindowActive(m_w.get()), "active", "", __FILE__, __LINE__);
        return *m_w;
    }
    template <class T = QWidget> T *child(const char *name) const { return m_w->findChild<T *>(QLatin1String(name)); }
    // The ticker of a window about to be made, which the test wakes.
    std::unique_ptr<ManualTicker> newTicker()
    {
        auto ticker = std::make_unique<ManualTicker>();
        m_ticker = ticker.get();
        return ticker;
    }
    const ManualTicker *timer() const { return m_ticker; }
    // The animation's next step, as the timer's wake-up makes it.
    void tick() const { m_ticker->tick(); }
    // The picture Image1 shows, by its position in the image list (0: none of them).
    int shownPicture() const
    {
        const QImage shown = child<QLabel>("Image1")->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        for (int position = 1; position <= Animation::PictureCount; ++position) {
            const QString file = QStringLiteral(":/frames/frame%1.bmp").arg(position, 2, 10, QLatin1Char('0'));
            if (!shown.isNull() && shown == QImage(file).convertToFormat(QImage::Format_RGB32))
                return position;
        }
        return 0;
    }

    AboutState m_state;
    FakeBrowser m_browser;
    std::unique_ptr<AboutWindow> m_w;
    ManualTicker *m_ticker = nullptr;   // m_w's
    Twips::Scale m_twips;   // the layout's, as the font needs it
};

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutwindow.moc"
