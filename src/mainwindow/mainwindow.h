// The main window: eleven category tabs, each with the list of its items,
// the details frame below them, the status bar and the menus.
//
// MultiRowTabWidget (controls) holds the tabs and pages; ClockStatusBar
// (controls) keeps date and time. The Catalog lives outside the window, in
// the registry's slot for this form, and is written here by loadItems().
#pragma once

#include "forms.h"
#include "itemtable.h"
#include "textfit.h"
#include "twips.h"

#include <QKeySequence>
#include <QMainWindow>

#include <array>
#include <functional>

class QAction;
class QMenu;
class QPaintDevice;
class QTreeWidget;
class QTreeWidgetItem;

namespace Quorvath {

class MultiRowTabWidget;
class Question;
class ValueLabel;

class MainWindow final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    static constexpr int TabCount = 11;
    static constexpr int FieldCount = 6;

    // The field captions, the value boxes (empty at design time) and the tab
    // captions with their boxes.
    static std::vector<DesignedText> design(Twips::Scale twips);
    // The texts the window's boxes have to hold, every value of the catalog
    // among them, for the choice of the program's font.
    static std::vector<UiFont::Text> designedTexts(Twips::Scale twips);

    // Builds the window laid out at `twips` and, unless `load` is
    // Load::Later, loads it: loadItems() writes the catalog and fills the
    // selected tab's list. A window built ahead has every control, but no
    // catalog and no entries until loadItems().
    enum class Load { Now, Later };
    MainWindow(Catalog &state, FormShower &forms, Question &question, Twips::Scale twips,
               Load load = Load::Now, QWidget *parent = nullptr);

    // The load step: writes the catalog, then fills the selected tab's list.
    void loadItems();
    // For a window built ahead: draws on `device` the entries the selected
    // tab's list will show once loaded, in the list's font and as it draws
    // them, so that their glyphs are in the font caches before the window's
    // first frame. Changes nothing in the window.
    void preloadListGlyphs(QPaintDevice *device) const;

    // The role under which a list entry keeps its key.
    static constexpr int KeyRole = Qt::UserRole;

signals:
    // The window has agreed to close; the registry forgets it (formclose.h).
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    // Empties the six value labels and rebuilds the selected tab's list;
    // runs again whenever another tab is selected.
    void fillSelectedList();
    // Shows the fields of the row that the entry's key names.
    void showItem(const QTreeWidgetItem *item);

private:
    // Asks whether to quit; true for Yes.
    bool confirmQuit();
    void createControls();
    void createDetails();
    void createMenus();
    void addFormEntry(QMenu *menu, const char *caption, const char *name, FormId form);
    void createStatusBar();
    // The list of `tab`, made on first use.
    QTreeWidget *list(int tab);
    void updateCopyAction();
    QAction *valueShortcut(const char *name, QKeySequence::StandardKey key, const std::function<void()> &act);

    Catalog &m_state;
    FormShower &m_forms;
    Question &m_question;
    const Twips::Scale m_twips;

    MultiRowTabWidget *m_categoryTabs = nullptr;
    std::array<QTreeWidget *, TabCount> m_itemLists{};   // null until the tab is first selected
    std::array<ValueLabel *, FieldCount + 1> m_detailLabels{};   // 1..6, as the catalog's columns
    QAction *m_copyAction = nullptr;
    QAction *m_selectAllAction = nullptr;
    ValueLabel *m_lastValue = nullptr;   // the value last clicked, for Ctrl+A
};

} // namespace Quorvath
