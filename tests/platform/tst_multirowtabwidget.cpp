#include "multirowtabwidget.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using Quorvath::MultiRowTabWidget;

class MultiRowTabWidgetTest final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startsOnFirstTab();
    void clickSelects_data();
    void clickSelects();
    void clickOnSelectedOrBesideIsQuiet();
    void rowsFollowSelection();
    void arrowKeys_data();
    void arrowKeys();
    void ctrlKeysCycleFromInsidePage_data();
    void ctrlKeysCycleFromInsidePage();
    void focusLeavesHiddenPage();

private:
    QWidget *m_window = nullptr;
    MultiRowTabWidget *m_tabs = nullptr;
    QList<QLineEdit *> m_edits;
};

static const QStringList Captions{"Armor", "Figurines", "Gloves", "Helms", "Misc. Items", "Rings",
                                  "Shields", "Weapons", "Instruments", "Quivers",
                                  "Containers/Fluids"};

void MultiRowTabWidgetTest::init()
{
    m_window = new QWidget;
    m_window->resize(481, 177);
    m_tabs = new MultiRowTabWidget(Captions, 4, 20, m_window);
    m_tabs->setGeometry(0, 0, 481, 177);
    m_edits.clear();
    for (int tab = 0; tab < m_tabs->count(); ++tab) {
        auto *edit = new QLineEdit(m_tabs->page(tab));
        edit->setObjectName(QStringLiteral("edit(%1)").arg(tab));
        edit->setGeometry(8, 64, 449, 20);
        m_edits.append(edit);
    }
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void MultiRowTabWidgetTest::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void MultiRowTabWidgetTest::startsOnFirstTab()
{
    QCOMPARE(m_tabs->count(), 11);
    QCOMPARE(m_tabs->rows(), 3);
    QCOMPARE(m_tabs->tab(), 0);
    QCOMPARE(m_tabs->caption(), QStringLiteral("Armor"));
    // A page's controls stand in the control's own coordinates.
    QCOMPARE(m_edits[0]->mapTo(m_tabs, QPoint(0, 0)), QPoint(8, 64));
    for (int tab = 0; tab < 11; ++tab)
        QCOMPARE(m_edits[tab]->isVisible(), tab == 0);
    QVERIFY(m_tabs->pageRect().top() <= 60);
    QVERIFY(m_tabs->pageRect().top() >= 56);
}

void MultiRowTabWidgetTest::clickSelects_data()
{
    QTest::addColumn<int>("tab");
    QTest::newRow("same row") << 3;
    QTest::newRow("row above") << 7;
    QTest::newRow("top row, short") << 10;
}

void MultiRowTabWidgetTest::clickSelects()
{
    QFETCH(int, tab);
    QSignalSpy clicked(m_tabs, &MultiRowTabWidget::clicked);
    QTest::mouseClick(m_tabs, Qt::LeftButton, {}, m_tabs->tabRect(tab).center());
    QCOMPARE(m_tabs->tab(), tab);
    QCOMPARE(m_tabs->caption(), Captions[tab]);
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked[0][0].toInt(), 0);
    for (int t = 0; t < 11; ++t) {
        QCOMPARE(m_tabs->page(t)->isVisible(), t == tab);
        QCOMPARE(m_edits[t]->isVisible(), t == tab);
    }

    // Back again: the signal carries the tab just left.
    QTest::mouseClick(m_tabs, Qt::LeftButton, {}, m_tabs->tabRect(0).center());
    QCOMPARE(m_tabs->tab(), 0);
    QCOMPARE(clicked.size(), 2);
    QCOMPARE(clicked[1][0].toInt(), tab);
}

