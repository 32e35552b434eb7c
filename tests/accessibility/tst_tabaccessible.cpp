// The multi-row tab control as assistive technology sees it through Qt's
// accessibility interfaces: the same tree the AT-SPI bridge walks.
#include "accessiblefactories.h"
#include "multirowtabwidget.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QSignalSpy>
#include <QTest>

using Quorvath::MultiRowTabWidget;

namespace {

const QStringList Captions = {"Armor", "Figurines", "Gloves", "Helms", "Misc. Items", "Rings",
                              "Shields", "Weapons", "Instruments", "Quivers", "Containers/Fluids"};

// Tabs that report themselves selected, by caption.
QStringList selectedTabs(QAccessibleInterface *list)
{
    QStringList selected;
    for (int i = 0; i < list->childCount(); ++i) {
        QAccessibleInterface *child = list->child(i);
        if (child->role() == QAccessible::PageTab && child->state().selected)
            selected.append(child->text(QAccessible::Name));
    }
    return selected;
}

} // namespace

class TabAccessibleTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Quorvath::installAccessibleFactories(); }

    void init()
    {
        m_tabs = new MultiRowTabWidget(Captions, 4, 20);
        m_tabs->resize(481, 177);
        m_tabs->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_tabs));
        m_list = QAccessible::queryAccessibleInterface(m_tabs);
        QVERIFY(m_list);
    }
    void cleanup() { delete m_tabs; }

    void presentsAPageTabListOfElevenCaptionedTabs()
    {
        // The tabs alone, each holding its page, named after its caption.
        QCOMPARE(m_list->role(), QAccessible::PageTabList);
        QCOMPARE(m_list->childCount(), Captions.size());
        for (int tab = 0; tab < Captions.size(); ++tab) {
            QAccessibleInterface *child = m_list->child(tab);
            QVERIFY(child && child->isValid());
            QCOMPARE(child->role(), QAccessible::PageTab);
            QCOMPARE(child->text(QAccessible::Name), Captions[tab]);
            QCOMPARE(child->parent(), m_list);
            QCOMPARE(m_list->indexOfChild(child), tab);
            QCOMPARE(m_list->child(tab), child);   // the same object each time: the bridge keys its paths on it
            QVERIFY(child->state().selectable);
            QCOMPARE(child->rect().center(), m_tabs->mapToGlobal(m_tabs->tabRect(tab).center()));
            QCOMPARE(m_list->childAt(child->rect().center().x(), child->rect().center().y()), child);

            QAccessibleInterface *page = QAccessible::queryAccessibleInterface(m_tabs->page(tab));
            QCOMPARE(page->text(QAccessible::Name), Captions[tab]);
            QCOMPARE(page->parent(), child);
            QCOMPARE(child->childCount(), 1);
            QCOMPARE(child->child(0), page);
            QCOMPARE(child->indexOfChild(page), 0);
            QCOMPARE(m_list->indexOfChild(page), -1);
            QCOMPARE(page->state().invisible, tab != 0);
        }
        QVERIFY(!m_list->child(Captions.size()) && !m_list->child(-1));
        // Below the strip, the selected tab's page.
        const QPoint inPage = m_tabs->mapToGlobal(m_tabs->pageRect().center());
        QCOMPARE(m_list->childAt(inPage.x(), inPage.y()), m_list->child(0));
        QCOMPARE(m_list->child(0)->childAt(inPage.x(), inPage.y()),
                 QAccessible::queryAccessibleInterface(m_tabs->page(0)));
    }

    void reportsTheSelectedTab()
    {
        QCOMPARE(selectedTabs(m_list), QStringList{"Armor"});
        for (int tab : {7, 2, 10, 0}) {
            m_tabs->setCurrentIndex(tab);
            QCOMPARE(selectedTabs(m_list), QStringList{Captions[tab]});
        }
    }

    void pressSelectsATabAsAClickDoes_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("clicks");
        QTest::newRow("another tab") << 8 << 1;
        QTest::newRow("the selected tab") << 0 << 0;
    }
    void pressSelectsATabAsAClickDoes()
    {
        QFETCH(int, tab);
        QFETCH(int, clicks);
        QSignalSpy clicked(m_tabs, &MultiRowTabWidget::currentChanged);
        QAccessibleActionInterface *action = m_list->child(tab)->actionInterface();
        QVERIFY(action);
        QCOMPARE(action->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        action->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(m_tabs->currentIndex(), tab);
        QCOMPARE(clicked.size(), clicks);
        action->doAction(QStringLiteral("no such action"));
        QCOMPARE(m_tabs->currentIndex(), tab);
    }

    void followsTheFocusToTheSelectedTab()
    {
        m_tabs->activateWindow();
        m_tabs->setFocus();
        QTRY_VERIFY(m_tabs->hasFocus());
        m_tabs->setCurrentIndex(3);
        QAccessibleInterface *focused = m_list->focusChild();
        QVERIFY(focused);
        QCOMPARE(focused->text(QAccessible::Name), QStringLiteral("Helms"));
        QVERIFY(focused->state().focused);
        QVERIFY(!m_list->child(0)->state().focused);
    }

    void aDestroyedControlLeavesNoLiveTabs()
    {
        QAccessibleInterface *tab = m_list->child(4);
        const QAccessible::Id id = QAccessible::uniqueId(tab);
        delete m_tabs;
        m_tabs = nullptr;
        // The tab list took its tabs with it out of Qt's cache.
        QVERIFY(!QAccessible::accessibleInterface(id));
    }

private:
    MultiRowTabWidget *m_tabs = nullptr;
    QAccessibleInterface *m_list = nullptr;
};

QTEST_MAIN(TabAccessibleTest)
#include "tst_tabaccessible.moc"
