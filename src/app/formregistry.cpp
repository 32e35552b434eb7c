#include "formregistry.h"

#include "aboutwindow.h"
#include "buildahead.h"
#include "introwindow.h"
#include "itemtable.h"
#include "mainwindow.h"
#include "fileicon.h"
#include "terminology.h"
#include "terminologywindow.h"
#include "windowframe.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace Quorvath {

namespace {

// The program's icon at the given sizes, read from the resources when a
// window is made, not kept decoded.
QIcon programIcon(std::initializer_list<int> sizes)
{
    QList<IconFile> files;
    for (int size : sizes)
        files.append({QSize(size, size), QStringLiteral(":/icons/quorvath-%1.png").arg(size)});
    return fileIcon(files);
}

// Every size the package installs into the icon theme (packaging/), so that
// docks and switchers need not scale a small one up.
QIcon taskbarIcon() { return programIcon({16, 32, 48, 64, 128, 256}); }

// What a title bar shows.
QIcon titleBarIcon() { return programIcon({16, 32, 48}); }

} // namespace

FormRegistry::FormRegistry(Question &question, Browser &browser, QObject *parent)
    : QObject(parent), m_question(question), m_browser(browser)
{
}

FormRegistry::~FormRegistry()
{
    // Windows still open when the registry goes (a test ending early) must
    // not call back into it.
    for (Slot &s : m_slots) {
        if (s.window) {
            s.window->disconnect(this);
            delete s.window;
        }
    }
    delete m_prebuilt;
}

void FormRegistry::prebuildMain()
{
    if (m_prebuilt || slot(FormId::d).created || m_ended)
        return;
    if (!m_catalog)
        m_catalog = std::make_unique<Catalog>();
    auto *main = new MainWindow(*m_catalog, *this, m_question, MainWindow::Load::Later);
    main->setWindowIcon(taskbarIcon());
    // Everything showing needs but the catalog, and the glyphs of the list
    // that Form_Load will fill, so that the first frame after "Okay" only
    // draws.
    buildAhead(main, [main](QPaintDevice *device) { main->preloadListGlyphs(device); });
    m_prebuilt = main;
}

void FormRegistry::applyProgramFont()
{
    std::vector<UiFont::Text> texts = IntroWindow::designedTexts();
    for (const auto &more : {MainWindow::designedTexts(), TerminologyWindow::designedTexts(),
                             AboutWindow::designedTexts()})
        texts.insert(texts.end(), more.begin(), more.end());
    // Set with no class name, it also replaces the fonts the platform gives
    // menus, message boxes and tooltips of their own.
    QApplication::setFont(UiFont::choose(texts));
}

void FormRegistry::applyProgramIcon()
{
    // The application's icon is the one every new window is made with, its
    // own set only afterwards: at all six sizes, each side window converted
    // 350 KB of pictures for the window system in passing, and the last
    // window opened set the program's peak memory.
    // The main window is made with its own (see prebuildMain and adopt).
    QApplication::setWindowIcon(titleBarIcon());
    if (QWidget *intro = window(FormId::frmIntro))
        intro->setWindowIcon(taskbarIcon());
}

void FormRegistry::show(FormId form)
{
    Slot &s = slot(form);
    s.created = true;
    if (!s.window) {
        s.window = load(form);
        ++m_loadedCount;
        place(form, s.window);
    }
    QWidget *w = s.window;
    // An open window comes back from being minimised as well as to the front.
    if (w->isMinimized())
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    w->show();
    w->raise();
    w->activateWindow();
}

bool FormRegistry::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && !m_introPainted && watched == window(FormId::frmIntro)) {
        m_introPainted = true;
        // Once this paint has been flushed to the screen.
        QMetaObject::invokeMethod(this, &FormRegistry::introPainted, Qt::QueuedConnection);
        // Started earlier, building the main window would hold up the
        // intro's first frame on screen.
        if (m_prebuildDelay >= 0)
            QTimer::singleShot(m_prebuildDelay, this, &FormRegistry::prebuildMain);
    }
    if (event->type() == QEvent::WindowStateChange && !isLoaded(FormId::d))
        restoreIfMinimized(static_cast<QWidget *>(watched));
    return QObject::eventFilter(watched, event);
}

