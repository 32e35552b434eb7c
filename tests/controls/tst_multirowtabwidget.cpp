#include "multirowtabwidget.h"

#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

#include <functional>
#include <memory>

using Quorvath::MultiRowTabWidget;

static const QStringList Captions{"Armor", "Figurines", "Gloves", "Helms", "Misc. Items", "Rings",
                                  "Shields", "Weapons", "Instruments", "Quivers", "Containers/Fluids"};

class MultiRowTabWidgetTest final : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_window = new QWidget;
        m_window->resize(481, 177);
        m_tabs = new MultiRowTabWidget(Captions, 4, 20, m_window);
        m_tabs->setGeometry(0, 0, 481, 177);
        m_edits.clear();
        for (int tab = 0; tab < m_tabs->count(); ++tab) {
            m_edits.append(new QLineEdit(m_tabs->page(tab)));
            m_edits.last()->setGeometry(8, 64, 449, 20);
        }
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }
    void cleanup() { delete m_window; }

    void rowsFollowSelection()
    {
        QCOMPARE(m_tabs->count(), 11);
        QCOMPARE(m_tabs->rows(), 3);
        QCOMPARE(m_tabs->tabText(m_tabs->currentIndex()), QStringLiteral("Armor"));
        // A page's controls stand in the control's own coordinates, below the strip.
        QCOMPARE(m_edits[0]->mapTo(m_tabs, QPoint(0, 0)), QPoint(8, 64));
        QVERIFY(m_tabs->pageRect().top() >= 56 && m_tabs->pageRect().top() <= 60);
        // The selected tab's row moves next to the page; the others rotate above.
        QTest::mouseClick(m_tabs, Qt::LeftButton, {}, m_tabs->tabRect(9).center());
        QCOMPARE(m_tabs->currentIndex(), 9);
        QCOMPARE(m_tabs->tabRect(9).top(), 40);
        QCOMPARE(m_tabs->tabRect(0).top(), 20);
        QCOMPARE(m_tabs->tabRect(4).top(), 0);
    }

    void clickSelects_data()
    {
        QTest::addColumn<int>("tab");
        QTest::newRow("same row") << 3;
        QTest::newRow("row above") << 7;
        QTest::newRow("top row, short") << 10;
    }
    void clickSelects()
    {
        QFETCH(int, tab);
        QSignalSpy changed(m_tabs, &MultiRowTabWidget::currentChanged);
        QTest::mouseClick(m_tabs, Qt::LeftButton, {}, m_tabs->tabRect(tab).center());
        QCOMPARE(m_tabs->currentIndex(), tab);
        QCOMPARE(m_tabs->tabText(m_tabs->currentIndex()), Captions[tab]);
        for (int t = 0; t < 11; ++t)
            QCOMPARE(m_edits[t]->isVisible(), t == tab);
        // Back again: the signal carries the tab selected.
        QTest::mouseClick(m_tabs, Qt::LeftButton, {}, m_tabs->tabRect(0).center());
        QCOMPARE(m_tabs->currentIndex(), 0);
        QCOMPARE(changed.size(), 2);
        QCOMPARE(changed[0][0].toInt(), tab);
        QCOMPARE(changed[1][0].toInt(), 0);
    }

    void clickOnSelectedOrBesideIsQuiet()
    {
        QSignalSpy changed(m_tabs, &MultiRowTabWidget::currentChanged);
        QTest::mouseClick(m_tabs, Qt::LeftButton, {}, m_tabs->tabRect(0).center());
        // Right of the short row of three, on the page, and a right click.
        const QRect shortRowEnd = m_tabs->tabRect(10);
        QTest::mouseClick(m_tabs, Qt::LeftButton, {}, QPoint(shortRowEnd.right() + 20, shortRowEnd.center().y()));
        QTest::mouseClick(m_tabs, Qt::LeftButton, {}, QPoint(200, 150));
        QTest::mouseClick(m_tabs, Qt::RightButton, {}, m_tabs->tabRect(5).center());
        QCOMPARE(changed.size(), 0);
        QCOMPARE(m_tabs->currentIndex(), 0);
    }

    void keys_data()
    {
        // Arrows on the focused strip step and stop at the ends; Ctrl keys from
        // inside a page cycle.
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("tab");
        const int none = Qt::NoModifier, ctrl = Qt::ControlModifier, ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
        QTest::newRow("right") << 0 << int(Qt::Key_Right) << none << 1;
        QTest::newRow("right into the next row") << 3 << int(Qt::Key_Right) << none << 4;
        QTest::newRow("down") << 5 << int(Qt::Key_Down) << none << 6;
        QTest::newRow("left") << 5 << int(Qt::Key_Left) << none << 4;
        QTest::newRow("up") << 8 << int(Qt::Key_Up) << none << 7;
        QTest::newRow("left stops at the first") << 0 << int(Qt::Key_Left) << none << 0;
        QTest::newRow("right stops at the last") << 10 << int(Qt::Key_Right) << none << 10;
        QTest::newRow("home") << 6 << int(Qt::Key_Home) << none << 0;
        QTest::newRow("end") << 2 << int(Qt::Key_End) << none << 10;
        QTest::newRow("ctrl+tab") << 2 << int(Qt::Key_Tab) << ctrl << 3;
        QTest::newRow("ctrl+tab wraps") << 10 << int(Qt::Key_Tab) << ctrl << 0;
        QTest::newRow("ctrl+shift+tab") << 2 << int(Qt::Key_Tab) << ctrlShift << 1;
        QTest::newRow("ctrl+shift+backtab wraps") << 0 << int(Qt::Key_Backtab) << ctrlShift << 10;
        QTest::newRow("ctrl+pagedown") << 7 << int(Qt::Key_PageDown) << ctrl << 8;
        QTest::newRow("ctrl+pageup") << 7 << int(Qt::Key_PageUp) << ctrl << 6;
    }
    void keys()
    {
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, tab);
        m_tabs->setCurrentIndex(start);
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        QWidget *target = modifiers ? static_cast<QWidget *>(m_edits[start]) : m_tabs;
        target->setFocus();
        QTRY_VERIFY(target->hasFocus());
        QSignalSpy changed(m_tabs, &MultiRowTabWidget::currentChanged);
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(m_tabs->currentIndex(), tab);
        QCOMPARE(changed.size(), start == tab ? 0 : 1);
        QVERIFY(start == tab || changed[0][0].toInt() == tab);
        QVERIFY(m_edits[tab]->isVisible());
    }

    void focusLeavesHiddenPage()
    {
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        m_edits[0]->setFocus();
        QTRY_VERIFY(m_edits[0]->hasFocus());
        m_tabs->setCurrentIndex(4);
        QVERIFY(m_tabs->hasFocus());
        // Tab order: the strip, then the selected page's control.
        QTest::keyClick(m_tabs, Qt::Key_Tab);
        QVERIFY(m_edits[4]->hasFocus());
    }

    void partialRepaintsLeaveNoTrace()
    {
        // Hovers, focus changes and clicks repaint parts of the control; what
        // is on the screen after each is what a full paint draws.
        if (m_window->devicePixelRatio() != 1)
            QSKIP("the offscreen platform grabs a window's first device pixels, one per point");
        QApplication::setCursorFlashTime(0);   // a steady cursor in the line edits
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        const auto onScreen = [this] {
            QCoreApplication::processEvents();
            return m_window->screen()->grabWindow(m_window->winId()).toImage().convertToFormat(QImage::Format_RGB32);
        };
        const auto fullPaint = [this] { return m_window->grab().toImage().convertToFormat(QImage::Format_RGB32); };
        // The focus moved by the keyboard, so that styles show it.
        const auto tabKey = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); };
        m_edits[0]->setFocus();
        const std::function<void()> steps[] = {
            tabKey,
            [this] {
                for (int tab : {0, 5, 9, 2})
                    QTest::mouseMove(m_tabs, m_tabs->tabRect(tab).center());
            },
            [this] { QTest::mouseClick(m_tabs, Qt::LeftButton, {}, m_tabs->tabRect(6).center()); },
            tabKey,
            [this] {
                QEvent leave(QEvent::Leave);
                QCoreApplication::sendEvent(m_tabs, &leave);
            },
            tabKey,
        };
        for (const auto &step : steps) {
            step();
            QTRY_VERIFY(onScreen() == fullPaint());
        }
        QVERIFY(m_tabs->hasFocus());
    }

    void tabsStayOffThePage_data()
    {
        QTest::addColumn<QString>("style");
        for (const QString &style : QStyleFactory::keys())
            QTest::newRow(qPrintable(style)) << style;
    }

    void tabsStayOffThePage()
    {
        // The page beside its line edit is one colour, from below the strip
        // to the frame's bottom edge: a style drawing a selected tab beyond
        // it would show there.
        QFETCH(QString, style);
        std::unique_ptr<QStyle> owned(QStyleFactory::create(style));
        m_tabs->setStyle(owned.get());
        for (int selected : {0, 5, 10}) {
            m_tabs->setCurrentIndex(selected);
            const QImage picture = m_window->grab().toImage();
            const qreal ratio = picture.devicePixelRatio();
            const auto pixel = [&](int x, int y) { return picture.pixel(QPoint(x, y) * ratio); };
            const int top = m_tabs->pageRect().top() + 4;
            for (int y = top; y < 170; ++y) {
                for (int x = 3; x < 7; ++x)
                    QVERIFY2(pixel(x, y) == pixel(4, top), qPrintable(QStringLiteral("tab %1: %2, %3").arg(selected).arg(x).arg(y)));
            }
        }
        m_tabs->setStyle(nullptr);
    }

private:
    QWidget *m_window = nullptr;
    MultiRowTabWidget *m_tabs = nullptr;
    QList<QLineEdit *> m_edits;   // one on each page
};

QTEST_MAIN(MultiRowTabWidgetTest)
#include "tst_multirowtabwidget.moc"
