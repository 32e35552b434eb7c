// A lone Alt opens the menu bar, also when the screen reader is late.
//
// QMenuBar arms itself on the ShortcutOverride of an Alt press (its filter on
// the window) and, armed, toggles its keyboard mode on the next Alt release
// (its filter on the application), which disarms it. Qt's AT-SPI bridge keeps
// every spontaneous KeyPress and KeyRelease from the program until the
// reader has answered, then posts a copy, not spontaneous; it leaves the
// ShortcutOverride alone. For a non-spontaneous KeyPress, QApplication::notify
// sends a ShortcutOverride of its own first (so that replayed keys still
// trigger shortcuts). When the reader answers before the release, that second
// override meets an armed bar and changes nothing. When it answers after the
// release, as a busy reader or machine makes it (or the bridge's 100 ms pass
// and it posts every held key at once), the order becomes:
//   override (spontaneous): armed;  real release: opens, disarmed;
//   copied press's override: armed again;  copied release: shut.
// The bar opened and shut at once, and the lone Alt did nothing. Seen in Qt
// 6.4.2's qspiapplicationadaptor.cpp, qapplication.cpp and qmenubar.cpp, and
// with Orca stopped for 250 ms around the key every time.
//
// The spontaneous flag does not tell the two overrides apart: the override
// travels from the focus widget up to the window, and QApplication clears the
// flag once the first widget has had the event (notify_helper), so the
// window with the bar's filter never sees it set. The copied press does tell itself
// apart: the bridge took the real one where it first arrived, at the QWindow,
// so the copy is posted to the QWindow, not spontaneous, and the window hands
// it on to its focus widget, where notify sends the override. The filter
// marks such a press of a lone Alt or Meta, ignores the overrides that follow
// until the press itself reaches the widget, and lets everything through
// without a screen reader. The real press's override still arms the bar, and
// a lone modifier is never a shortcut, so the ignored override has nothing
// else to do.
#include "readerkeys.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QObject>

namespace Quorvath {

namespace {

class ReaderKeyCopies final : public QObject {
public:
    bool eventFilter(QObject *receiver, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress && type != QEvent::KeyRelease)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (event->spontaneous() || (key != Qt::Key_Alt && key != Qt::Key_Meta) || !QAccessible::isActive()) {
            m_copyOnTheWay = false;
            return false;
        }
        if (type == QEvent::KeyPress) {
            // At the window: the bridge's copy, on its way to the focus
            // widget. At the widget: on its way no more.
            m_copyOnTheWay = receiver->isWindowType();
            return false;
        }
        if (type == QEvent::ShortcutOverride && m_copyOnTheWay) {
            // Ignored, so that Qt carries on as if nobody had wanted the
            // key; filtered, so that neither widget nor filter sees it.
            event->ignore();
            return true;
        }
        return false;
    }

private:
    bool m_copyOnTheWay = false;
};

} // namespace

void mendReaderKeyCopies()
{
    static ReaderKeyCopies filter;
    QCoreApplication::instance()->installEventFilter(&filter);
}

} // namespace Quorvath
