#include "multirowtabaccessible.h"

#include "accessibilitylog.h"
#include "multirowtabwidget.h"
#include "presentanew.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWindow>

namespace Quorvath {
namespace {

// One tab of the strip. It has no QObject of its own, so its tab list
// registers it with Qt's cache, which hands out its id to the bridge.
class TabAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabAccessible(MultiRowTabWidget *tabs, int tab) : m_tabs(tabs), m_tab(tab) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this)
                                                    : nullptr;
    }

    bool isValid() const override { return m_tabs && m_tab < m_tabs->count(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        return m_tabs ? m_tabs->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_tabs.data());
    }
    // Its page, as a page tab holds its page in every toolkit's tree: the
    // tabs are then the tab list's only children, and a reader counts them
    // alone ("2 of 11").
    int childCount() const override { return isValid() ? 1 : 0; }
    QAccessibleInterface *child(int index) const override
    {
        return index == 0 && isValid() ? QAccessible::queryAccessibleInterface(m_tabs->page(m_tab)) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child && child == this->child(0) ? 0 : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        // The page covers the control; it is found where the selected page shows.
        QAccessibleInterface *page = child(0);
        return page && !page->state().invisible && page->rect().contains(x, y) ? page : nullptr;
    }

    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? m_tabs->tabText(m_tab) : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid())
            return s;
        s.selectable = true;
        s.focusable = true;
        s.disabled = !m_tabs->isEnabled();
        s.invisible = !m_tabs->isVisible();
        if (m_tabs->currentIndex() == m_tab) {
            s.selected = true;
            s.focused = m_tabs->hasFocus();
        }
        return s;
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = m_tabs->tabRect(m_tab);
        return {m_tabs->mapToGlobal(r.topLeft()), r.size()};
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        // As a click on the tab: the control tells its owner, who fills the page.
        if (name == pressAction() && isValid() && m_tabs->isEnabled())
            m_tabs->setCurrentIndex(m_tab);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<MultiRowTabWidget> m_tabs;
    int m_tab = 0;
};

class TabListAccessible final : public QAccessibleWidget {
public:
    explicit TabListAccessible(MultiRowTabWidget *tabs)
        : QAccessibleWidget(tabs, QAccessible::PageTabList), m_tabs(tabs), m_selected(tabs->currentIndex())
    {
        // Screen readers follow the focus: when the selection moves while the
        // strip has it, the newly selected tab is the focused object.
        m_selectionChanged = QObject::connect(tabs, &MultiRowTabWidget::currentChanged, tabs, [this, tabs](int index) {
            // The page shows again: a reader that read it while hidden would
            // take it for hidden still.
            presentAnew(tabs->page(index));
            QAccessibleEvent removed(tabInterface(m_selected), QAccessible::SelectionRemove);
            QAccessible::updateAccessibility(&removed);
            m_selected = index;
            QAccessibleEvent added(tabInterface(index), QAccessible::SelectionAdd);
            QAccessible::updateAccessibility(&added);
            if (tabs->hasFocus()) {
                QAccessibleEvent focus(tabInterface(index), QAccessible::Focus);
                QAccessible::updateAccessibility(&focus);
            }
        });
    }

    ~TabListAccessible() override
    {
        QObject::disconnect(m_selectionChanged);
        for (QAccessible::Id id : std::as_const(m_tabIds))
            QAccessible::deleteAccessibleInterface(id);
    }

    // Qt deletes the interface with the control.
    MultiRowTabWidget *tabs() const { return m_tabs; }

    int childCount() const override { return tabs()->count(); }
    QAccessibleInterface *child(int index) const override { return tabInterface(index); }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        for (auto it = m_tabIds.cbegin(); it != m_tabIds.cend(); ++it) {
            if (QAccessible::accessibleInterface(it.value()) == child)
                return it.key();
        }
        return -1;
    }

    QAccessibleInterface *focusChild() const override
    {
        return tabs()->hasFocus() ? tabInterface(tabs()->currentIndex()) : QAccessibleWidget::focusChild();
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint local = tabs()->mapFromGlobal(QPoint(x, y));
        for (int tab = 0; tab < tabs()->count(); ++tab) {
            if (tabs()->tabRect(tab).contains(local))
                return tabInterface(tab);
        }
        // Below the strip: the selected tab, which holds the page there.
        return rect().contains(x, y) ? tabInterface(tabs()->currentIndex()) : nullptr;
    }

    QAccessibleInterface *tab(int index) const { return tabInterface(index); }

private:
    QAccessibleInterface *tabInterface(int tab) const
    {
        if (tab < 0 || tab >= tabs()->count())
            return nullptr;
        auto it = m_tabIds.constFind(tab);
        if (it == m_tabIds.cend())
            it = m_tabIds.insert(tab, QAccessible::registerAccessibleInterface(new TabAccessible(tabs(), tab)));
        return QAccessible::accessibleInterface(it.value());
    }

    MultiRowTabWidget *const m_tabs;
    mutable QHash<int, QAccessible::Id> m_tabIds;
    int m_selected;   // the tab selected before the next change
    QMetaObject::Connection m_selectionChanged;
};

// A page: a pane named after its tab, so that "Armor" is what a reader
// says when it enters the page's list, and held by that tab.
class PageAccessible final : public QAccessibleWidget {
public:
    PageAccessible(QWidget *page, MultiRowTabWidget *tabs, int tab)
        : QAccessibleWidget(page, QAccessible::Pane, tabs->tabText(tab)), m_tabs(tabs), m_tab(tab)
    {
    }

    QAccessibleInterface *parent() const override
    {
        // The tab list's interface is made by the factory below, unless
        // another one, installed later, answers for the control first.
        QAccessibleInterface *tabs = QAccessible::queryAccessibleInterface(m_tabs.data());
        if (auto *list = dynamic_cast<TabListAccessible *>(tabs))
            return list->tab(m_tab);
        if (tabs)
            qCWarning(lcAccessibility, "the tab control has an interface not its own; page %d is "
                                  "held by the control itself", m_tab);
        return tabs;
    }

private:
    QPointer<MultiRowTabWidget> m_tabs;
    int m_tab;
};

} // namespace

QAccessibleInterface *multiRowTabAccessible(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (className == QLatin1String("Quorvath::MultiRowTabWidget")) {
        if (auto *tabs = qobject_cast<MultiRowTabWidget *>(widget))
            return new TabListAccessible(tabs);
    }
    // A page is a bare QWidget.
    if (className == QLatin1String("QWidget")) {
        if (auto *tabs = qobject_cast<MultiRowTabWidget *>(widget->parentWidget())) {
            for (int tab = 0; tab < tabs->count(); ++tab) {
                if (tabs->page(tab) == widget)
                    return new PageAccessible(widget, tabs, tab);
            }
        }
    }
    return nullptr;
}

} // namespace Quorvath
