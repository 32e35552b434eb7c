#include "formregistry.h"

#include "aboutwindow.h"
#include "buildahead.h"
#include "fileicon.h"
#include "introwindow.h"
#include "itemtable.h"
#include "mainwindow.h"
#include "placementlog.h"
#include "terminology.h"
#include "terminologywindow.h"
#include "windowframe.h"

#include <QAccessible>
#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLayout>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <optional>

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

// What sets one form apart from the others, for the rules of this registry.
struct FormRegistry::Traits {
    QWidget *(*create)(FormRegistry &forms, FormId form);
    // A button of its own in the taskbar: the window then carries the icon
    // at every installed size, for docks and switchers; else at the title
    // bar's sizes.
    bool taskbarButton;
    // Opens centred over this form's window while that is visible; else, and
    // without one, centred on the screen.
    std::optional<FormId> placedOver;
    // Its close handler may cancel (the quit question).
    bool mayRefuseClose;
};

const FormRegistry::Traits &FormRegistry::traits(FormId form)
{
    using F = FormRegistry;
    constexpr auto intro = [](F &f, FormId) { return f.createIntro(); };
    constexpr auto main = [](F &f, FormId) { return f.createMain(); };
    constexpr auto terminology = [](F &f, FormId id) { return f.createTerminology(id); };
    constexpr auto about = [](F &f, FormId) { return f.createAbout(); };
    // In FormId's order.
    static const std::array<Traits, FormCount> table{{
        {intro, true, {}, false},                     // Intro
        {main, true, {}, true},                       // Main
        {terminology, false, FormId::Main, false},    // TermItemName
        {terminology, false, FormId::Main, false},    // TermUsableBy
        {terminology, false, FormId::Main, false},    // TermEffects
        {terminology, false, FormId::Main, false},    // TermActivated
        {terminology, false, FormId::Main, false},    // TermDescription
        {terminology, false, FormId::Main, false},    // TermOneTime
        {terminology, false, FormId::Main, false},    // TermLimited
        {terminology, false, FormId::Main, false},    // TermMultiple
        {terminology, false, FormId::Main, false},    // TermContinuous
        {about, false, FormId::Main, false},          // About
    }};
    return table[size_t(form)];
}

FormRegistry::FormRegistry(Question &question, Browser &browser, Twips::Scale twips, QObject *parent)
    : QObject(parent), m_question(question), m_browser(browser), m_twips(twips)
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
    qDeleteAll(m_keptForReader);
    delete m_prebuilt;
}

void FormRegistry::prebuildMain()
{
    if (m_prebuilt || slot(FormId::Main).created || m_ended)
        return;
    if (!m_catalog)
        m_catalog = std::make_unique<Catalog>();
    auto *main = new MainWindow(*m_catalog, *this, m_question, m_twips, MainWindow::Load::Later);
    main->setWindowIcon(taskbarIcon());
    // Everything showing needs but the catalog, and the glyphs of the list
    // that loadItems() will fill, so that the first frame after "Okay" only
    // draws.
    buildAhead(main, [main](QPaintDevice *device) { main->preloadListGlyphs(device); });
    m_prebuilt = main;
}

Twips::Scale FormRegistry::applyProgramFont()
{
    const UiFont::Choice choice = UiFont::choose([](Twips::Scale twips) {
        std::vector<UiFont::Text> texts = IntroWindow::designedTexts(twips);
        for (const auto &more : {MainWindow::designedTexts(twips), TerminologyWindow::designedTexts(twips),
                                 AboutWindow::designedTexts(twips)})
            texts.insert(texts.end(), more.begin(), more.end());
        return texts;
    });
    // Set with no class name, it also replaces the fonts the platform gives
    // menus, message boxes and tooltips of their own.
    QApplication::setFont(choice.font);
    return choice.twips;
}

void FormRegistry::applyProgramIcon()
{
    // The application's icon is the one every new window is made with, its
    // own set only afterwards: so it has only the title bar's sizes, or each
    // side window would convert the large pictures for the window system in
    // passing. The windows with a taskbar button loaded by now get all sizes
    // here, later ones when they load (see adopt).
    m_iconApplied = true;
    QApplication::setWindowIcon(titleBarIcon());
    for (size_t i = 0; i < m_slots.size(); ++i) {
        QWidget *w = m_slots[i].window;
        if (w && traits(FormId(i)).taskbarButton && !w->testAttribute(Qt::WA_SetWindowIcon))
            w->setWindowIcon(taskbarIcon());
    }
}

