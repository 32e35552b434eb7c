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
//   qi_flowbench allwindowsfloor  the same with bare Qt widgets of the kinds
//                              and sizes the design asks for, without the
//                              program's own code, pictures and font choice:
//                              the floor of that figure
//   qi_flowbench fontchoice [N]  the choice of the program's font, N times
//                              (the first is cold)
//
// "Painted" means: the window event (expose or update request) in which the
// watched widget painted has been handled, which includes the flush of the
// window's buffer to the display.
#include "aboutwindow.h"
#include "baselinewindow.h"
#include "browser.h"
#include "buildahead.h"
#include "formregistry.h"
#include "itemtable.h"
#include "messageboxquestion.h"
#include "terminology.h"
#include "twips.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
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
Twips::Scale g_twips;   // the layout's, as the program's font needs it

double okayOnce()
{
    MessageBoxQuestion question;
    SystemBrowser browser;
    FormRegistry forms(question, browser, g_twips);
    forms.setPrebuildDelay(60);   // as the program does, and the icon too
    QObject::connect(&forms, &FormRegistry::firstPainted, &forms, &FormRegistry::applyProgramIcon);
    QElapsedTimer t;
    t.start();
    forms.show(FormId::Intro);
    QWidget *intro = forms.window(FormId::Intro);
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
    auto *armor = forms.window(FormId::Main)->findChild<QTreeWidget *>(QStringLiteral("lstData(0)"));
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
    // Built ahead as FormRegistry::prebuildMain builds the main window.
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Quorvath Floor"));
    window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&Quit"));
    window.menuBar()->addMenu(QStringLiteral("&Help"));
    window.statusBar()->showMessage(QStringLiteral("Status"));
    auto *client = new QWidget;
    client->setFixedSize(481, 429);
    window.setCentralWidget(client);
    buildAhead(&window);
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
    FormRegistry forms(question, browser, g_twips);
    forms.setPrebuildDelay(60);   // as the program does, and the icon too
    QObject::connect(&forms, &FormRegistry::firstPainted, &forms, &FormRegistry::applyProgramIcon);
    forms.show(FormId::Intro);
    settle(200);
    const long intro = peakResidentKb();
    forms.window(FormId::Intro)->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
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
        auto *action = forms.window(FormId::Main)->findChild<QAction *>(QLatin1String(name));
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
    const bool allOpen = forms.loadedCount() == 11 && !forms.isLoaded(FormId::Intro);
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

// Stand-ins of the twelve windows, as Qt makes them without this program.
int allWindowsFloor()
{
    const auto button = [](QWidget *parent, QRect rect) {
        auto *okay = new QPushButton(QStringLiteral("Okay"), parent);
        okay->setGeometry(rect);
    };
    {
        // The intro: a picture and a button, gone at "Okay".
        QWidget intro;
        intro.setFixedSize(288, 267);
        QImage art(287, 172, QImage::Format_RGB32);
        art.fill(Qt::darkGreen);
        auto *picture = new QLabel(&intro);
        picture->setPixmap(QPixmap::fromImage(art));
        picture->setGeometry(0, 0, 287, 172);
        button(&intro, {96, 224, 97, 25});
        intro.show();
        settle(200);
    }
    std::vector<std::unique_ptr<QWidget>> windows;
    // The main window: menus, a status bar of three panels, a list in bold
    // with the Armor entries, six captions with their boxes.
    auto main = std::make_unique<QMainWindow>();
    main->menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&Quit"));
    main->menuBar()->addMenu(QStringLiteral("&Search"))->addAction(QStringLiteral("&Find"));
    main->menuBar()->addMenu(QStringLiteral("&Help"))->addAction(QStringLiteral("&About"));
    for (const char *panel : {"Status", "8 Dec 2026", "09:00"})
        main->statusBar()->addPermanentWidget(new QLabel(QLatin1String(panel)));
    auto *client = new QWidget;
    client->setFixedSize(481, 429);
    main->setCentralWidget(client);
    auto *list = new QTreeWidget(client);
    QFont bold = list->font();
    bold.setBold(true);
    list->setFont(bold);
    list->setHeaderLabels({QStringLiteral("Item")});
    list->setGeometry(8, 64, 449, 105);
    for (int row = 1; row <= CatalogRowCount; ++row) {
        if (catalogText(row, Category) == QLatin1String("Armor"))
            list->addTopLevelItem(new QTreeWidgetItem({catalogText(row, Name)}));
    }
    for (int line = 0; line < 6; ++line) {
        new QLabel(QStringLiteral("Caption:"), client);
        auto *box = new QLabel(client);
        box->setFrameStyle(QFrame::Box | QFrame::Plain);
        box->setGeometry(72, 200 + 36 * line, 361, 17);
    }
    main->show();
    settle(200);
    windows.push_back(std::move(main));
    // The nine text windows and the About window.
    for (const TerminologyInfo &info : terminologyTable()) {
        auto window = std::make_unique<QWidget>();
        window->setFixedSize(g_twips.size(info.client.width(), info.client.height()));
        auto *text = new QPlainTextEdit(QString(info.explanation), window.get());
        text->setGeometry(QRect(QPoint(8, 16), g_twips.size(info.text.width(), info.text.height())));
        window->show();
        windows.push_back(std::move(window));
    }
    auto about = std::make_unique<QWidget>();
    about->setFixedSize(475, 207);
    QImage frame(88, 88, QImage::Format_RGB32);
    frame.fill(Qt::gray);
    auto *animation = new QLabel(about.get());
    animation->setPixmap(QPixmap::fromImage(frame));
    animation->setGeometry(24, 8, 88, 88);
    (new QPlainTextEdit(QStringLiteral("About this program"), about.get()))->setGeometry(160, 24, 305, 169);
    for (int b = 0; b < 3; ++b)
        button(about.get(), {16, 112 + 30 * b, 121, 25});
    about->show();
    windows.push_back(std::move(about));
    settle(1500);
    printf("windows_open=%d vmhwm_kb=%ld\n", int(windows.size()), peakResidentKb());
    return 0;
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

// The first choice also fills the font database and loads the faces, as at
// start; the others only measure.
int timeFontChoice(int runs)
{
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        FormRegistry::applyProgramFont();
        printf("fontchoice_ms=%.3f%s\n", t.nsecsElapsed() / 1e6, i == 0 ? " cold" : "");
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    BenchApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const int runs = argc > 2 ? atoi(argv[2]) : 1;
    if (mode == QLatin1String("fontchoice"))
        return timeFontChoice(runs);
    if (mode != QLatin1String("allwindowsfloor"))
        g_twips = FormRegistry::applyProgramFont();
    if (mode == QLatin1String("okay"))
        return repeat(okayOnce, "okay", runs);
    if (mode == QLatin1String("baseline"))
        return repeat(baselineOnce, "baseline_show_paint", runs);
    if (mode == QLatin1String("prebuilt"))
        return repeat(prebuiltOnce, "prebuilt_show_paint", runs);
    if (mode == QLatin1String("allwindows"))
        return allWindows();
    if (mode == QLatin1String("allwindowsfloor"))
        return allWindowsFloor();
    fprintf(stderr, "usage: qi_flowbench okay|baseline|prebuilt|fontchoice [N] | allwindows | allwindowsfloor\n");
    return 2;
}
