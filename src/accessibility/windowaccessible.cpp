#include "windowaccessible.h"

#include "accessibilitylog.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QMetaEnum>
#include <QWidget>

#include <optional>

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

// The role the window's class, or one it derives from, declares.
std::optional<QAccessible::Role> declaredRole(const QWidget *window)
{
    const QMetaObject *meta = window->metaObject();
    const int index = meta->indexOfClassInfo(AccessibleRoleInfo);
    if (index < 0)
        return std::nullopt;
    const char *name = meta->classInfo(index).value();
    bool known = false;
    const int role = QMetaEnum::fromType<QAccessible::Role>().keyToValue(name, &known);
    if (!known) {
        qCWarning(lcAccessibility, "%s declares the role '%s', which is none; presented as Qt "
                              "presents it", meta->className(), name);
        return std::nullopt;
    }
    return QAccessible::Role(role);
}

} // namespace

QAccessibleInterface *windowAccessible(const QString &className, QObject *object)
{
    if (object && object == qApp && className == QLatin1String("QApplication"))
        return new ShownWindowsApplication;
    // Decided when Qt asks with the object's own class, the first it asks with.
    auto *window = qobject_cast<QWidget *>(object);
    if (!window || !window->isWindow() || className != QLatin1String(window->metaObject()->className()))
        return nullptr;
    if (const std::optional<QAccessible::Role> role = declaredRole(window))
        return new WindowAccessible(window, *role);
    return nullptr;
}

void markDecorative(QWidget *widget)
{
    widget->setProperty(DecorativeProperty, true);
}

} // namespace Quorvath
