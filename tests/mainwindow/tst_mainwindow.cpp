#include "accessiblefactories.h"
#include "classicframe.h"
#include "clockstatusbar.h"
#include "forms.h"
#include "mainwindow.h"
#include "multirowtabwidget.h"
#include "twips.h"
#include "uifont.h"
#include "valuelabel.h"
#include "whenshown.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>

#include <functional>

using namespace Quorvath;

namespace {

struct RecordingForms final : FormShower {
    QList<FormId> shown;
    void show(FormId form) override { shown.append(form); }
};

struct ScriptedQuestion final : Question {
    bool answer = false;
    QStringList asked;   // parent check, text and caption of each question
    std::function<void()> whileAsking;
    QWidget *expectedParent = nullptr;
    bool askYesNo(QWidget *parent, const QString &text, const QString &caption) override
    {
        asked << (parent == expectedParent ? text + '|' + caption : QStringLiteral("wrong parent"));
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
    void initTestCase()
    {
        installAccessibleFactories();
        const UiFont::Choice choice = UiFont::choose(&MainWindow::designedTexts);
        QApplication::setFont(choice.font);
        m_twips = choice.twips;
    }

    void init()
    {
        m_state = {};
        m_forms.shown.clear();
        m_question = {};
        m_window = new MainWindow(m_state, m_forms, m_question, m_twips);
        m_question.expectedParent = m_window;
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }

    void cleanup()
    {
        m_question.answer = true;   // let it go
        delete m_window;
        m_window = nullptr;
    }

    void startsOnArmor()
    {
        QCOMPARE(m_state.rowCount, 227);
        QCOMPARE(tabs()->tabText(tabs()->currentIndex()), QStringLiteral("Armor"));
        QCOMPARE(list(0)->topLevelItemCount(), 23);
        // The other lists are empty and hidden: they are not made before their tab is chosen.
        for (int tab = 1; tab < 11; ++tab)
            QVERIFY(!list(tab) || (list(tab)->topLevelItemCount() == 0 && !list(tab)->isVisible()));
        QVERIFY(list(0)->isVisible());
        QCOMPARE(fields(), QStringList(6, QString()));
    }

    void everyTabListsItsCategory_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("entries");
        const int counts[] = {23, 9, 7, 11, 68, 8, 11, 59, 15, 7, 7};   // 225: rows 112 and 113 ("???") nowhere
        for (int tab = 0; tab < 11; ++tab)
            QTest::newRow(qPrintable(Captions[tab])) << tab << counts[tab];
    }
    void everyTabListsItsCategory()
    {
        QFETCH(int, tab);
        QFETCH(int, entries);
        selectTab(tab == 0 ? 1 : 0);
        selectTab(tab);
        QCOMPARE(tabs()->tabText(tabs()->currentIndex()), Captions[tab]);
        QCOMPARE(list(tab)->topLevelItemCount(), entries);
        QVERIFY(list(tab)->isVisible());
        QVERIFY(!keys(tab).contains("A112") && !keys(tab).contains("A113"));
        // In row order, each entry named after its row and of exactly this category.
        int previous = 0;
        for (const QString &key : keys(tab)) {
            const std::optional<qint16> row = parseListKey(key);
            QVERIFY(row && *row > previous);
            previous = *row;
            QCOMPARE(entry(tab, key)->text(0), m_state.table(*row, Name));
            QCOMPARE(m_state.table(*row, Category), Captions[tab]);
        }
    }

    void rebuildEmptiesLabels()
    {
        selectTab(7);
        clickEntry(7, "A3");
        QCOMPARE(field(1)->text(), m_state.table(3, Name));
        selectTab(0);
        QCOMPARE(fields(), QStringList(6, QString()));
        QCOMPARE(list(7)->topLevelItemCount(), 59);   // a list left keeps what it held
        // Back to a tab filled before: rebuilt, not doubled, nothing selected.
        clickEntry(0, "A12");
        selectTab(7);
        QCOMPARE(list(7)->topLevelItemCount(), 59);
        QCOMPARE(list(7)->selectedItems().size(), 0);
        QCOMPARE(fields(), QStringList(6, QString()));
    }

