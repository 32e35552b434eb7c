#include "accessiblefactories.h"

#include "classicframe.h"
#include "multirowtabaccessible.h"
#include "submenuaccessible.h"
#include "valuelabel.h"
#include "windowaccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace Quorvath {

namespace {

// A screen reader reads the value itself; its caption comes with it through
// the caption's buddy (QAccessibleWidget reports that as "labelled by").
class ValueLabelAccessible final : public QAccessibleWidget {
public:
    explicit ValueLabelAccessible(ValueLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            if (const auto *label = qobject_cast<const ValueLabel *>(object()))
                return label->text();
        }
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *controlAccessible(const QString &className, QObject *object)
{
    if (QAccessibleInterface *window = windowAccessible(className, object))
        return window;
    if (QAccessibleInterface *entry = submenuEntryAccessible(className, object))
        return entry;
    if (className == QLatin1String("Quorvath::ValueLabel")) {
        if (auto *label = qobject_cast<ValueLabel *>(object))
            return new ValueLabelAccessible(label);
    }
    // The frame is a group named by its caption.
    if (className == QLatin1String("Quorvath::ClassicFrame")) {
        if (auto *frame = qobject_cast<ClassicFrame *>(object))
            return new QAccessibleWidget(frame, QAccessible::Grouping);
    }
    return multiRowTabAccessible(className, object);
}

} // namespace

void installAccessibleFactories()
{
    // Qt keeps a factory only once, however often it is installed.
    QAccessible::installFactory(controlAccessible);
}

} // namespace Quorvath
