#include "forms.h"
#include "mainwindow.h"
#include "statusclock.h"
#include "multirowtabwidget.h"
#include "twips.h"

#include <QAction>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include "core/minuteclock.h"

#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>


// The clock shows the system's short time without seconds: it moves on once a minute.
static QString shortTime()
{
    return MinuteClock::withoutSeconds(QLocale::system().timeFormat(QLocale::ShortFormat));
}

using namespace Quorvath;

namespace {

struct RecordingForms final : FormShower {
    QList<FormId> shown;
    void show(FormId form) override { shown.append(form); }
};

struct ScriptedQuestion final : Question {
    bool answer = false;
    struct Asked {
        QWidget *parent;
        QString text;
        QString caption;
    };
    QList<Asked> asked;
    std::function<void()> whileAsking;
    bool askYesNo(QWidget *parent, const QString &text, const QString &caption) override
    {
        asked.append({parent, text, caption});
        if (whileAsking)
            whileAsking();
        return answer;
    }
};

const QStringList Captions{"Armor", "Figurines", "Gloves", "Helms", "Misc. Items", "Rings",
                           "Shields", "Weapons", "Instruments", "Quivers", "Containers/Fluids"};

} // namespace

class MainWindowTest final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsOnArmor();
    void everyTabListsItsCategory_data();
    void everyTabListsItsCategory();
    void everyListedRowOnceAndNoOrphans();
    void rebuildEmptiesLabels();
    void clickShowsRowByKey_data();
    void clickShowsRowByKey();
    void torchUnderMiscItems();
    void keyboardShowsItem();
    void categoryMatchIsExact_data();
    void categoryMatchIsExact();
    void malformedKeyChangesNothing_data();
    void malformedKeyChangesNothing();
    void itemCountBeyondTableIsBounded_data();
    void itemCountBeyondTableIsBounded();
    void lists();
    void geometry_data();
    void geometry();
    void window();
    void menus_data();
    void menus();
    void helpShowsForms();
    void statusBar();
    void closing_data();
    void closing();
    void closeWhileAskingAsksOnce();
    void focusOrder();
    void valueTextCanBeSelected();
    void longTextOffersTooltip();
    void screenshot();

private:
    QTreeWidget *list(int tab) const { return m_window->findChild<QTreeWidget *>(QStringLiteral("lstData(%1)").arg(tab)); }
    QLabel *field(int column) const { return m_window->findChild<QLabel *>(QStringLiteral("lblField(%1)").arg(column)); }
    MultiRowTabWidget *tabs() const { return m_window->findChild<MultiRowTabWidget *>(QStringLiteral("SSTab1")); }
    QStringList fields() const;
    QStringList keys(int tab) const;
    QTreeWidgetItem *entry(int tab, const QString &key) const;
    void clickEntry(int tab, const QString &key);
    void selectTab(int tab);

    Catalog m_state;
    RecordingForms m_forms;
    ScriptedQuestion m_question;
    MainWindow *m_window = nullptr;
};

QStringList MainWindowTest::fields() const
{
    QStringList texts;
    for (int column = 1; column <= 6; ++column)
        texts << field(column)->text();
    return texts;
}

QStringList MainWindowTest::keys(int tab) const
{
    QStringList result;
    QTreeWidget *l = list(tab);
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        result << l->topLevelItem(i)->data(0, MainWindow::KeyRole).toString();
    return result;
}

QTreeWidgetItem *MainWindowTest::entry(int tab, const QString &key) const
{
    const int i = keys(tab).indexOf(key);
    return i < 0 ? nullptr : list(tab)->topLevelItem(i);
}

void MainWindowTest::clickEntry(int tab, const QString &key)
{
    QTreeWidgetItem *item = entry(tab, key);
    QVERIFY2(item, qPrintable(key));
    QTreeWidget *l = list(tab);
    l->scrollToItem(item);
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(item).center());
}

void MainWindowTest::selectTab(int tab)
{
    QTest::mouseClick(tabs(), Qt::LeftButton, {}, tabs()->tabRect(tab).center());
    QCOMPARE(tabs()->tab(), tab);
}

