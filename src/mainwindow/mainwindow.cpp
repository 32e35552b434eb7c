#include "mainwindow.h"

#include "classicframe.h"
#include "focusedpart.h"
#include "forms.h"
#include "identity.h"
#include "multirowtabwidget.h"
#include "clockstatusbar.h"
#include "twips.h"
#include "uifont.h"
#include "valuelabel.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>
#include <optional>

namespace Quorvath {

namespace {

// The tab captions are also the category texts that the lists match.
const QStringList TabCaptions{
    QStringLiteral("Armor"),   QStringLiteral("Figurines"),   QStringLiteral("Gloves"),
    QStringLiteral("Helms"),   QStringLiteral("Misc. Items"), QStringLiteral("Rings"),
    QStringLiteral("Shields"), QStringLiteral("Weapons"),     QStringLiteral("Instruments"),
    QStringLiteral("Quivers"), QStringLiteral("Containers/Fluids"),
};

struct FieldLine {
    const char *captionName;
    const char *caption;
    QRect captionRect;
    QRect valueRect;
};

// Indexed by catalog column 1..6. The caption labels' names are not in line
// order in the design (Label4 is the description); the names are kept.
// Made when asked for: the rectangles follow the layout's scale.
std::array<FieldLine, MainWindow::FieldCount + 1> fieldLines()
{
    return {{
    {},
    {"Label1", "Item Name:", Twips::rect(240, 240, 855, 255), Twips::rect(1080, 240, 5415, 255)},
    {"Label2", "Usable By:", Twips::rect(240, 600, 855, 255), Twips::rect(1080, 600, 5415, 255)},
    {"Label3", "Effect(s) of Equipping:", Twips::rect(240, 960, 1575, 255), Twips::rect(1920, 960, 4575, 495)},
    {"Label5", "Activated Effect(s):", Twips::rect(240, 1560, 1455, 255), Twips::rect(1680, 1560, 4815, 495)},
    {"Label6", "# Uses:", Twips::rect(240, 2160, 615, 255), Twips::rect(840, 2160, 5655, 255)},
    {"Label4", "Description:", Twips::rect(240, 2520, 855, 255), Twips::rect(1200, 2520, 5295, 975)},
    }};
}

// The catalog's longest texts of a column, the ones its value box has to
// hold: by length, which is near enough their width to find the widest.
QStringList longestTexts(int column, int count)
{
    QStringList texts;
    for (int row = 1; row <= CatalogRowCount; ++row)
        texts.append(catalogText(row, column));
    std::stable_sort(texts.begin(), texts.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
    return texts.mid(0, count);
}

using Handler = void (MainWindow::*)();

// The menu tree as the design lists it: an entry opens a submenu when the
// entry after it stands one level deeper.
struct MenuEntry {
    int level;
    const char *caption;
    const char *name;
    bool enabled = true;
    std::optional<FormId> form = {};
    Handler handler = nullptr;
};

const MenuEntry MenuTree[] = {
    {1, "File", "mnufile"},
    {2, "Quit", "mnuquit", true, {}, &MainWindow::mnuquit_Click},
    {1, "Search", "mnusearch"},
    {2, "Find Specific Item", "mnusearchfindspecific", false},
    {1, "Help", "mnuhelp"},
    {2, "Terminology", "mnuterms"},
    {3, "Item Name", "mnutermitemname", true, FormId::frmItemname},
    {3, "Usable By", "mnutermusableby", true, FormId::frmUsableby},
    {3, "Effects of Equipping", "mnutermeffects", true, FormId::frmEffects},
    {3, "Activated Effects", "mnutermactivated", true, FormId::frmActivated},
    {3, "# Uses", "mnutermuses"},
    {4, "One-time only.", "mnutermuses1time", true, FormId::frm1time},
    {4, "Limited.", "mnutermuseslimited", true, FormId::frmLimited},
    {4, "Multiple.", "mnutermusesmultiple", true, FormId::frmMultiple},
    {4, "Continuous while equipped.", "mnuitemusescontinuous", true, FormId::frmContinuous},
    {3, "Description", "mnutermdesc", true, FormId::frmDescription},
    {2, "About Quorvath Itemlist", "mnuabout", true, FormId::frmAbout},
};

} // namespace

std::vector<UiFont::Text> MainWindow::designedTexts()
{
    std::vector<UiFont::Text> texts;
    const auto lines = fieldLines();
    for (int column = 1; column <= FieldCount; ++column) {
        const FieldLine &line = lines[column];
        // A caption starts where its value's text starts, to share its baseline.
        const QSize box = line.captionRect.size() - QSize(0, ValueLabel::TextTop);
        texts.push_back({QString::fromLatin1(line.caption), box, UiFont::Fit::Wrapped});
        // The values inside their border, descenders and all.
        const QSize valueBox = line.valueRect.size() - QSize(ValueLabel::TextLeft + 1, ValueLabel::TextTop + 1);
        for (const QString &value : longestTexts(column, 3))
            texts.push_back({value, valueBox, UiFont::Fit::Wrapped});
    }
    // A tab's caption inside its share of the strip's width, clear of the
    // tab's sides.
    const QSize tab(Twips::px(7215) / 4 - 16, Twips::px(295));
    for (const QString &caption : TabCaptions)
        texts.push_back({caption, tab, UiFont::Fit::OneLine});
    return texts;
}

MainWindow::MainWindow(Catalog &state, FormShower &forms, Question &question, Load load, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_forms(forms)
    , m_question(question)
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
        Form_Load();
    else
        list(SSTab1->currentIndex());   // empty until Form_Load, but made
}

void MainWindow::createControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    // The client area below the menu bar is 7215 x 6795; the status bar
    // takes the bottom 360 of it.
    client->setFixedSize(Twips::size(7215, 6795 - 360));
    setCentralWidget(client);

