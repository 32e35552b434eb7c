#include "buildahead.h"

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
    }
    store->endPaint();
}

} // namespace Quorvath