void FormRegistry::show(FormId form)
{
    Slot &s = slot(form);
    s.created = true;
    if (!s.window) {
        s.window = load(form);
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
    if (event->type() == QEvent::Paint && !m_painted) {
        m_painted = true;
        // Once this paint has been flushed to the screen.
        QMetaObject::invokeMethod(this, &FormRegistry::firstPainted, Qt::QueuedConnection);
        // Started earlier, building the main window would hold up the first
        // frame on screen.
        if (m_prebuildDelay >= 0)
            QTimer::singleShot(m_prebuildDelay, this, &FormRegistry::prebuildMain);
    }
    if (event->type() == QEvent::WindowStateChange && !taskbarWindowLoaded())
        restoreIfMinimized(static_cast<QWidget *>(watched));
    return QObject::eventFilter(watched, event);
}

bool FormRegistry::taskbarWindowLoaded() const
{
    for (size_t i = 0; i < m_slots.size(); ++i) {
        if (m_slots[i].window && traits(FormId(i)).taskbarButton)
            return true;
    }
    return false;
}

void FormRegistry::restoreIfMinimized(QWidget *window)
{
    // The side windows have no taskbar button: minimised while no window
    // with one is left, nothing could bring them back, and the program would
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

int FormRegistry::loadedCount() const
{
    return int(std::count_if(m_slots.begin(), m_slots.end(), [](const Slot &s) { return !s.window.isNull(); }));
}

bool FormRegistry::instanceExists(FormId form) const { return slot(form).created; }
bool FormRegistry::isLoaded(FormId form) const { return !slot(form).window.isNull(); }
QWidget *FormRegistry::window(FormId form) const { return slot(form).window; }

QWidget *FormRegistry::load(FormId form)
{
    return traits(form).create(*this, form);
}

QWidget *FormRegistry::createIntro()
{
    return adopt(FormId::Intro, new IntroWindow(*this, m_twips));
}

QWidget *FormRegistry::createMain()
{
    if (m_prebuilt) {
        auto *main = static_cast<MainWindow *>(m_prebuilt.data());
        m_prebuilt = nullptr;
        main->loadItems();
        return adopt(FormId::Main, main);
    }
    if (!m_catalog)
        m_catalog = std::make_unique<Catalog>();
    return adopt(FormId::Main, new MainWindow(*m_catalog, *this, m_question, m_twips));
}

QWidget *FormRegistry::createTerminology(FormId form)
{
    return adopt(form, new TerminologyWindow(*terminologyInfo(form), m_twips));
}

QWidget *FormRegistry::createAbout()
{
    if (!m_aboutState)
        m_aboutState = std::make_unique<AboutState>();
    std::unique_ptr<Ticker> ticker = m_makeAnimationTicker ? m_makeAnimationTicker() : std::make_unique<TimerTicker>();
    return adopt(FormId::About, new AboutWindow(*m_aboutState, m_browser, std::move(ticker), m_twips));
}

template <class Form>
Form *FormRegistry::adopt(FormId form, Form *window)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->installEventFilter(this);
    // Nothing shows a side window's icon larger than its title bar does, and
    // the small sizes spare converting the large pictures for the window
    // system with each. A window with a taskbar button made before the
    // program's icon is applied (the first one) gets it then.
    if (!traits(form).taskbarButton)
        window->setWindowIcon(titleBarIcon());
    else if (m_iconApplied && !window->testAttribute(Qt::WA_SetWindowIcon))
        window->setWindowIcon(taskbarIcon());
    // The window is forgotten the moment it agrees to close; the deferred
    // delete that follows is only housekeeping.
    connect(window, &Form::unloaded, this, [this, form] { onUnloaded(form); });
    return window;
}

void FormRegistry::place(FormId form, QWidget *window) const
{
    // Inside the screen's available area, centred over the window the form
    // opens over while that is visible, else centred on the screen. A window
    // sized by its layout is laid out first.
    window->ensurePolished();
    if (QLayout *layout = window->layout())
        layout->activate();
    QRect over;
    const QScreen *screen = QGuiApplication::primaryScreen();
    const std::optional<FormId> placedOver = traits(form).placedOver;
    const QWidget *other = placedOver ? this->window(*placedOver) : nullptr;
    if (other && other->isVisible()) {
        over = other->frameGeometry();
        screen = other->screen();
    }
    if (screen)
        placeByFrame(window, screen->availableGeometry(), over);
    else
        qCWarning(lcPlacement, "no screen to place '%s' on; it goes where the window system puts it",
                  qPrintable(window->windowTitle()));
}

void FormRegistry::onUnloaded(FormId form)
{
    Slot &s = slot(form);
    if (!s.window)
        return;
    QWidget *closing = s.window;
    s.window = nullptr;
    if (m_readerActive ? m_readerActive() : QAccessible::isActive())
        keepForReader(closing);
    if (traits(form).taskbarButton && !taskbarWindowLoaded()) {
        for (Slot &other : m_slots) {
            if (other.window)
                restoreIfMinimized(other.window);
        }
    }
    if (loadedCount() == 0) {
        // Decide once the running handler has returned: the intro's "Okay"
        // shows the main window right after unloading itself.
        QMetaObject::invokeMethod(this, &FormRegistry::checkEnd, Qt::QueuedConnection);
    }
}

void FormRegistry::keepForReader(QWidget *window)
{
    // A screen reader may handle the key that closed a window after the
    // window has gone: Orca 48 reads keys from the X server and handles them
    // in its own time. It then takes the window now active for the active one
    // and announces it only if it can walk up from the focus it knew last, a
    // control of the closed window, to the application; the controls of a
    // deleted window cannot answer, and the user would not hear which window
    // they are in. So the window is kept a moment, hidden: the accessible tree
    // lists shown windows only, and it is the form's no more, so the form
    // shown again meanwhile loads a window of its own.
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->removeEventFilter(this);
    window->disconnect(this);
    m_keptForReader.removeAll(nullptr);
    m_keptForReader.append(window);
    QTimer::singleShot(ReaderGraceMs, window, &QObject::deleteLater);
}

void FormRegistry::checkEnd()
{
    if (loadedCount() == 0 && !m_ended) {
        m_ended = true;
        emit ended();
    }
}

bool FormRegistry::closeForSessionEnd()
{
    for (size_t i = 0; i < m_slots.size(); ++i) {
        if (traits(FormId(i)).mayRefuseClose && !unload(FormId(i)))
            return false;
    }
    return true;
}

} // namespace Quorvath