    SSTab1 = new MultiRowTabWidget(TabCaptions, 4, Twips::px(295), client);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setAccessibleName(QStringLiteral("Categories"));
    SSTab1->setGeometry(Twips::rect(0, 0, 7215, 2655));
    connect(SSTab1, &MultiRowTabWidget::currentChanged, this, &MainWindow::SSTab1_Click);

    // The lists are made when their tab is first selected: until then a tab's
    // list is empty and hidden, which no list at all looks like.
}

QTreeWidget *MainWindow::list(int tab)
{
    if (QTreeWidget *made = lstData[tab])
        return made;
    auto *list = new QTreeWidget(SSTab1->page(tab));
    lstData[tab] = list;
    list->setObjectName(QStringLiteral("lstData(%1)").arg(tab));
    list->setAccessibleName(TabCaptions[tab] + QStringLiteral(" items"));
    list->setGeometry(Twips::rect(120, 960, 6735, 1575));
    QFont bold = font();
    bold.setBold(true);
    list->setFont(bold);
    list->setColumnCount(1);
    list->setHeaderLabels({QStringLiteral("Item")});
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
    list->setColumnWidth(0, Twips::px(tab == 0 ? 3000 : 6000));
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
            lstData_ItemClick(selected.first());
    });
    list->show();
    return list;
}

