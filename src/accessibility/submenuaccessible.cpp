#include "submenuaccessible.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStyle>
#include <QWindow>

namespace Quorvath {

namespace {

// What Qt's own entry of a menu or menu bar offers, which this stands in for
// (that class is internal to Qt), plus the expandable states.
class SubmenuEntryAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    SubmenuEntryAccessible(QAction *action, QWidget *owner) : m_action(action), m_owner(owner) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }

    bool isValid() const override { return m_action && m_owner && submenu(); }
    QObject *object() const override { return m_action; }
    QWindow *window() const override { return m_owner ? m_owner->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_owner.data()); }

    // The submenu, a popup menu.
    int childCount() const override { return submenu() ? 1 : 0; }
    QAccessibleInterface *child(int index) const override
    {
        return index == 0 && submenu() ? QAccessible::queryAccessibleInterface(submenu()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child && child == this->child(0) ? 0 : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        QAccessibleInterface *menu = child(0);
        return menu && menu->rect().contains(x, y) ? menu : nullptr;
    }

    QAccessible::Role role() const override { return QAccessible::MenuItem; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (t == QAccessible::Name) {
            // Without the access key's marker, as Qt names its entries.
            QString name = m_action->text();
            name.replace(QLatin1String("&&"), QChar(0xFFFF)).remove(QLatin1Char('&')).replace(QChar(0xFFFF), QLatin1Char('&'));
            return name;
        }
        if (t == QAccessible::Accelerator)
            return m_action->shortcut().toString(QKeySequence::NativeText);
        return {};
    }
    void setText(QAccessible::Text, const QString &) override {}

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid())
            return s;
        s.invisible = !m_owner->testAttribute(Qt::WA_WState_Visible) || !m_action->isVisible();
        if (auto *menu = qobject_cast<QMenu *>(m_owner.data()))
            s.focused = menu->activeAction() == m_action;
        else if (auto *bar = qobject_cast<QMenuBar *>(m_owner.data()))
            s.focused = bar->activeAction() == m_action;
        s.hotTracked = m_owner->style()->styleHint(QStyle::SH_Menu_MouseTracking, nullptr, m_owner);
        s.disabled = !m_action->isEnabled();
        s.hasPopup = true;
        s.expandable = true;
        s.expanded = submenu()->isVisible();
        s.collapsed = !s.expanded;
        return s;
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        QRect r;
        if (auto *menu = qobject_cast<QMenu *>(m_owner.data()))
            r = menu->actionGeometry(m_action);
        else if (auto *bar = qobject_cast<QMenuBar *>(m_owner.data()))
            r = bar->actionGeometry(m_action);
        return r.translated(m_owner->mapToGlobal(QPoint(0, 0)));
    }

    // Opens the submenu, or closes it when open, as Qt's entries do.
    QStringList actionNames() const override { return {showMenuAction()}; }
    void doAction(const QString &name) override
    {
        if (name != showMenuAction() || !isValid() || !m_action->isEnabled())
            return;
        if (submenu()->isVisible())
            submenu()->hide();
        else if (auto *menu = qobject_cast<QMenu *>(m_owner.data()))
            menu->setActiveAction(m_action);
        else if (auto *bar = qobject_cast<QMenuBar *>(m_owner.data()))
            bar->setActiveAction(m_action);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QMenu *submenu() const { return m_action ? m_action->menu() : nullptr; }

    QPointer<QAction> m_action;
    QPointer<QWidget> m_owner;
};

} // namespace

QAccessibleInterface *submenuEntryAccessible(const QString &className, QObject *object)
{
    auto *action = qobject_cast<QAction *>(object);
    if (className != QLatin1String("QAction") || !action)
        return nullptr;
    QMenu *submenu = action->menu();
    if (!submenu)
        return nullptr;
    // The menu or menu bar it was added to.
    const QList<QObject *> owners = action->associatedObjects();
    for (QObject *owner : owners) {
        if (owner != submenu && (qobject_cast<QMenu *>(owner) || qobject_cast<QMenuBar *>(owner)))
            return new SubmenuEntryAccessible(action, qobject_cast<QWidget *>(owner));
    }
    return nullptr;
}

} // namespace Quorvath
