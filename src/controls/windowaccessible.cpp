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

// A window with the role given, whose children are its controls less the
// decorative ones.
class WindowAccessible final : public QAccessibleWidget {
public:
    WindowAccessible(QWidget *window, QAccessible::Role role) : QAccessibleWidget(window, role) {}

    int childCount() const override { return int(children().size()); }
    QAccessibleInterface *child(int index) const override { return children().value(index); }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return int(children().indexOf(const_cast<QAccessibleInterface *>(child)));
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        QAccessibleInterface *found = QAccessibleWidget::childAt(x, y);
        return isDecorative(found) ? nullptr : found;
    }

private:
    QList<QAccessibleInterface *> children() const
    {
        QList<QAccessibleInterface *> list;
        const int count = QAccessibleWidget::childCount();
        for (int i = 0; i < count; ++i) {
            QAccessibleInterface *c = QAccessibleWidget::child(i);
            if (c && !isDecorative(c))
                list.append(c);
        }
        return list;
    }
};

// The program's root: its windows that show. Qt's own lists every top-level
// window made, hidden ones too.
class ShownWindowsApplication final : public QAccessibleApplication {
public:
    int childCount() const override { return int(windows().size()); }
    QAccessibleInterface *child(int index) const override { return windows().value(index); }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return int(windows().indexOf(const_cast<QAccessibleInterface *>(child)));
    }

private:
    QList<QAccessibleInterface *> windows() const
    {
        QList<QAccessibleInterface *> list;
        const int count = QAccessibleApplication::childCount();
        for (int i = 0; i < count; ++i) {
            QAccessibleInterface *w = QAccessibleApplication::child(i);
            const auto *widget = w ? qobject_cast<const QWidget *>(w->object()) : nullptr;
            if (w && (!widget || widget->isVisible()))
                list.append(w);
        }
        return list;
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