void MainWindowTest::init()
{
    m_state = {};
    m_forms.shown.clear();
    m_question = {};
    m_window = new MainWindow(m_state, m_forms, m_question);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void MainWindowTest::cleanup()
{
    m_question.answer = true;   // let it go
    delete m_window;
    m_window = nullptr;
}

void MainWindowTest::startsOnArmor()
{
    QCOMPARE(m_state.ItemCount, 227);
    QCOMPARE(tabs()->tab(), 0);
    QCOMPARE(tabs()->caption(), QStringLiteral("Armor"));
    QCOMPARE(list(0)->topLevelItemCount(), 23);
    for (int tab = 1; tab < 11; ++tab)
        QCOMPARE(list(tab)->topLevelItemCount(), 0);
    QCOMPARE(fields(), QStringList(6, QString()));
    for (int tab = 0; tab < 11; ++tab)
        QCOMPARE(list(tab)->isVisible(), tab == 0);
}

void MainWindowTest::everyTabListsItsCategory_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("entries");
    const int counts[] = {23, 9, 7, 11, 68, 8, 11, 59, 15, 7, 7};
    for (int tab = 0; tab < 11; ++tab)
        QTest::newRow(qPrintable(Captions[tab])) << tab << counts[tab];
}

void MainWindowTest::everyTabListsItsCategory()
{
    QFETCH(int, tab);
    QFETCH(int, entries);
    if (tab == 0)
        selectTab(1);
    selectTab(tab);
    QCOMPARE(tabs()->caption(), Captions[tab]);
    QCOMPARE(list(tab)->topLevelItemCount(), entries);
    QVERIFY(list(tab)->isVisible());
    // In row order, each entry named after its row and of this category.
    int previous = 0;
    for (int i = 0; i < entries; ++i) {
        const QTreeWidgetItem *item = list(tab)->topLevelItem(i);
        const std::optional<qint16> row = parseListKey(item->data(0, MainWindow::KeyRole).toString());
        QVERIFY(row);
        QVERIFY(*row > previous);
        previous = *row;
        QCOMPARE(item->text(0), m_state.ItemTable(*row, Name));
        QCOMPARE(m_state.ItemTable(*row, Category), Captions[tab]);
    }
}

void MainWindowTest::everyListedRowOnceAndNoOrphans()
{
    QStringList all;
    for (int tab = 10; tab >= 0; --tab) {
        selectTab(tab);
        all << keys(tab);
    }
    // Earlier lists keep what they held when their tab was left.
    for (int tab = 1; tab < 11; ++tab)
        QVERIFY(list(tab)->topLevelItemCount() > 0);
    QCOMPARE(all.size(), 225);
    all.removeDuplicates();
    QCOMPARE(all.size(), 225);
    QVERIFY(!all.contains("A112"));
    QVERIFY(!all.contains("A113"));
    QVERIFY(all.contains("A1"));
    QVERIFY(all.contains("A227"));
}

void MainWindowTest::rebuildEmptiesLabels()
{
    selectTab(7);
    QCOMPARE(list(7)->topLevelItemCount(), 59);
    clickEntry(7, "A3");
    QCOMPARE(field(1)->text(), m_state.ItemTable(3, Name));
    selectTab(0);
    QCOMPARE(list(0)->topLevelItemCount(), 23);
    QCOMPARE(fields(), QStringList(6, QString()));
    // Back to a tab filled before: rebuilt, not doubled, labels empty again.
    clickEntry(0, "A12");
    selectTab(7);
    QCOMPARE(list(7)->topLevelItemCount(), 59);
    QCOMPARE(list(7)->selectedItems().size(), 0);
    QCOMPARE(fields(), QStringList(6, QString()));
}

void MainWindowTest::clickShowsRowByKey_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("row");
    QTest::newRow("Leather Armor, A12") << 0 << 12;
    QTest::newRow("Eelskin Tunic under Armor, A206") << 0 << 206;
    QTest::newRow("Eelskin Tunic under Misc. Items, A207") << 4 << 207;
    QTest::newRow("last row, A227") << 10 << 227;
}

