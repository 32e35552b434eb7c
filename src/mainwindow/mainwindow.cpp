#include "mainwindow.h"

#include "classicframe.h"
#include "clockstatusbar.h"
#include "focusedpart.h"
#include "formclose.h"
#include "forms.h"
#include "identity.h"
#include "listslog.h"
#include "multirowtabwidget.h"
#include "twips.h"
#include "uifont.h"
#include "valuelabel.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>
#include <optional>
#include <vector>

namespace Quorvath {

namespace {

// The tab captions are also the category texts that the lists match.
const QStringList TabCaptions{
    QStringLiteral("Armor"),   QStringLiteral("Figurines"),   QStringLiteral("Gloves"),
    QStringLiteral("Helms"),   QStringLiteral("Misc. Items"), QStringLiteral("Rings"),
    QStringLiteral("Shields"), QStringLiteral("Weapons"),     QStringLiteral("Instruments"),
    QStringLiteral("Quivers"), QStringLiteral("Containers/Fluids"),
};

// In twips, as the design gives them (but where said): the client area
// below the menu bar, the status bar at its bottom, and the status bar's
// date and time panels at their narrowest.
constexpr int ClientWidth = 7215;
constexpr int ClientHeight = 6795;
constexpr int StatusBarHeight = 360;
constexpr int StatusPanelWidth = 1440;

// The strip's tabs, four to a row, and the room a tab keeps clear of its
// caption on either side.
constexpr int TabsPerRow = 4;
constexpr int TabHeight = 295;
constexpr int TabCaptionClearance = 8;   // logical pixels

// The one column of a list, "Item": the Armor list's is half as wide as the
// others'.
constexpr int ArmorItemColumnWidth = 3000;
constexpr int ItemColumnWidth = 6000;

// The texts of design(): for each catalog column 1..6 its caption and its
// value, then the tab captions.
constexpr int fieldCaptionOf(int column) { return 2 * (column - 1); }
constexpr int fieldValueOf(int column) { return 2 * (column - 1) + 1; }
constexpr int tabCaptionOf(int tab) { return 2 * MainWindow::FieldCount + tab; }

// Every text of a catalog column, each once.
QStringList valuesOf(int column)
{
    QStringList texts;
    for (int row = 1; row <= CatalogRowCount; ++row)
        texts.append(catalogText(row, column));
    texts.removeDuplicates();
    return texts;
}

// A submenu of the menu bar or of another menu; its entry has its name too.
template <class Parent>
QMenu *addMenu(Parent *parent, const char *caption, const char *name)
{
    QMenu *menu = parent->addMenu(QString::fromLatin1(caption));
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    menu->menuAction()->setMenuRole(QAction::NoRole);
    return menu;
}

QAction *addEntry(QMenu *menu, const char *caption, const char *name)
{
    QAction *action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QLatin1String(name));
    // Keep the tree as designed: no moving of Quit or About elsewhere.
    action->setMenuRole(QAction::NoRole);
    return action;
}

} // namespace

std::vector<DesignedText> MainWindow::design(Twips::Scale twips)
{
    // By the indexes above. The caption labels' names are not in line order
    // (Label4 is the description); the value labels go by catalog column.
    std::vector<DesignedText> texts{
        {"Label1", TextControl::FieldCaption, QStringLiteral("Item Name:"), twips.rect(240, 240, 855, 255)},
        {"lblField(1)", TextControl::Value, QString(), twips.rect(1080, 240, 5415, 255)},
        {"Label2", TextControl::FieldCaption, QStringLiteral("Usable By:"), twips.rect(240, 600, 855, 255)},
        {"lblField(2)", TextControl::Value, QString(), twips.rect(1080, 600, 5415, 255)},
        {"Label3", TextControl::FieldCaption, QStringLiteral("Effect(s) of Equipping:"), twips.rect(240, 960, 1575, 255)},
        {"lblField(3)", TextControl::Value, QString(), twips.rect(1920, 960, 4575, 495)},
        {"Label5", TextControl::FieldCaption, QStringLiteral("Activated Effect(s):"), twips.rect(240, 1560, 1455, 255)},
        {"lblField(4)", TextControl::Value, QString(), twips.rect(1680, 1560, 4815, 495)},
        {"Label6", TextControl::FieldCaption, QStringLiteral("# Uses:"), twips.rect(240, 2160, 615, 255)},
        {"lblField(5)", TextControl::Value, QString(), twips.rect(840, 2160, 5655, 255)},
        {"Label4", TextControl::FieldCaption, QStringLiteral("Description:"), twips.rect(240, 2520, 855, 255)},
        {"lblField(6)", TextControl::Value, QString(), twips.rect(1200, 2520, 5295, 975)},
    };
    // A tab's caption inside its share of the strip's width, clear of the
    // tab's sides.
    const QRect tab(0, 0, twips.px(ClientWidth) / TabsPerRow - 2 * TabCaptionClearance, twips.px(TabHeight));
    for (const QString &caption : TabCaptions)
        texts.push_back({"SSTab1", TextControl::TabCaption, caption, tab});
    return texts;
}

