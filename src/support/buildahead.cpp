#include "buildahead.h"

#include "presentanew.h"

#include <QBackingStore>
#include <QEvent>
#include <QLayout>
#include <QWidget>

namespace Quorvath {

namespace {

// Until the window first shows: what assistive technology heard of it while
// hidden is forgotten. Its controls have told of their showing before the
// window's own Show event, the window tells of itself after it; a reader
// then reads each control's state afresh, shown.
class FirstShow final : public QObject {
public:
    explicit FirstShow(QWidget *window) : QObject(window), m_window(window) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Show) {
            presentAnew(m_window);
            m_window->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QWidget *m_window;
};

} // namespace

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
    window->installEventFilter(new FirstShow(window));
}

} // namespace Quorvath