void MainWindowTest::clickShowsRowByKey()
{
    QFETCH(int, tab);
    QFETCH(int, row);
    if (tab != 0)
        selectTab(tab);
    const QString key = listKey(qint16(row));
    QCOMPARE(key, QStringLiteral("A%1").arg(row));
    clickEntry(tab, key);
    QStringList expected;
    for (int column = 1; column <= 6; ++column)
        expected << m_state.ItemTable(row, column);
    QCOMPARE(fields(), expected);
    if (row >= 206 && row <= 207)
        QCOMPARE(entry(tab, key)->text(0), QStringLiteral("Eelskin Tunic"));
}

void MainWindowTest::torchUnderMiscItems()
{
    selectTab(4);
    QCOMPARE(entry(4, "A1")->text(0), QStringLiteral("Torch"));
    clickEntry(4, "A1");
    QCOMPARE(fields(), QStringList({"Torch", "ALL", "N/A", "Casts the Mage Flame (MAFL) spell.",
                                    "One-time only.", "Useful for dungeon-exploration."}));
}

void MainWindowTest::keyboardShowsItem()
{
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    list(0)->setFocus();
    QTRY_VERIFY(list(0)->hasFocus());
    list(0)->setCurrentItem(list(0)->topLevelItem(0));
    QTest::keyClick(list(0), Qt::Key_Down);
    const int row = *parseListKey(keys(0).at(1));
    QCOMPARE(field(1)->text(), m_state.ItemTable(row, Name));
    QCOMPARE(field(6)->text(), m_state.ItemTable(row, Description));

    // Keys the list passes on at its ends do not step the tabs.
    for (Qt::Key key : {Qt::Key_End, Qt::Key_Down, Qt::Key_Right, Qt::Key_Home, Qt::Key_Up, Qt::Key_Left})
        QTest::keyClick(list(0), key);
    QCOMPARE(tabs()->tab(), 0);
    QVERIFY(list(0)->hasFocus());
}

void MainWindowTest::categoryMatchIsExact_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<bool>("listed");
    QTest::newRow("same") << "Armor" << true;
    QTest::newRow("lower case") << "armor" << false;
    QTest::newRow("trailing space") << "Armor " << false;
    QTest::newRow("trailing full stop") << "Armor." << false;
    QTest::newRow("shorter") << "Armo" << false;
    QTest::newRow("another tab's") << "Helms" << false;
}

void MainWindowTest::categoryMatchIsExact()
{
    QFETCH(QString, category);
    QFETCH(bool, listed);
    m_state.ItemTable.set(12, Category, category);
    m_window->LoadLists();
    QCOMPARE(keys(0).contains("A12"), listed);
    QCOMPARE(list(0)->topLevelItemCount(), listed ? 23 : 22);
}

void MainWindowTest::malformedKeyChangesNothing_data()
{
    QTest::addColumn<QVariant>("key");
    QTest::newRow("row 0") << QVariant("A0");
    QTest::newRow("past the table") << QVariant("A228");
    QTest::newRow("leading zero") << QVariant("A012");
    QTest::newRow("lower-case a") << QVariant("a12");
    QTest::newRow("letter only") << QVariant("A");
    QTest::newRow("empty") << QVariant("");
    QTest::newRow("no key at all") << QVariant();
    QTest::newRow("beyond 16 bits") << QVariant("A65548");
}

void MainWindowTest::malformedKeyChangesNothing()
{
    QFETCH(QVariant, key);
    clickEntry(0, "A13");
    const QStringList before = fields();
    QVERIFY(!before.first().isEmpty());
    QTreeWidgetItem stray;
    stray.setText(0, "Leather Armor");
    stray.setData(0, MainWindow::KeyRole, key);
    m_window->lstData_ItemClick(&stray);
    m_window->lstData_ItemClick(nullptr);
    QCOMPARE(fields(), before);
}

void MainWindowTest::itemCountBeyondTableIsBounded_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("armor");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("negative") << -5 << 0;
    QTest::newRow("up to row 12") << 12 << 1;
    QTest::newRow("past the last row") << 32000 << 23;
}

void MainWindowTest::itemCountBeyondTableIsBounded()
{
    QFETCH(int, count);
    QFETCH(int, armor);
    m_state.ItemCount = qint16(count);
    m_window->LoadLists();
    QCOMPARE(list(0)->topLevelItemCount(), armor);
}

