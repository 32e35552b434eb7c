// qi_flowbench: the window flow timed from inside the program, on a real
// display, beside the baseline window timed the same way.
//
//   qi_flowbench okay [N]      "Okay" on the intro until the main window has
//                              painted its Armor list; N runs (the first is cold)
//   qi_flowbench baseline [N]  show the baseline window until it has painted
//   qi_flowbench prebuilt [N]  the floor of "Okay": an empty window of the main
//                              window's size, menu bar and status bar included,
//                              built ahead as the program builds its main
//                              window, shown until it has painted
//   qi_flowbench allwindows    open all twelve windows once, the ten side
//                              windows at the same time, then exit: the peak
//                              memory of this process is the figure
//
// "Painted" means: the window event (expose or update request) in which the
// watched widget painted has been handled, which includes the flush of the
// window's buffer to the display.
#include "aboutwindow.h"
#include "baselinewindow.h"
#include "browser.h"
#include "formregistry.h"
#include "messageboxquestion.h"

#include <QAction>
#include <QApplication>
#include <QBackingStore>
#include <QElapsedTimer>
#include <QFile>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <malloc.h>
#include <memory>

using namespace Quorvath;

namespace {

// Watches one widget's paints. A widget paints while its window handles an
// expose or update request, and that window's buffer is flushed to the
// display before the handling returns: `flushedNs` is the clock reading at
// that return, after the first paint of the widget.
class PaintWatch final : public QObject {
public:
    PaintWatch(QWidget *widget, const QElapsedTimer &clock) : m_clock(clock)
    {
        widget->installEventFilter(this);
        s_active = this;
    }
    ~PaintWatch() override { s_active = nullptr; }
    bool painted = false;
    qint64 flushedNs = -1;

    // Called by the application after each event is handled.
    static void handled(QObject *receiver)
    {
        if (s_active && s_active->painted && s_active->flushedNs < 0 && receiver->isWindowType())
            s_active->flushedNs = s_active->m_clock.nsecsElapsed();
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }

private:
    const QElapsedTimer &m_clock;
    static inline PaintWatch *s_active = nullptr;
};

class BenchApplication final : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        const bool result = QApplication::notify(receiver, event);
        PaintWatch::handled(receiver);
        return result;
    }
};

// Handles events until `watch` has seen a paint and its flush; the time of
// that flush in ms, or -1 after 10 s. Events that come after it in the same
// batch (the keyboard focus arriving, say) are not counted.
double waitPainted(const PaintWatch &watch)
{
    QElapsedTimer limit;
    limit.start();
    while (watch.flushedNs < 0) {
        if (limit.elapsed() > 10000)
            return -1;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return watch.flushedNs / 1e6;
}

// Lets whatever the last step queued run out, so the next step starts calm.
void settle(int ms = 100)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
}

double g_clickMs = 0;   // of the last okayOnce(): the click handler alone

double okayOnce()
{
    MessageBoxQuestion question;
    SystemBrowser browser;
    FormRegistry forms(question, browser);
    forms.setPrebuildDelay(60);   // as the program does, and the icon too
    QObject::connect(&forms, &FormRegistry::introPainted, &forms, &FormRegistry::applyProgramIcon);
    QElapsedTimer t;
    t.start();
    forms.show(FormId::frmIntro);
    QWidget *intro = forms.window(FormId::frmIntro);
    {
        PaintWatch introPaint(intro, t);
        if (waitPainted(introPaint) < 0)
            return -1;
    }
    settle(250);   // the intro is read; the main window gets built meanwhile

    auto *okay = intro->findChild<QPushButton *>(QStringLiteral("Command1"));
    t.start();
    okay->click();
    g_clickMs = t.nsecsElapsed() / 1e6;
    // The main window exists once the click has returned.
    auto *armor = forms.window(FormId::d)->findChild<QTreeWidget *>(QStringLiteral("lstData(0)"));
    PaintWatch listPaint(armor->viewport(), t);
    const double ms = waitPainted(listPaint);
    if (ms < 0)
        return -1;
    if (armor->topLevelItemCount() != 23)
        return -1;
    return ms;
}

double baselineOnce()
{
    QElapsedTimer t;
    t.start();
    auto window = std::make_unique<QiBench::BaselineWindow>();
    double ms = -1;
    {
        PaintWatch paint(window.get(), t);
        window->show();
        ms = waitPainted(paint);
    }
    if (ms < 0)
        return -1;
    window.reset();
    settle();
    return ms;
}

