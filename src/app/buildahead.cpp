#include "buildahead.h"

#include "buildaheadlog.h"
#include "eventhook.h"
#include "presentanew.h"

#include <QBackingStore>
#include <QLayout>
#include <QWidget>

namespace Quorvath {

void buildAhead(QWidget *window, const std::function<void(QPaintDevice *)> &beforeRender)
{
    window->ensurePolished();
    if (QLayout *layout = window->layout())
        layout->activate();
    window->winId();
    QBackingStore *store = window->backingStore();
    const QRect all(QPoint(), window->size());
    store->resize(all.size());
    store->beginPaint(all);
    if (QPaintDevice *device = store->paintDevice()) {
        if (beforeRender)
            beforeRender(device);
        window->render(device);
    } else {
        qCWarning(lcBuildAhead, "the window system gave '%s' nothing to draw on; it is drawn when it "
                             "shows", qPrintable(window->windowTitle()));
    }
    store->endPaint();
    // Until the window first shows, what assistive technology heard of it
    // while hidden is forgotten. Its controls have told of their showing
    // before the window's own Show event, the window tells of itself after
    // it; a reader then reads each control's state afresh, shown.
    onEvent(window, QEvent::Show, [window] { presentAnew(window); }, Repeat::FirstTimeOnly);
}

} // namespace Quorvath