void MainWindow::createDetails()
{
    auto *ArmorInfo = new ClassicFrame(QStringLiteral("Information"), centralWidget());
    ArmorInfo->setObjectName(QStringLiteral("ArmorInfo"));
    ArmorInfo->setGeometry(Twips::rect(0, 2760, 6615, 3615));

    const auto lines = fieldLines();
    for (int column = 1; column <= FieldCount; ++column) {
        const FieldLine &line = lines[column];
        auto *caption = new QLabel(QString::fromLatin1(line.caption), ArmorInfo);
        caption->setObjectName(QString::fromLatin1(line.captionName));
        caption->setTextFormat(Qt::PlainText);
        caption->setWordWrap(true);
        caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        caption->setContentsMargins(0, ValueLabel::TextTop, 0, 0);
        caption->setGeometry(line.captionRect);

        auto *value = new ValueLabel(ArmorInfo);
        lblField[column] = value;
        value->setObjectName(QStringLiteral("lblField(%1)").arg(column));
        value->setGeometry(line.valueRect);
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
            lblField[column]->copySelection();
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
        selected = selected || lblField[column]->hasSelectedText();
    m_copyAction->setEnabled(selected);
}

void MainWindow::createMenus()
{
    QList<QMenu *> open{nullptr};   // open[level - 1]: the menu that takes entries of `level`
    const int count = int(std::size(MenuTree));
    for (int i = 0; i < count; ++i) {
        const MenuEntry &entry = MenuTree[i];
        const QString caption = QString::fromLatin1(entry.caption);
        const QString name = QString::fromLatin1(entry.name);
        open.resize(entry.level);
        const bool opensSubmenu = i + 1 < count && MenuTree[i + 1].level > entry.level;
        QAction *action = nullptr;
        if (opensSubmenu) {
            QMenu *menu = entry.level == 1 ? menuBar()->addMenu(caption) : open.last()->addMenu(caption);
            menu->setObjectName(name);
            action = menu->menuAction();
            open.append(menu);
        } else {
            action = open.last()->addAction(caption);
            if (entry.form) {
                const FormId form = *entry.form;
                connect(action, &QAction::triggered, this, [this, form] { m_forms.show(form); });
            } else if (entry.handler) {
                connect(action, &QAction::triggered, this, entry.handler);
            }
        }
        action->setObjectName(name);
        action->setEnabled(entry.enabled);
        // Keep the tree as designed: no moving of Quit or About elsewhere.
        action->setMenuRole(QAction::NoRole);
    }

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

void MainWindow::createStatusBar()
{
    auto *sbStatusBar = new ClockStatusBar(QStringLiteral("Status"), Twips::px(1440), this);
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    sbStatusBar->setFixedHeight(Twips::px(360));
    setStatusBar(sbStatusBar);
}

void MainWindow::Form_Load()
{
    loadCatalog(m_state);
    LoadLists();
}

void MainWindow::preloadListGlyphs(QPaintDevice *device) const
{
    const QTreeWidget *list = lstData[SSTab1->currentIndex()];
    if (!list || !device)
        return;
    QPainter painter(device);
    painter.setFont(list->font());
    // Each text from a whole pixel, as the list starts its entries: a glyph
    // is cached for the fraction of a pixel it starts at.
    const int baseline = list->fontMetrics().ascent();
    for (qint16 row : rowsOfCategory(catalogText, CatalogRowCount, SSTab1->tabText(SSTab1->currentIndex())))
        painter.drawText(QPoint(0, baseline), catalogText(row, Name));
}

void MainWindow::LoadLists()
{
    for (int column = 1; column <= FieldCount; ++column)
        lblField[column]->setText(QString());

    QTreeWidget *list = this->list(SSTab1->currentIndex());
    list->clear();
    const auto table = [this](int row, int column) -> const QString & { return m_state.ItemTable(row, column); };
    // The count is read once; a count beyond the table would index past it.
    const int count = std::clamp<int>(m_state.ItemCount, 0, LastRow);
    // Filled first and added at once: the list hears of one insertion
    // instead of three changes for every entry.
    QList<QTreeWidgetItem *> entries;
    for (qint16 row : rowsOfCategory(table, count, SSTab1->tabText(SSTab1->currentIndex()))) {
        auto *entry = new QTreeWidgetItem;
        entry->setText(0, m_state.ItemTable(row, Name));
        entry->setData(0, KeyRole, listKey(row));
        entries.append(entry);
    }
    list->addTopLevelItems(entries);
}

void MainWindow::SSTab1_Click()
{
    LoadLists();
}

void MainWindow::lstData_ItemClick(const QTreeWidgetItem *item)
{
    if (!item)
        return;
    const std::optional<qint16> row = parseListKey(item->data(0, KeyRole).toString());
    if (!row)
        return;
    for (int column = 1; column <= FieldCount; ++column)
        lblField[column]->setText(m_state.ItemTable(*row, column));
}

void MainWindow::mnuquit_Click()
{
    close();
}

void MainWindow::Form_QueryUnload(bool &cancel)
{
    cancel = !m_question.askYesNo(this, QStringLiteral("Are you sure you want to quit?"), Identity::Title);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    event->accept();
    emit unloaded();
}

} // namespace Quorvath