std::vector<UiFont::Text> MainWindow::designedTexts(Twips::Scale twips)
{
    std::vector<UiFont::Text> texts;
    const std::vector<DesignedText> designed = design(twips);
    for (int column = 1; column <= FieldCount; ++column) {
        texts.push_back(fitOf(designed[fieldCaptionOf(column)], twips));
        // A value box holds every value of its column.
        UiFont::Text value = fitOf(designed[fieldValueOf(column)], twips);
        for (const QString &text : valuesOf(column)) {
            value.text = text;
            texts.push_back(value);
        }
    }
    for (int tab = 0; tab < TabCount; ++tab)
        texts.push_back(fitOf(designed[tabCaptionOf(tab)], twips));
    return texts;
}

MainWindow::MainWindow(Catalog &state, FormShower &forms, Question &question, Twips::Scale twips, Load load,
                       QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_forms(forms)
    , m_question(question)
    , m_twips(twips)
{
    setObjectName(QStringLiteral("d"));
    setWindowTitle(Identity::Title);
    // Fixed single: a control menu, a close box and a minimize button, no
    // maximize button, and no resizing, not even by the border on Windows.
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    createControls();
    createDetails();
    createMenus();
    createStatusBar();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    if (load == Load::Now)
        loadItems();
    else
        list(m_categoryTabs->currentIndex());   // empty until loadItems(), but made
}

void MainWindow::createControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(m_twips.size(ClientWidth, ClientHeight - StatusBarHeight));
    setCentralWidget(client);

    m_categoryTabs = new MultiRowTabWidget(TabCaptions, TabsPerRow, m_twips.px(TabHeight), client);
    m_categoryTabs->setObjectName(QStringLiteral("SSTab1"));
    m_categoryTabs->setAccessibleName(QStringLiteral("Categories"));
    m_categoryTabs->setGeometry(m_twips.rect(0, 0, ClientWidth, 2655));
    connect(m_categoryTabs, &MultiRowTabWidget::currentChanged, this, &MainWindow::fillSelectedList);

    // The lists are made when their tab is first selected: until then a tab's
    // list is empty and hidden, which no list at all looks like.
}

QTreeWidget *MainWindow::list(int tab)
{
    if (QTreeWidget *made = m_itemLists[tab])
        return made;
    auto *list = new QTreeWidget(m_categoryTabs->page(tab));
    m_itemLists[tab] = list;
    list->setObjectName(QStringLiteral("lstData(%1)").arg(tab));
    list->setAccessibleName(TabCaptions[tab] + QStringLiteral(" items"));
    list->setGeometry(m_twips.rect(120, 960, 6735, 1575));
    QFont bold = font();
    bold.setBold(true);
    list->setFont(bold);
    list->setColumnCount(1);
    list->setHeaderLabels({QStringLiteral("Item")});
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
    list->setColumnWidth(0, m_twips.px(tab == 0 ? ArmorItemColumnWidth : ItemColumnWidth));
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setSortingEnabled(false);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    // A screen reader speaks the current entry whenever the list takes the
    // focus: from the tab strip, from a window that closes.
    announceFocusedPart(list);
    // A click on an entry selects it, and so do the arrow keys: the
    // selection is the one signal that shows an item.
    connect(list, &QTreeWidget::itemSelectionChanged, this, [this, list] {
        const QList<QTreeWidgetItem *> selected = list->selectedItems();
        if (!selected.isEmpty())
            showItem(selected.first());
    });
    list->show();
    return list;
}