    void clickShowsRowByKey_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("name");
        QTest::newRow("Torch under Misc. Items, A1") << 4 << 1 << "Torch";
        QTest::newRow("Leather Armor, A12") << 0 << 12 << "Leather Armor";
        QTest::newRow("Eelskin Tunic under Armor, A206") << 0 << 206 << "Eelskin Tunic";
        QTest::newRow("Eelskin Tunic under Misc. Items, A207") << 4 << 207 << "Eelskin Tunic";
        QTest::newRow("last row, A227") << 10 << 227 << "Molten Tar";
    }
    void clickShowsRowByKey()
    {
        QFETCH(int, tab);
        QFETCH(int, row);
        QFETCH(QString, name);
        selectTab(tab);
        const QString key = QStringLiteral("A%1").arg(row);
        QCOMPARE(listKey(qint16(row)), key);
        QCOMPARE(entry(tab, key)->text(0), name);
        clickEntry(tab, key);
        QStringList expected;
        for (int column = 1; column <= 6; ++column)
            expected << m_state.table(row, column);
        QCOMPARE(fields(), expected);
        if (row == 1)
            QCOMPARE(fields(), QStringList({"Torch", "ALL", "N/A", "Casts the Mage Flame (MAFL) spell.",
                                            "One-time only.", "Useful for dungeon-exploration."}));
    }

    void loadListsMatchesExactly_data()
    {
        // Row 12 (Armor) with its category changed, and the table cut at rowCount.
        QTest::addColumn<QString>("category");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("armor");
        QTest::newRow("same") << "Armor" << 227 << 23;
        QTest::newRow("lower case") << "armor" << 227 << 22;
        QTest::newRow("trailing space") << "Armor " << 227 << 22;
        QTest::newRow("trailing full stop") << "Armor." << 227 << 22;
        QTest::newRow("shorter") << "Armo" << 227 << 22;
        QTest::newRow("another tab's") << "Helms" << 227 << 22;
        QTest::newRow("none") << "Armor" << 0 << 0;
        QTest::newRow("negative") << "Armor" << -5 << 0;
        QTest::newRow("up to row 12") << "Armor" << 12 << 1;
        QTest::newRow("past the last row") << "Armor" << 32000 << 23;
    }
    void loadListsMatchesExactly()
    {
        QFETCH(QString, category);
        QFETCH(int, count);
        QFETCH(int, armor);
        m_state.table.set(12, Category, category);
        m_state.rowCount = qint16(count);
        // Choosing the tab again loads the lists anew.
        selectTab(1);
        selectTab(0);
        QCOMPARE(list(0)->topLevelItemCount(), armor);
        QCOMPARE(keys(0).contains("A12"), category == "Armor" && count >= 12);
    }

    void malformedKeyChangesNothing_data()
    {
        QTest::addColumn<QVariant>("key");
        for (const char *key : {"A0", "A228", "A012", "a12", "A", "", "A65548"})
            QTest::newRow(*key ? key : "empty") << QVariant(key);
        QTest::newRow("no key at all") << QVariant();
    }
    void malformedKeyChangesNothing()
    {
        QFETCH(QVariant, key);
        clickEntry(0, "A13");
        const QStringList before = fields();
        // An entry with that key, planted in the list, is clicked.
        auto *stray = new QTreeWidgetItem(list(0), {"Leather Armor"});
        stray->setData(0, MainWindow::KeyRole, key);
        clickEntry(0, key.toString());
        QVERIFY(stray->isSelected());
        QCOMPARE(fields(), before);
    }