double prebuiltOnce()
{
    // Built and rendered into its buffer as FormRegistry::prebuildMain does.
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Quorvath Floor"));
    window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&Quit"));
    window.menuBar()->addMenu(QStringLiteral("&Help"));
    window.statusBar()->showMessage(QStringLiteral("Status"));
    auto *client = new QWidget;
    client->setFixedSize(481, 429);
    window.setCentralWidget(client);
    window.ensurePolished();
    window.layout()->activate();
    window.winId();
    QBackingStore *store = window.backingStore();
    const QRect all(QPoint(), window.size());
    store->resize(all.size());
    store->beginPaint(all);
    if (QPaintDevice *device = store->paintDevice())
        window.render(device);
    store->endPaint();
    settle(250);

    QElapsedTimer t;
    t.start();
    PaintWatch paint(client, t);
    window.show();
    const double ms = waitPainted(paint);
    settle();
    return ms;
}

long peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

int allWindows()
{
    MessageBoxQuestion question;
    SystemBrowser browser;
    FormRegistry forms(question, browser);
    forms.setPrebuildDelay(60);   // as the program does, and the icon too
    QObject::connect(&forms, &FormRegistry::introPainted, &forms, &FormRegistry::applyProgramIcon);
    forms.show(FormId::frmIntro);
    settle(200);
    const long intro = peakResidentKb();
    forms.window(FormId::frmIntro)->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
    settle(200);
    const long main = peakResidentKb();
    // Through the menus, as the user opens them.
    static const char *const entries[] = {
        "mnutermitemname", "mnutermusableby", "mnutermeffects", "mnutermactivated",
        "mnutermuses1time", "mnutermuseslimited", "mnutermusesmultiple",
        "mnuitemusescontinuous", "mnutermdesc", "mnuabout",
    };
    long terminology = 0;
    for (const char *name : entries) {
        auto *action = forms.window(FormId::d)->findChild<QAction *>(QLatin1String(name));
        if (!action) {
            fprintf(stderr, "no menu entry %s\n", name);
            return 1;
        }
        if (QLatin1String(name) == QLatin1String("mnuabout")) {
            settle(200);
            terminology = peakResidentKb();
        }
        action->trigger();
    }
    settle(1500);   // the About animation runs through a few steps
    const bool allOpen = forms.loadedCount() == 11 && !forms.isLoaded(FormId::frmIntro);
    if (qEnvironmentVariableIsSet("QI_BENCH_MAPS")) {   // where the memory is, for reading
        const struct mallinfo2 heap = mallinfo2();
        fprintf(stderr, "heap_in_use_kb=%zu heap_free_kb=%zu heap_mmap_kb=%zu\n", heap.uordblks / 1024,
                heap.fordblks / 1024, heap.hblkhd / 1024);
        QFile maps(QStringLiteral("/proc/self/smaps"));
        QFile out(qEnvironmentVariable("QI_BENCH_MAPS"));
        if (maps.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly))
            out.write(maps.readAll());
    }
    // Peak resident memory after each stage, in kB.
    printf("windows_open=%d intro_kb=%ld main_kb=%ld terminology_kb=%ld vmhwm_kb=%ld\n",
           forms.loadedCount(), intro, main, terminology, peakResidentKb());
    return allOpen ? 0 : 1;
}

int repeat(double (*once)(), const char *label, int runs)
{
    for (int i = 0; i < runs; ++i) {
        const double ms = once();
        if (ms < 0) {
            fprintf(stderr, "%s: no paint\n", label);
            return 1;
        }
        printf("%s_ms=%.3f%s", label, ms, i == 0 ? " cold" : "");
        if (once == okayOnce)   // the rest: the round trip to the X server, paint and flush
            printf(" handler_ms=%.3f", g_clickMs);
        printf("\n");
        fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    BenchApplication app(argc, argv);
    FormRegistry::applyProgramFont();
    QApplication::setQuitOnLastWindowClosed(false);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const int runs = argc > 2 ? atoi(argv[2]) : 1;
    if (mode == QLatin1String("okay"))
        return repeat(okayOnce, "okay", runs);
    if (mode == QLatin1String("baseline"))
        return repeat(baselineOnce, "baseline_show_paint", runs);
    if (mode == QLatin1String("prebuilt"))
        return repeat(prebuiltOnce, "prebuilt_show_paint", runs);
    if (mode == QLatin1String("allwindows"))
        return allWindows();
    fprintf(stderr, "usage: qi_flowbench okay|baseline|prebuilt [N] | allwindows\n");
    return 2;
}