void MainWindowTest::lists()
{
    for (int tab = 0; tab < 11; ++tab) {
        QTreeWidget *l = list(tab);
        QVERIFY(l);
        QCOMPARE(l->columnCount(), 1);
        QCOMPARE(l->headerItem()->text(0), QStringLiteral("Item"));
        QVERIFY(!l->header()->isHidden());
        QCOMPARE(l->columnWidth(0), Twips::px(tab == 0 ? 3000 : 6000));
        QVERIFY(l->font().bold());
        QCOMPARE(l->font().pointSize(), 8);
        QCOMPARE(l->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(!l->isSortingEnabled());
        QVERIFY(!l->accessibleName().isEmpty());
        QVERIFY(l->parentWidget() == tabs()->page(tab));
    }
}

void MainWindowTest::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("rect");
    const QString window = "client";
    QTest::newRow("SSTab1") << "SSTab1" << window << Twips::rect(0, 0, 7215, 2655);
    for (int tab = 0; tab < 11; ++tab) {
        const QString name = QStringLiteral("lstData(%1)").arg(tab);
        QTest::newRow(qPrintable(name)) << name << "SSTab1" << Twips::rect(120, 960, 6735, 1575);
    }
    QTest::newRow("ArmorInfo") << "ArmorInfo" << window << Twips::rect(0, 2760, 6615, 3615);
    QTest::newRow("sbStatusBar") << "sbStatusBar" << window << Twips::rect(0, 6435, 7215, 360);
    const struct {
        const char *name;
        QRect rect;
    } labels[] = {
        {"Label1", Twips::rect(240, 240, 855, 255)},    {"lblField(1)", Twips::rect(1080, 240, 5415, 255)},
        {"Label2", Twips::rect(240, 600, 855, 255)},    {"lblField(2)", Twips::rect(1080, 600, 5415, 255)},
        {"Label3", Twips::rect(240, 960, 1575, 255)},   {"lblField(3)", Twips::rect(1920, 960, 4575, 495)},
        {"Label5", Twips::rect(240, 1560, 1455, 255)},  {"lblField(4)", Twips::rect(1680, 1560, 4815, 495)},
        {"Label6", Twips::rect(240, 2160, 615, 255)},   {"lblField(5)", Twips::rect(840, 2160, 5655, 255)},
        {"Label4", Twips::rect(240, 2520, 855, 255)},   {"lblField(6)", Twips::rect(1200, 2520, 5295, 975)},
    };
    for (const auto &label : labels)
        QTest::newRow(label.name) << label.name << "ArmorInfo" << label.rect;
}

void MainWindowTest::geometry()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, rect);
    QWidget *control = m_window->findChild<QWidget *>(name);
    QVERIFY(control);
    QWidget *origin = container == "client" ? m_window->centralWidget() : m_window->findChild<QWidget *>(container);
    QVERIFY(origin);
    // Relative to the container's top left, whatever widgets stand between.
    const QPoint topLeft = control->mapTo(m_window, QPoint(0, 0)) - origin->mapTo(m_window, QPoint(0, 0));
    QCOMPARE(QRect(topLeft, control->size()), rect);
    // Every control, on every tab, stays put.
    selectTab(7);
    QCOMPARE(control->size(), rect.size());
}