void MultiRowTabWidgetTest::clickOnSelectedOrBesideIsQuiet()
{
    QSignalSpy clicked(m_tabs, &MultiRowTabWidget::clicked);
    QTest::mouseClick(m_tabs, Qt::LeftButton, {}, m_tabs->tabRect(0).center());
    // Right of the short row of three and on the page: no tab there.
    const QRect shortRowEnd = m_tabs->tabRect(10);
    QTest::mouseClick(m_tabs, Qt::LeftButton, {}, QPoint(shortRowEnd.right() + 20, shortRowEnd.center().y()));
    QTest::mouseClick(m_tabs, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseClick(m_tabs, Qt::RightButton, {}, m_tabs->tabRect(5).center());
    QCOMPARE(clicked.size(), 0);
    QCOMPARE(m_tabs->tab(), 0);
}

void MultiRowTabWidgetTest::rowsFollowSelection()
{
    // The selected tab's row moves next to the page; the tab that was
    // clicked is then found on the bottom line.
    QCOMPARE(m_tabs->tabRect(0).top(), 40);
    QCOMPARE(m_tabs->tabRect(4).top(), 20);
    QCOMPARE(m_tabs->tabRect(8).top(), 0);
    QTest::mouseClick(m_tabs, Qt::LeftButton, {}, m_tabs->tabRect(9).center());
    QCOMPARE(m_tabs->tab(), 9);
    QCOMPARE(m_tabs->tabRect(9).top(), 40);
    QCOMPARE(m_tabs->tabRect(0).top(), 20);
    QCOMPARE(m_tabs->tabRect(4).top(), 0);
}

void MultiRowTabWidgetTest::arrowKeys_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("tab");
    QTest::newRow("right") << 0 << int(Qt::Key_Right) << 1;
    QTest::newRow("right into the next row") << 3 << int(Qt::Key_Right) << 4;
    QTest::newRow("down") << 5 << int(Qt::Key_Down) << 6;
    QTest::newRow("left") << 5 << int(Qt::Key_Left) << 4;
    QTest::newRow("up") << 8 << int(Qt::Key_Up) << 7;
    QTest::newRow("left stops at the first") << 0 << int(Qt::Key_Left) << 0;
    QTest::newRow("right stops at the last") << 10 << int(Qt::Key_Right) << 10;
    QTest::newRow("home") << 6 << int(Qt::Key_Home) << 0;
    QTest::newRow("end") << 2 << int(Qt::Key_End) << 10;
}

void MultiRowTabWidgetTest::arrowKeys()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, tab);
    m_tabs->setTab(start);
    m_tabs->setFocus();
    QVERIFY(m_tabs->hasFocus());
    QSignalSpy clicked(m_tabs, &MultiRowTabWidget::clicked);
    QTest::keyClick(m_tabs, Qt::Key(key));
    QCOMPARE(m_tabs->tab(), tab);
    QCOMPARE(clicked.size(), start == tab ? 0 : 1);
    if (start != tab)
        QCOMPARE(clicked[0][0].toInt(), start);
    QCOMPARE(m_edits[tab]->isVisible(), true);
}

void MultiRowTabWidgetTest::ctrlKeysCycleFromInsidePage_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("tab");
    const int ctrl = Qt::ControlModifier;
    const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::newRow("ctrl+tab") << 2 << int(Qt::Key_Tab) << ctrl << 3;
    QTest::newRow("ctrl+tab wraps") << 10 << int(Qt::Key_Tab) << ctrl << 0;
    QTest::newRow("ctrl+shift+tab") << 2 << int(Qt::Key_Tab) << ctrlShift << 1;
    QTest::newRow("ctrl+shift+backtab wraps") << 0 << int(Qt::Key_Backtab) << ctrlShift << 10;
    QTest::newRow("ctrl+pagedown") << 7 << int(Qt::Key_PageDown) << ctrl << 8;
    QTest::newRow("ctrl+pageup") << 7 << int(Qt::Key_PageUp) << ctrl << 6;
}

void MultiRowTabWidgetTest::ctrlKeysCycleFromInsidePage()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, tab);
    m_tabs->setTab(start);
    m_window->activateWindow();
    m_edits[start]->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QTRY_VERIFY(m_edits[start]->hasFocus());
    QSignalSpy clicked(m_tabs, &MultiRowTabWidget::clicked);
    QTest::keyClick(m_edits[start], Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m_tabs->tab(), tab);
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked[0][0].toInt(), start);
}

void MultiRowTabWidgetTest::focusLeavesHiddenPage()
{
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_edits[0]->setFocus();
    QTRY_VERIFY(m_edits[0]->hasFocus());
    m_tabs->setTab(4);
    QVERIFY(m_tabs->hasFocus());
    // Tab order: the strip, then the selected page's control.
    QTest::keyClick(m_tabs, Qt::Key_Tab);
    QVERIFY(m_edits[4]->hasFocus());
}

QTEST_MAIN(MultiRowTabWidgetTest)
#include "tst_multirowtabwidget.moc"