void MainWindow::createDetails()
{
    auto *detailsFrame = new ClassicFrame(QStringLiteral("Information"), centralWidget());
    detailsFrame->setObjectName(QStringLiteral("ArmorInfo"));
    detailsFrame->setGeometry(m_twips.rect(0, 2760, 6615, 3615));

    const std::vector<DesignedText> texts = design(m_twips);
    for (int column = 1; column <= FieldCount; ++column) {
        const DesignedText &captionText = texts[fieldCaptionOf(column)];
        auto *caption = new QLabel(captionText.text, detailsFrame);
        caption->setObjectName(QLatin1String(captionText.name));
        caption->setTextFormat(Qt::PlainText);
        caption->setWordWrap(true);
        caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // Its text starts where its value's text starts, to share its baseline.
        caption->setContentsMargins(0, ValueLabel::TextTop, 0, 0);
        caption->setGeometry(captionText.rect);

        const DesignedText &valueBox = texts[fieldValueOf(column)];
        auto *value = new ValueLabel(detailsFrame);
        m_detailLabels[column] = value;
        value->setObjectName(QLatin1String(valueBox.name));
        value->setGeometry(valueBox.rect);
        connect(value, &ValueLabel::selectionChanged, this, &MainWindow::updateCopyAction);
        connect(value, &ValueLabel::pressed, this, [this, value] {
            m_lastValue = value;
            m_selectAllAction->setEnabled(true);
        });
        caption->setBuddy(value);
    }

    // Ctrl+C copies a value's selected text while there is one; otherwise the
    // key goes on to the list, which copies its current entry.
    m_copyAction = valueShortcut("copySelection", QKeySequence::Copy, [this] {
        for (int column = 1; column <= FieldCount; ++column)
            m_detailLabels[column]->copySelection();
    });
    // Ctrl+A selects the whole of the value last clicked, as the value's
    // context menu says; before any value is clicked the key is the list's.
    m_selectAllAction = valueShortcut("selectValue", QKeySequence::SelectAll, [this] {
        if (m_lastValue)
            m_lastValue->selectAll();
    });
}

// A key of the whole window that acts on the values, off until a value
// needs it, so that until then the key goes on to the focused control.
QAction *MainWindow::valueShortcut(const char *name, QKeySequence::StandardKey key, const std::function<void()> &act)
{
    auto *action = new QAction(this);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setEnabled(false);
    connect(action, &QAction::triggered, this, act);
    addAction(action);
    return action;
}

void MainWindow::updateCopyAction()
{
    bool selected = false;
    for (int column = 1; column <= FieldCount; ++column)
        selected = selected || m_detailLabels[column]->hasSelectedText();
    m_copyAction->setEnabled(selected);
}

void MainWindow::createMenus()
{
    QMenu *fileMenu = addMenu(menuBar(), "File", "mnufile");
    connect(addEntry(fileMenu, "Quit", "mnuquit"), &QAction::triggered, this, &QWidget::close);

    QMenu *searchMenu = addMenu(menuBar(), "Search", "mnusearch");
    addEntry(searchMenu, "Find Specific Item", "mnusearchfindspecific")->setEnabled(false);

    QMenu *helpMenu = addMenu(menuBar(), "Help", "mnuhelp");
    QMenu *termsMenu = addMenu(helpMenu, "Terminology", "mnuterms");
    addFormEntry(termsMenu, "Item Name", "mnutermitemname", FormId::TermItemName);
    addFormEntry(termsMenu, "Usable By", "mnutermusableby", FormId::TermUsableBy);
    addFormEntry(termsMenu, "Effects of Equipping", "mnutermeffects", FormId::TermEffects);
    addFormEntry(termsMenu, "Activated Effects", "mnutermactivated", FormId::TermActivated);
    QMenu *usesMenu = addMenu(termsMenu, "# Uses", "mnutermuses");
    addFormEntry(usesMenu, "One-time only.", "mnutermuses1time", FormId::TermOneTime);
    addFormEntry(usesMenu, "Limited.", "mnutermuseslimited", FormId::TermLimited);
    addFormEntry(usesMenu, "Multiple.", "mnutermusesmultiple", FormId::TermMultiple);
    addFormEntry(usesMenu, "Continuous while equipped.", "mnuitemusescontinuous", FormId::TermContinuous);
    addFormEntry(termsMenu, "Description", "mnutermdesc", FormId::TermDescription);
    addFormEntry(helpMenu, "About Quorvath Itemlist", "mnuabout", FormId::About);

    // F10 opens the menu bar at its first menu, as the system does for every
    // window with a menu bar on Windows and the Linux desktops do by
    // convention; Qt's menu bar answers to Alt alone.
    auto *openMenuBar = new QAction(this);
    openMenuBar->setObjectName(QStringLiteral("openMenuBar"));
    openMenuBar->setShortcut(Qt::Key_F10);
    openMenuBar->setShortcutContext(Qt::WindowShortcut);
    connect(openMenuBar, &QAction::triggered, this, [this] { menuBar()->setActiveAction(menuBar()->actions().value(0)); });
    addAction(openMenuBar);
}

