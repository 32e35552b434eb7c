// How every form's window closes, said once for all of them.
#pragma once

#include <QCloseEvent>

namespace Quorvath {

// Called from a form's closeEvent(). A form that refuses (the main window
// when the user answers No to the quit question) ignores the close and
// stays. Otherwise it accepts and emits its `unloaded()` signal at once:
// the registry forgets the window there, and the delete that Qt defers
// (Qt::WA_DeleteOnClose) is only housekeeping.
template <class Form>
void closeForm(Form &form, QCloseEvent *event, bool refuse = false)
{
    if (refuse) {
        event->ignore();
        return;
    }
    event->accept();
    emit form.unloaded();
}

} // namespace Quorvath