void MainWindowTest::window()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("d"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Quorvath Itemlist For Windows"));
    QWidget *client = m_window->centralWidget();
    QCOMPARE(client->y(), m_window->menuBar()->geometry().bottom() + 1);
    // Client area below the menu bar: 7215 x 6795 twips.
    QCOMPARE(m_window->width(), Twips::px(7215));
    QCOMPARE(m_window->height() - client->y(), Twips::px(6795));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    const Qt::WindowFlags flags = m_window->windowFlags();
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    // Captions in the design's 8-point font; the details frame on every tab.
    QCOMPARE(m_window->findChild<QLabel *>("Label3")->font().pointSize(), 8);
    QCOMPARE(m_window->findChild<QGroupBox *>("ArmorInfo")->title(), QStringLiteral("Information"));
    for (int tab : {4, 10}) {
        selectTab(tab);
        QVERIFY(m_window->findChild<QGroupBox *>("ArmorInfo")->isVisible());
    }
    // Every caption holds in its box on one line, in whatever sans-serif
    // the desktop offers: nothing of "Effect(s) of Equipping:" is cut off.
    for (const char *name : {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6"}) {
        auto *label = m_window->findChild<QLabel *>(name);
        const QRect needed = QFontMetrics(label->font()).boundingRect(label->contentsRect(), Qt::TextWordWrap, label->text());
        QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(), name);
        QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->width(), name);
    }
    const char *accessible[] = {"Item Name", "Usable By", "Effect(s) of Equipping", "Activated Effect(s)",
                                "# Uses", "Description"};
    for (int column = 1; column <= 6; ++column) {
        QCOMPARE(field(column)->accessibleName(), QString::fromLatin1(accessible[column - 1]));
        QCOMPARE(field(column)->textFormat(), Qt::PlainText);
        QCOMPARE(field(column)->focusPolicy(), Qt::NoFocus);
        QVERIFY(field(column)->textInteractionFlags() & Qt::TextSelectableByMouse);
    }
}

void MainWindowTest::menus_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("mnufile") << "mnufile" << "File" << "" << true;
    QTest::newRow("mnuquit") << "mnuquit" << "Quit" << "mnufile" << true;
    QTest::newRow("mnusearch") << "mnusearch" << "Search" << "" << true;
    QTest::newRow("mnusearchfindspecific") << "mnusearchfindspecific" << "Find Specific Item" << "mnusearch" << false;
    QTest::newRow("mnuhelp") << "mnuhelp" << "Help" << "" << true;
    QTest::newRow("mnuterms") << "mnuterms" << "Terminology" << "mnuhelp" << true;
    QTest::newRow("mnutermitemname") << "mnutermitemname" << "Item Name" << "mnuterms" << true;
    QTest::newRow("mnutermusableby") << "mnutermusableby" << "Usable By" << "mnuterms" << true;
    QTest::newRow("mnutermeffects") << "mnutermeffects" << "Effects of Equipping" << "mnuterms" << true;
    QTest::newRow("mnutermactivated") << "mnutermactivated" << "Activated Effects" << "mnuterms" << true;
    QTest::newRow("mnutermuses") << "mnutermuses" << "# Uses" << "mnuterms" << true;
    QTest::newRow("mnutermuses1time") << "mnutermuses1time" << "One-time only." << "mnutermuses" << true;
    QTest::newRow("mnutermuseslimited") << "mnutermuseslimited" << "Limited." << "mnutermuses" << true;
    QTest::newRow("mnutermusesmultiple") << "mnutermusesmultiple" << "Multiple." << "mnutermuses" << true;
    QTest::newRow("mnuitemusescontinuous") << "mnuitemusescontinuous" << "Continuous while equipped." << "mnutermuses" << true;
    QTest::newRow("mnutermdesc") << "mnutermdesc" << "Description" << "mnuterms" << true;
    QTest::newRow("mnuabout") << "mnuabout" << "About Quorvath Itemlist" << "mnuhelp" << true;
}

void MainWindowTest::menus()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, parent);
    QFETCH(bool, enabled);
    QAction *action = m_window->findChild<QAction *>(name);
    QVERIFY(action);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->isEnabled(), enabled);
    QVERIFY(action->isVisible());
    QVERIFY(action->shortcut().isEmpty());
    QVERIFY(!action->isCheckable());
    // Where it hangs: the menu bar for the top level, its menu otherwise.
    QList<QAction *> siblings = parent.isEmpty() ? m_window->menuBar()->actions()
                                                 : m_window->findChild<QMenu *>(parent)->actions();
    QVERIFY(siblings.contains(action));
    if (QMenu *menu = action->menu())
        QCOMPARE(menu->objectName(), name);
}