    void geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("SSTab1") << "SSTab1" << "" << m_twips.rect(0, 0, 7215, 2655);
        for (int tab = 0; tab < 11; ++tab) {
            const QString name = QStringLiteral("lstData(%1)").arg(tab);
            QTest::newRow(qPrintable(name)) << name << "SSTab1" << m_twips.rect(120, 960, 6735, 1575);
        }
        QTest::newRow("ArmorInfo") << "ArmorInfo" << "" << m_twips.rect(0, 2760, 6615, 3615);
        QTest::newRow("sbStatusBar") << "sbStatusBar" << "" << m_twips.rect(0, 6435, 7215, 360);
        const struct {
            const char *name;
            QRect rect;
        } labels[] = {
            {"Label1", m_twips.rect(240, 240, 855, 255)},    {"lblField(1)", m_twips.rect(1080, 240, 5415, 255)},
            {"Label2", m_twips.rect(240, 600, 855, 255)},    {"lblField(2)", m_twips.rect(1080, 600, 5415, 255)},
            {"Label3", m_twips.rect(240, 960, 1575, 255)},   {"lblField(3)", m_twips.rect(1920, 960, 4575, 495)},
            {"Label5", m_twips.rect(240, 1560, 1455, 255)},  {"lblField(4)", m_twips.rect(1680, 1560, 4815, 495)},
            {"Label6", m_twips.rect(240, 2160, 615, 255)},   {"lblField(5)", m_twips.rect(840, 2160, 5655, 255)},
            {"Label4", m_twips.rect(240, 2520, 855, 255)},   {"lblField(6)", m_twips.rect(1200, 2520, 5295, 975)},
        };
        for (const auto &label : labels)
            QTest::newRow(label.name) << label.name << "ArmorInfo" << label.rect;
    }
    void geometry()
    {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QRect, rect);
        if (name.startsWith("lstData"))
            selectTab(name.mid(8).chopped(1).toInt());
        QWidget *control = m_window->findChild<QWidget *>(name);
        QWidget *origin = container.isEmpty() ? m_window->centralWidget() : m_window->findChild<QWidget *>(container);
        QVERIFY(control && origin);
        // Relative to the container's top left, whatever widgets stand between.
        const QPoint topLeft = control->mapTo(m_window, QPoint(0, 0)) - origin->mapTo(m_window, QPoint(0, 0));
        QCOMPARE(QRect(topLeft, control->size()), rect);
        selectTab(7);   // on every tab, every control stays put and only its own list shows
        QCOMPARE(control->size(), rect.size());
        QCOMPARE(control->isVisible(), !name.startsWith("lstData") || name == "lstData(7)");
    }

    void window()
    {
        QCOMPARE(m_window->objectName(), QStringLiteral("d"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Quorvath Itemlist For Windows"));
        // Client area below the menu bar: 7215 x 6795 twips, fixed, no maximize box.
        QWidget *client = m_window->centralWidget();
        QCOMPARE(client->y(), m_window->menuBar()->geometry().bottom() + 1);
        QCOMPARE(QSize(m_window->width(), m_window->height() - client->y()), m_twips.size(7215, 6795));
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
        const Qt::WindowFlags flags = m_window->windowFlags();
        QCOMPARE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMaximizeButtonHint),
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint);
        QCOMPARE(m_window->findChild<ClassicFrame *>("ArmorInfo")->title(), QStringLiteral("Information"));
        for (int tab = 0; tab < 11; ++tab) {
            selectTab(tab);
            QVERIFY(list(tab)->columnCount() == 1 && !list(tab)->header()->isHidden());
            QCOMPARE(list(tab)->headerItem()->text(0), QStringLiteral("Item"));
            QCOMPARE(list(tab)->columnWidth(0), m_twips.px(tab == 0 ? 3000 : 6000));
            QVERIFY(list(tab)->font().bold() && list(tab)->font().pointSize() == 8);
            QCOMPARE(list(tab)->editTriggers(), QAbstractItemView::NoEditTriggers);
            QVERIFY(!list(tab)->isSortingEnabled() && !list(tab)->accessibleName().isEmpty());
        }
        // Every caption fits its box on one line in whatever sans-serif the desktop offers.
        for (const char *name : {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6"}) {
            auto *label = m_window->findChild<QLabel *>(name);
            QCOMPARE(label->font().pointSize(), 8);
            const QRect needed = QFontMetrics(label->font()).boundingRect(label->contentsRect(), Qt::TextWordWrap, label->text());
            QVERIFY2(needed.height() <= label->height(), name);
            QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->width(), name);
        }
        // A screen reader reads each value as its name, labelled by its caption.
        const char *captions[] = {"Item Name:", "Usable By:", "Effect(s) of Equipping:", "Activated Effect(s):",
                                  "# Uses:", "Description:"};
        clickEntry(0, "A12");
        for (int column = 1; column <= 6; ++column) {
            QCOMPARE(field(column)->focusPolicy(), Qt::NoFocus);
            QAccessibleInterface *value = QAccessible::queryAccessibleInterface(field(column));
            QCOMPARE(value->text(QAccessible::Name), m_state.table(12, column));
            const auto labels = value->relations(QAccessible::Label);
            QCOMPARE(labels.size(), 1);
            QCOMPARE(labels.first().first->text(QAccessible::Name), QString::fromLatin1(captions[column - 1]));
        }
    }

    void menus_data()
    {
        // Each entry: where it hangs, whether enabled, and the form it shows (-1: none).
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("form");
        const auto row = [](const char *name, const char *caption, const char *parent, bool enabled, int form) {
            QTest::newRow(name) << name << caption << parent << enabled << form;
        };
        row("mnufile", "File", "", true, -1);
        row("mnuquit", "Quit", "mnufile", true, -1);
        row("mnusearch", "Search", "", true, -1);
        row("mnusearchfindspecific", "Find Specific Item", "mnusearch", false, -1);
        row("mnuhelp", "Help", "", true, -1);
        row("mnuterms", "Terminology", "mnuhelp", true, -1);
        row("mnutermitemname", "Item Name", "mnuterms", true, int(FormId::TermItemName));
        row("mnutermusableby", "Usable By", "mnuterms", true, int(FormId::TermUsableBy));
        row("mnutermeffects", "Effects of Equipping", "mnuterms", true, int(FormId::TermEffects));
        row("mnutermactivated", "Activated Effects", "mnuterms", true, int(FormId::TermActivated));
        row("mnutermuses", "# Uses", "mnuterms", true, -1);
        row("mnutermuses1time", "One-time only.", "mnutermuses", true, int(FormId::TermOneTime));
        row("mnutermuseslimited", "Limited.", "mnutermuses", true, int(FormId::TermLimited));
        row("mnutermusesmultiple", "Multiple.", "mnutermuses", true, int(FormId::TermMultiple));
        row("mnuitemusescontinuous", "Continuous while equipped.", "mnutermuses", true, int(FormId::TermContinuous));
        row("mnutermdesc", "Description", "mnuterms", true, int(FormId::TermDescription));
        row("mnuabout", "About Quorvath Itemlist", "mnuhelp", true, int(FormId::About));
    }
    void menus()
    {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(int, form);
        QAction *action = m_window->findChild<QAction *>(name);
        QVERIFY(action);
        QTEST(action->text(), "caption");
        QTEST(action->isEnabled(), "enabled");
        QVERIFY(action->isVisible() && action->shortcut().isEmpty() && !action->isCheckable());
        const QList<QAction *> siblings = parent.isEmpty() ? m_window->menuBar()->actions()
                                                           : m_window->findChild<QMenu *>(parent)->actions();
        QVERIFY(siblings.contains(action));
        if (QMenu *menu = action->menu())
            QCOMPARE(menu->objectName(), name);
        if (name == "mnuquit")
            return;   // see closing()
        action->trigger();
        QCOMPARE(m_forms.shown, form < 0 ? QList<FormId>() : QList<FormId>{FormId(form)});
        QVERIFY(m_question.asked.isEmpty() && m_window->isVisible());
    }

    void statusBar()
    {
        auto *bar = m_window->findChild<ClockStatusBar *>("sbStatusBar");
        auto *text = bar->findChild<QLabel *>("panel(1)");
        auto *date = bar->findChild<QLabel *>("panel(2)");
        auto *time = bar->findChild<QLabel *>("panel(3)");
        QCOMPARE(text->text(), QStringLiteral("Status"));
        QCOMPARE(date->width(), m_twips.px(1440));
        QCOMPARE(time->width(), m_twips.px(1440));
        // The text panel takes the rest, near the design's 4275 twips; left to right: text, date, time.
        QVERIFY(qAbs(text->width() - m_twips.px(4275)) <= 12);
        QVERIFY(text->x() < date->x() && date->x() < time->x());
        QVERIFY(!date->text().isEmpty() && !time->text().isEmpty());
        selectTab(3);
        clickEntry(3, "A17");
        QCOMPARE(text->text(), QStringLiteral("Status"));
    }

    void closing_data()
    {
        QTest::addColumn<bool>("viaMenu");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("closedWhileAsking");   // a second request (a logout, say) asks nothing more
        QTest::newRow("close box, No") << false << false << false;
        QTest::newRow("close box, Yes") << false << true << false;
        QTest::newRow("File > Quit, No") << true << false << false;
        QTest::newRow("File > Quit, Yes") << true << true << false;
        QTest::newRow("close box, No, closed again while asking") << false << false << true;
        QTest::newRow("close box, Yes, closed again while asking") << false << true << true;
    }
    void closing()
    {
        QFETCH(bool, viaMenu);
        QFETCH(bool, answer);
        QFETCH(bool, closedWhileAsking);
        selectTab(7);
        clickEntry(7, "A5");
        const QStringList before = fields();
        QSignalSpy unloaded(m_window, &MainWindow::unloaded);
        m_question.answer = answer;
        if (closedWhileAsking)
            m_question.whileAsking = [this] { m_window->close(); };
        if (viaMenu)
            m_window->findChild<QAction *>("mnuquit")->trigger();
        else
            QCOMPARE(m_window->close(), answer);

        const QString question("Are you sure you want to quit?|Quorvath Itemlist For Windows");
        QCOMPARE(m_question.asked, QStringList{question});
        QCOMPARE(unloaded.size(), answer ? 1 : 0);
        QCOMPARE(m_window->isVisible(), !answer);
        QVERIFY(m_forms.shown.isEmpty());
        if (answer)
            return;
        // No keeps everything as it was, and the next close asks again.
        QCOMPARE(tabs()->currentIndex(), 7);
        QCOMPARE(list(7)->topLevelItemCount(), 59);
        QCOMPARE(list(7)->selectedItems().size(), 1);
        QCOMPARE(fields(), before);
        m_question.answer = true;
        QVERIFY(m_window->close());
        QCOMPARE(m_question.asked, QStringList(2, question));
        QCOMPARE(unloaded.size(), 1);
    }

    void keyboard()
    {
        // The tab control first, then the selected tab's list; nothing else.
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        tabs()->setFocus();
        QTRY_VERIFY(tabs()->hasFocus());
        QTest::keyClick(tabs(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), list(0));
        // Selecting with the keyboard shows the item; keys the list passes on
        // at its ends do not step the tabs.
        list(0)->setCurrentItem(list(0)->topLevelItem(0));
        QTest::keyClick(list(0), Qt::Key_Down);
        const int row = *parseListKey(keys(0).at(1));
        QCOMPARE(field(1)->text(), m_state.table(row, Name));
        QCOMPARE(field(6)->text(), m_state.table(row, Description));
        for (Qt::Key key : {Qt::Key_End, Qt::Key_Down, Qt::Key_Right, Qt::Key_Home, Qt::Key_Up, Qt::Key_Left})
            QTest::keyClick(list(0), key);
        QCOMPARE(tabs()->currentIndex(), 0);
        QCOMPARE(QApplication::focusWidget(), list(0));
        QTest::keyClick(list(0), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), tabs());
        // Arrow keys on the strip select a tab and rebuild its list.
        QTest::keyClick(tabs(), Qt::Key_Right);
        QCOMPARE(list(1)->topLevelItemCount(), 9);
        QTest::keyClick(tabs(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), list(1));
        // Ctrl+Tab from inside the list moves on; the focus goes to the strip.
        QTest::keyClick(list(1), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(list(2)->topLevelItemCount(), 7);
        QCOMPARE(QApplication::focusWidget(), tabs());
    }

    void valueTextCanBeSelected()
    {
        clickEntry(0, "A12");
        list(0)->setFocus();
        QClipboard *clipboard = QGuiApplication::clipboard();
        // Without a selected value, Ctrl+C copies the list's entry.
        QTest::keyClick(list(0), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), m_state.table(12, Name));

        // Part of the description, selected with the mouse, is what Ctrl+C copies.
        ValueLabel *description = field(6);
        const QPoint start(ValueLabel::TextLeft + 1, ValueLabel::TextTop + 4);
        const QPoint end(start.x() + 40, start.y());
        QTest::mousePress(description, Qt::LeftButton, {}, start);
        QTest::mouseMove(description, end);
        QTest::mouseRelease(description, Qt::LeftButton, {}, end);
        const QString selected = description->selectedText();
        QVERIFY(!selected.isEmpty() && m_state.table(12, Description).startsWith(selected));
        QCOMPARE(QApplication::focusWidget(), list(0));
        QTest::keyClick(list(0), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), selected);
        // One selection among the values: selecting another drops this one.
        field(1)->selectAll();
        QVERIFY(!description->hasSelectedText());
        QCOMPARE(field(1)->selectedText(), m_state.table(12, Name));

        // The context menu's Select All and Copy take the whole value.
        const auto choose = [description](const QString &entry) {
            Testing::whenShown<QMenu>([entry](QMenu *menu) {
                for (QAction *action : menu->actions()) {
                    if (action->text() == entry)
                        action->trigger();
                }
                menu->close();
            });
            QContextMenuEvent event(QContextMenuEvent::Mouse, description->rect().center(),
                                    description->mapToGlobal(description->rect().center()));
            QApplication::sendEvent(description, &event);
        };
        choose(QStringLiteral("Select All"));
        choose(QStringLiteral("Copy"));
        QCOMPARE(clipboard->text(), m_state.table(12, Description));
        QCOMPARE(m_window->focusWidget(), list(0));
        // A new item drops the selection: Ctrl+C is the list's again.
        QCOMPARE(keys(0).first(), QStringLiteral("A12"));
        clickEntry(0, keys(0).at(1));
        QVERIFY(!description->hasSelectedText());
        QTest::keyClick(list(0), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), list(0)->topLevelItem(1)->text(0));
    }

    void ctrlASelectsTheValueLastClicked()
    {
        // The value's context menu offers "Select All Ctrl+A": the key does
        // it for the value last clicked, while the list keeps the focus.
        clickEntry(0, "A12");
        list(0)->setFocus();
        ValueLabel *description = field(6);
        QTest::mouseClick(description, Qt::LeftButton, {}, QPoint(ValueLabel::TextLeft + 1, ValueLabel::TextTop + 4));
        QVERIFY(!description->hasSelectedText());
        QTest::keyClick(list(0), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(description->selectedText(), m_state.table(12, Description));
        QCOMPARE(QApplication::focusWidget(), list(0));
        QTest::keyClick(list(0), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), m_state.table(12, Description));
        // The next item's text, once the same value is chosen again.
        clickEntry(0, keys(0).first());
        QTest::keyClick(list(0), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(description->selectedText(), field(6)->text());
    }

    void valuesKeepTheirOwnDirection()
    {
        // Under -reverse the window is mirrored, but a value's English text
        // reads as it does left to right, its full stop at the end.
        const ValueLabel *model = field(3);
        const auto drawn = [model] {
            ValueLabel label;
            label.setFont(model->font());
            label.resize(model->size());
            label.setText(QStringLiteral("Adds +2 to the character's AC value."));
            return label.grab().toImage();
        };
        const QImage leftToRight = drawn();
        QGuiApplication::setLayoutDirection(Qt::RightToLeft);
        const QImage rightToLeft = drawn();
        QGuiApplication::setLayoutDirection(Qt::LeftToRight);
        QCOMPARE(rightToLeft, leftToRight);
    }

    void valueBoxesLookLikePlainFrames()
    {
        // The values draw their box themselves; it must be the style's own
        // plain box, with the window's colour inside.
        clickEntry(0, keys(0).first());
        for (int column = 1; column <= 6; ++column) {
            ValueLabel *label = field(column);
            QFrame reference;
            reference.setFrameStyle(QFrame::Box | QFrame::Plain);
            reference.setLineWidth(1);
            reference.resize(label->size());
            reference.setPalette(label->palette());
            const QImage drawn = label->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QImage expected = reference.grab().toImage().convertToFormat(QImage::Format_RGB32);
            const int w = drawn.width() - 1, h = drawn.height() - 1;
            for (const QPoint &p : {QPoint(0, 0), QPoint(w / 2, 0), QPoint(w, h), QPoint(0, h / 2), QPoint(1, 1), QPoint(w - 1, h - 1)})
                QCOMPARE(drawn.pixelColor(p), expected.pixelColor(p));
        }
    }

    void longTextOffersTooltip()
    {
        // Every catalog cell that does not fit its box, and only such a cell, has its full text as tooltip.
        for (int tab = 0; tab < 11; ++tab) {
            selectTab(tab);
            for (const QString &key : keys(tab)) {
                clickEntry(tab, key);
                for (int column = 1; column <= 6; ++column) {
                    ValueLabel *label = field(column);
                    const QRect box = label->contentsRect().adjusted(ValueLabel::TextLeft - 1, ValueLabel::TextTop - 1, 0, 0);
                    const QRect needed = QFontMetrics(label->font()).boundingRect(box, Qt::TextWordWrap, label->text());
                    const bool fits = needed.width() <= box.width() && needed.height() <= box.height();
                    QCOMPARE(tooltip(label).isEmpty(), fits);
                    QVERIFY(fits || tooltip(label).contains(label->text().toHtmlEscaped()));
                }
            }
        }
        // A text with markup is shown as it is, in the label and in the tooltip; emptied with the labels.
        const QString markup = QStringLiteral("<b>Not bold</b> & \"quoted\"  ").repeated(30);
        m_state.table.set(12, Description, markup);
        selectTab(0);
        clickEntry(0, "A12");
        QCOMPARE(field(6)->text(), markup);
        QVERIFY(tooltip(field(6)).contains(markup.toHtmlEscaped()));
        QVERIFY(!tooltip(field(6)).contains(QStringLiteral("<b>")));
        // The lines are laid out anew for a box of another size.
        const QRect designed = field(6)->geometry();
        field(6)->resize(4000, designed.height());
        QVERIFY(tooltip(field(6)).isEmpty());
        field(6)->setGeometry(designed);
        QVERIFY(!tooltip(field(6)).isEmpty());
        selectTab(1);
        QVERIFY(tooltip(field(6)).isEmpty());
    }

private:
    QTreeWidget *list(int tab) const { return m_window->findChild<QTreeWidget *>(QStringLiteral("lstData(%1)").arg(tab)); }
    ValueLabel *field(int column) const { return m_window->findChild<ValueLabel *>(QStringLiteral("lblField(%1)").arg(column)); }
    // The tooltip a label offers when one is asked for; empty for none.
    static QString tooltip(ValueLabel *label)
    {
        QToolTip::showText(QPoint(), QString());
        QToolTip::showText(label->mapToGlobal(QPoint()), QStringLiteral("none"), label);
        QHelpEvent help(QEvent::ToolTip, QPoint(1, 1), label->mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(label, &help);
        const QString shown = QToolTip::text();
        return shown == QLatin1String("none") ? QString() : shown;
    }
    MultiRowTabWidget *tabs() const { return m_window->findChild<MultiRowTabWidget *>(QStringLiteral("SSTab1")); }

    QStringList fields() const
    {
        QStringList texts;
        for (int column = 1; column <= 6; ++column)
            texts << field(column)->text();
        return texts;
    }

    QStringList keys(int tab) const
    {
        QStringList result;
        for (int i = 0; i < list(tab)->topLevelItemCount(); ++i)
            result << list(tab)->topLevelItem(i)->data(0, MainWindow::KeyRole).toString();
        return result;
    }

    QTreeWidgetItem *entry(int tab, const QString &key) const
    {
        const int i = keys(tab).indexOf(key);
        return i < 0 ? nullptr : list(tab)->topLevelItem(i);
    }

    void clickEntry(int tab, const QString &key)
    {
        QTreeWidgetItem *item = entry(tab, key);
        QVERIFY2(item, qPrintable(key));
        list(tab)->scrollToItem(item);
        QTest::mouseClick(list(tab)->viewport(), Qt::LeftButton, {}, list(tab)->visualItemRect(item).center());
    }

    void selectTab(int tab)
    {
        QTest::mouseClick(tabs(), Qt::LeftButton, {}, tabs()->tabRect(tab).center());
        QCOMPARE(tabs()->currentIndex(), tab);
    }

    Catalog m_state;
    RecordingForms m_forms;
    ScriptedQuestion m_question;
    MainWindow *m_window = nullptr;
    Twips::Scale m_twips;   // the layout's, as the font needs it
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