void FormRegistry::restoreIfMinimized(QWidget *window)
{
    // The side windows have no taskbar button: minimised while the main
    // window is gone, nothing could bring them back, and the program would
    // run on unseen. Such a window comes straight back instead. Deferred, so
    // that the window manager has finished minimising it.
    QTimer::singleShot(0, window, [window] {
        if (window->isMinimized())
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    });
}

bool FormRegistry::unload(FormId form)
{
    if (QWidget *w = window(form))
        w->close();
    return !isLoaded(form);
}

bool FormRegistry::instanceExists(FormId form) const { return slot(form).created; }
bool FormRegistry::isLoaded(FormId form) const { return !slot(form).window.isNull(); }
QWidget *FormRegistry::window(FormId form) const { return slot(form).window; }

QWidget *FormRegistry::load(FormId form)
{
    switch (form) {
    case FormId::frmIntro:
        return adopt(form, new IntroWindow(*this));
    case FormId::d:
        if (m_prebuilt) {
            auto *main = static_cast<MainWindow *>(m_prebuilt.data());
            m_prebuilt = nullptr;
            main->Form_Load();
            return adopt(form, main);
        }
        if (!m_catalog)
            m_catalog = std::make_unique<Catalog>();
        return adopt(form, new MainWindow(*m_catalog, *this, m_question));
    case FormId::frmAbout:
        if (!m_aboutState)
            m_aboutState = std::make_unique<AboutState>();
        return adopt(form, new AboutWindow(*m_aboutState, m_browser));
    default:
        return adopt(form, new TerminologyWindow(*terminologyInfo(form)));
    }
}

template <class Form>
Form *FormRegistry::adopt(FormId form, Form *window)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (form != FormId::d)
        window->installEventFilter(this);
    // The main window has a taskbar button; the side windows have none, and
    // nothing shows their icon larger than a title bar does. The small sizes
    // spare converting the large pictures for the window system with each.
    // (The intro gets its icon once its first frame is on screen.)
    if (form == FormId::d && !window->testAttribute(Qt::WA_SetWindowIcon))
        window->setWindowIcon(taskbarIcon());
    else if (form != FormId::d && form != FormId::frmIntro)
        window->setWindowIcon(titleBarIcon());
    // The window is forgotten the moment it agrees to close; the deferred
    // delete that follows is only housekeeping.
    connect(window, &Form::unloaded, this, [this, form] { onUnloaded(form); });
    return window;
}

void FormRegistry::place(FormId form, QWidget *window) const
{
    // The main window centres itself. The side windows have no owner; they
    // open over the main window while it is there, else centred on the
    // screen, and always inside the screen's available area.
    if (form == FormId::d)
        return;
    QRect over;
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QWidget *main = this->window(FormId::d);
    if (form != FormId::frmIntro && main && main->isVisible()) {
        over = main->frameGeometry();
        screen = main->screen();
    }
    if (screen)
        placeByFrame(window, screen->availableGeometry(), over);
}

void FormRegistry::onUnloaded(FormId form)
{
    Slot &s = slot(form);
    if (!s.window)
        return;
    s.window = nullptr;
    --m_loadedCount;
    if (form == FormId::d) {
        for (Slot &other : m_slots) {
            if (other.window)
                restoreIfMinimized(other.window);
        }
    }
    if (m_loadedCount == 0) {
        // Decide once the running handler has returned: the intro's "Okay"
        // shows the main window right after unloading itself.
        QMetaObject::invokeMethod(this, &FormRegistry::checkEnd, Qt::QueuedConnection);
    }
}

void FormRegistry::checkEnd()
{
    if (m_loadedCount == 0 && !m_ended) {
        m_ended = true;
        emit ended();
    }
}

bool FormRegistry::closeForSessionEnd()
{
    return unload(FormId::d);
}

} // namespace Quorvath