void MainWindowTest::helpShowsForms()
{
    const struct {
        const char *name;
        FormId form;
    } entries[] = {
        {"mnutermitemname", FormId::frmItemname},     {"mnutermusableby", FormId::frmUsableby},
        {"mnutermeffects", FormId::frmEffects},       {"mnutermactivated", FormId::frmActivated},
        {"mnutermuses1time", FormId::frm1time},       {"mnutermuseslimited", FormId::frmLimited},
        {"mnutermusesmultiple", FormId::frmMultiple}, {"mnuitemusescontinuous", FormId::frmContinuous},
        {"mnutermdesc", FormId::frmDescription},      {"mnuabout", FormId::frmAbout},
    };
    QList<FormId> expected;
    for (const auto &entry : entries) {
        m_window->findChild<QAction *>(entry.name)->trigger();
        expected << entry.form;
    }
    m_window->findChild<QAction *>("mnusearchfindspecific")->trigger();
    QCOMPARE(m_forms.shown, expected);
    QVERIFY(m_question.asked.isEmpty());
    QVERIFY(m_window->isVisible());
}

void MainWindowTest::statusBar()
{
    auto *bar = m_window->findChild<ClockStatusBar *>("sbStatusBar");
    QVERIFY(bar);
    QCOMPARE(bar->textPanel()->text(), QStringLiteral("Status"));
    QCOMPARE(bar->datePanel()->width(), Twips::px(1440));
    QCOMPARE(bar->timePanel()->width(), Twips::px(1440));
    // The text panel takes the rest, near the design's 4275 twips.
    QVERIFY(qAbs(bar->textPanel()->width() - Twips::px(4275)) <= 12);
    QVERIFY(bar->textPanel()->x() < bar->datePanel()->x());
    QVERIFY(bar->datePanel()->x() < bar->timePanel()->x());

    const QDateTime now(QDate(2001, 9, 18), QTime(21, 0, 30));
    bar->setClock([now] { return now; });
    QCOMPARE(bar->datePanel()->text(), QLocale::system().toString(now.date(), QLocale::ShortFormat));
    QCOMPARE(bar->timePanel()->text(), QLocale::system().toString(now.time(), shortTime()));
    QCOMPARE(bar->minuteTimer()->interval(), 30000);
    QVERIFY(bar->minuteTimer()->isActive());
    selectTab(3);
    clickEntry(3, "A17");
    QCOMPARE(bar->textPanel()->text(), QStringLiteral("Status"));
}

void MainWindowTest::closing_data()
{
    QTest::addColumn<bool>("viaMenu");
    QTest::addColumn<bool>("answer");
    QTest::newRow("close box, No") << false << false;
    QTest::newRow("close box, Yes") << false << true;
    QTest::newRow("File > Quit, No") << true << false;
    QTest::newRow("File > Quit, Yes") << true << true;
}

void MainWindowTest::closing()
{
    QFETCH(bool, viaMenu);
    QFETCH(bool, answer);
    selectTab(7);
    clickEntry(7, "A5");
    const QStringList before = fields();
    QSignalSpy unloaded(m_window, &MainWindow::unloaded);
    m_question.answer = answer;

    if (viaMenu)
        m_window->findChild<QAction *>("mnuquit")->trigger();
    else
        QCOMPARE(m_window->close(), answer);

    QCOMPARE(m_question.asked.size(), 1);
    QCOMPARE(m_question.asked[0].parent, m_window);
    QCOMPARE(m_question.asked[0].text, QStringLiteral("Are you sure you want to quit?"));
    QCOMPARE(m_question.asked[0].caption, QStringLiteral("Quorvath Itemlist For Windows"));
    QCOMPARE(unloaded.size(), answer ? 1 : 0);
    QCOMPARE(m_window->isVisible(), !answer);
    // No keeps everything as it was.
    QCOMPARE(tabs()->tab(), 7);
    QCOMPARE(list(7)->topLevelItemCount(), 59);
    QCOMPARE(list(7)->selectedItems().size(), 1);
    QCOMPARE(fields(), before);
    QVERIFY(m_forms.shown.isEmpty());
}

void MainWindowTest::closeWhileAskingAsksOnce()
{
    // A second close request (a logout, say) arrives while the question is
    // open: it asks nothing more, and the first answer alone decides.
    QSignalSpy unloaded(m_window, &MainWindow::unloaded);
    m_question.whileAsking = [this] { m_window->close(); };
    m_question.answer = false;
    QVERIFY(!m_window->close());
    QCOMPARE(m_question.asked.size(), 1);
    QCOMPARE(unloaded.size(), 0);
    QVERIFY(m_window->isVisible());
    m_question.asked.clear();
    m_question.answer = true;
    QVERIFY(m_window->close());
    QCOMPARE(m_question.asked.size(), 1);
    QCOMPARE(unloaded.size(), 1);
    m_question.whileAsking = nullptr;
}

