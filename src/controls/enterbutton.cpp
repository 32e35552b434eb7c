#include "enterbutton.h"

#include <QPushButton>
#include <QKeyEvent>

namespace Quorvath {

namespace {

class EnterPresses final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            || (key->modifiers() & ~Qt::KeypadModifier))
            return false;
        static_cast<QPushButton *>(watched)->click();
        return true;
    }
};

} // namespace

void pressOnEnter(QPushButton *button)
{
    button->setAutoDefault(false);
    button->installEventFilter(new EnterPresses(button));
}

} // namespace Quorvath