// An entry that shows a form.
void MainWindow::addFormEntry(QMenu *menu, const char *caption, const char *name, FormId form)
{
    connect(addEntry(menu, caption, name), &QAction::triggered, this, [this, form] { m_forms.show(form); });
}

void MainWindow::createStatusBar()
{
    auto *clockBar = new ClockStatusBar(QStringLiteral("Status"), m_twips.px(StatusPanelWidth), this);
    clockBar->setObjectName(QStringLiteral("sbStatusBar"));
    clockBar->setFixedHeight(m_twips.px(StatusBarHeight));
    setStatusBar(clockBar);
}

void MainWindow::loadItems()
{
    loadCatalog(m_state);
    fillSelectedList();
}

void MainWindow::preloadListGlyphs(QPaintDevice *device) const
{
    const QTreeWidget *list = m_itemLists[m_categoryTabs->currentIndex()];
    if (!list || !device)
        return;
    QPainter painter(device);
    painter.setFont(list->font());
    // Each text from a whole pixel, as the list starts its entries: a glyph
    // is cached for the fraction of a pixel it starts at.
    const int baseline = list->fontMetrics().ascent();
    const QString category = m_categoryTabs->tabText(m_categoryTabs->currentIndex());
    for (qint16 row : rowsOfCategory(catalogText, CatalogRowCount, category))
        painter.drawText(QPoint(0, baseline), catalogText(row, Name));
}

void MainWindow::fillSelectedList()
{
    for (int column = 1; column <= FieldCount; ++column)
        m_detailLabels[column]->setText(QString());

    QTreeWidget *list = this->list(m_categoryTabs->currentIndex());
    list->clear();
    const auto table = [this](int row, int column) -> const QString & { return m_state.table(row, column); };
    // The count is read once; a count beyond the table would index past it.
    const int count = std::clamp<int>(m_state.rowCount, 0, LastRow);
    // Filled first and added at once: the list hears of one insertion
    // instead of three changes for every entry.
    QList<QTreeWidgetItem *> entries;
    for (qint16 row : rowsOfCategory(table, count, m_categoryTabs->tabText(m_categoryTabs->currentIndex()))) {
        auto *entry = new QTreeWidgetItem;
        entry->setText(0, m_state.table(row, Name));
        entry->setData(0, KeyRole, listKey(row));
        entries.append(entry);
    }
    list->addTopLevelItems(entries);
}

void MainWindow::showItem(const QTreeWidgetItem *item)
{
    if (!item)
        return;
    const std::optional<qint16> row = parseListKey(item->data(0, KeyRole).toString());
    if (!row) {
        qCWarning(lcLists, "the entry '%s' has the key '%s', which leads to no row; the details stay "
                                "as they were", qPrintable(item->text(0)), qPrintable(item->data(0, KeyRole).toString()));
        return;
    }
    for (int column = 1; column <= FieldCount; ++column)
        m_detailLabels[column]->setText(m_state.table(*row, column));
}

bool MainWindow::confirmQuit()
{
    return m_question.askYesNo(this, QStringLiteral("Are you sure you want to quit?"), Identity::Title);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    closeForm(*this, event, !confirmQuit());
}

} // namespace Quorvath