void MainWindowTest::focusOrder()
{
    // The tab control first, then the selected tab's list; nothing else.
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    tabs()->setFocus();
    QTRY_VERIFY(tabs()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), list(0));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), tabs());
    // Arrow keys on the strip select a tab and rebuild its list.
    QTest::keyClick(tabs(), Qt::Key_Right);
    QCOMPARE(tabs()->tab(), 1);
    QCOMPARE(list(1)->topLevelItemCount(), 9);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), list(1));
    // Ctrl+Tab from inside the list moves on; the focus stays on the strip.
    QTest::keyClick(list(1), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs()->tab(), 2);
    QCOMPARE(list(2)->topLevelItemCount(), 7);
    QCOMPARE(QApplication::focusWidget(), tabs());
}

void MainWindowTest::valueTextCanBeSelected()
{
    clickEntry(0, "A12");
    QLabel *name = field(1);
    const QString text = name->text();
    QVERIFY(!text.isEmpty());
    // Drag across the whole text: selected though the label takes no focus.
    QTest::mousePress(name, Qt::LeftButton, {}, QPoint(2, name->height() / 2));
    QTest::mouseMove(name, QPoint(name->width() - 3, name->height() / 2));
    QTest::mouseRelease(name, Qt::LeftButton, {}, QPoint(name->width() - 3, name->height() / 2));
    QCOMPARE(name->selectedText(), text);
    QVERIFY(!name->hasFocus());
}

void MainWindowTest::longTextOffersTooltip()
{
    // Count the catalog's cells that do not fit their boxes, for the record;
    // each of them must come with the full text as tooltip.
    int cutOff = 0;
    for (int tab = 0; tab < 11; ++tab) {
        if (tab != tabs()->tab())
            selectTab(tab);
        for (const QString &key : keys(tab)) {
            m_window->lstData_ItemClick(entry(tab, key));
            for (int column = 1; column <= 6; ++column) {
                QLabel *label = field(column);
                const QRect box = label->contentsRect().adjusted(label->indent(), label->indent(), 0, 0);
                const QRect needed = QFontMetrics(label->font()).boundingRect(box, Qt::TextWordWrap, label->text());
                const bool fits = needed.width() <= box.width() && needed.height() <= box.height();
                QCOMPARE(label->toolTip().isEmpty(), fits);
                if (!fits) {
                    ++cutOff;
                    QVERIFY(label->toolTip().contains(label->text().toHtmlEscaped()));
                }
            }
        }
    }
    qInfo("catalog cells cut off by their boxes: %d", cutOff);

    // A text with markup is shown as it is, in the label and in the tooltip.
    const QString markup = QStringLiteral("<b>Not bold</b> & \"quoted\"  ").repeated(30);
    m_state.ItemTable.set(12, Description, markup);
    selectTab(0);
    clickEntry(0, "A12");
    QCOMPARE(field(6)->text(), markup);
    QVERIFY(field(6)->toolTip().contains(markup.toHtmlEscaped()));
    QVERIFY(!field(6)->toolTip().contains(QStringLiteral("<b>")));
    // Emptied with the labels.
    selectTab(1);
    QVERIFY(field(6)->toolTip().isEmpty());
}

void MainWindowTest::screenshot()
{
    // QI_SCREENSHOT=/tmp/d.png writes the window with an item shown.
    const QString path = qEnvironmentVariable("QI_SCREENSHOT");
    if (path.isEmpty())
        QSKIP("set QI_SCREENSHOT to a file name to write a picture of the window");
    selectTab(4);
    clickEntry(4, "A1");
    QVERIFY(m_window->grab().save(path));
    // QI_SCREENSHOT_HOLD=ms keeps it on screen to be looked at with its frame.
    QTest::qWait(qEnvironmentVariableIntValue("QI_SCREENSHOT_HOLD"));
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
