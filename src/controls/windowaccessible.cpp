#include "windowaccessible.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QHash>
#include <QWidget>

namespace Quorvath {

namespace {

const char DecorativeProperty[] = "quorvathDecorative";

bool isDecorative(const QAccessibleInterface *iface)
{
    const QObject *object = iface ? iface->object() : nullptr;
    return object && object->property(DecorativeProperty).toBool();
}

// An accessible object whose children are its base's, less those keep()
// turns away.
template <class Base>
class KeptChildren : public Base {
public:
    using Base::Base;
    int childCount() const override { return int(kept().size()); }
    QAccessibleInterface *child(int index) const override { return kept().value(index); }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return int(kept().indexOf(const_cast<QAccessibleInterface *>(child)));
    }

protected:
    virtual bool keep(const QAccessibleInterface *child) const = 0;

private:
    QList<QAccessibleInterface *> kept() const
    {
        QList<QAccessibleInterface *> list;
        const int count = Base::childCount();
        for (int i = 0; i < count; ++i) {
            QAccessibleInterface *c = Base::child(i);
            if (c && keep(c))
                list.append(c);
        }
        return list;
    }
};

// A window with the role given, whose children are its controls less the
// decorative ones.
class WindowAccessible final : public KeptChildren<QAccessibleWidget> {
public:
    WindowAccessible(QWidget *window, QAccessible::Role role) : KeptChildren(window, role) {}

    QAccessibleInterface *childAt(int x, int y) const override
    {
        QAccessibleInterface *found = QAccessibleWidget::childAt(x, y);
        return isDecorative(found) ? nullptr : found;
    }

private:
    bool keep(const QAccessibleInterface *child) const override { return !isDecorative(child); }
};

// The program's root: its windows that show. Qt's own lists every top-level
// window made, hidden ones too.
class ShownWindowsApplication final : public KeptChildren<QAccessibleApplication> {
private:
    bool keep(const QAccessibleInterface *window) const override
    {
        const auto *widget = qobject_cast<const QWidget *>(window->object());
        return !widget || widget->isVisible();
    }
};

QHash<QString, QAccessible::Role> &windowRoles()
{
    static QHash<QString, QAccessible::Role> roles;
    return roles;
}

} // namespace

QAccessibleInterface *windowAccessible(const QString &className, QObject *object)
{
    if (object && object == qApp && className == QLatin1String("QApplication"))
        return new ShownWindowsApplication;
    const auto role = windowRoles().constFind(className);
    if (role != windowRoles().cend() && object && object->isWidgetType()
        && static_cast<QWidget *>(object)->isWindow())
        return new WindowAccessible(static_cast<QWidget *>(object), *role);
    return nullptr;
}

void presentWindowAs(QWidget *window, QAccessible::Role role)
{
    windowRoles().insert(QLatin1String(window->metaObject()->className()), role);
}

void markDecorative(QWidget *widget)
{
    widget->setProperty(DecorativeProperty, true);
}

} // namespace Quorvath
