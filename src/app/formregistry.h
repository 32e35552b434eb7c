// The forms of the program and the rules by which they live.
//
// Every form has one instance, created on first use and never twice. An
// instance is a plain state struct (the catalog of the main window, the
// animation position of the About window) plus, while the form is loaded,
// its window. Unloading destroys the window and keeps the state, so the next
// show loads the window again from its design over the same state.
//
// While a screen reader is active, a window that closes is hidden at once
// but deleted only a moment later (see keepForReader).
//
// The registry also decides when the program ends: when no window is loaded
// once the handler that unloaded the last one has returned. It counts the
// loaded windows itself rather than relying on Qt's last-window heuristics,
// whose timing differs between platforms (the intro's "Okay" unloads the only
// window before it shows the main window).
#pragma once

#include "forms.h"
#include "ticker.h"
#include "twips.h"

#include <QObject>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class QWidget;

namespace Quorvath {

class Browser;
struct AboutState;
struct Catalog;

class FormRegistry final : public QObject, public FormShower {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FormRegistry)
public:
    // The windows are laid out at `twips`: the scale applyProgramFont()
    // returns, or the design's own.
    FormRegistry(Question &question, Browser &browser, Twips::Scale twips, QObject *parent = nullptr);
    ~FormRegistry() override;

    // Chooses the program's one font from the texts of all windows, sets it
    // on the application and returns the layout's scale that it needs. Call
    // once, before the first window is made.
    static Twips::Scale applyProgramFont();
    // Sets the program's icon: at the title bar's sizes for every window,
    // and at every size the package installs for the windows with a taskbar
    // button, the intro and the main window.
    void applyProgramIcon();

    // Creates the instance if needed, loads the window if it is not loaded,
    // shows it and brings it to the front.
    void show(FormId form) override;
    // Closes the window as its close box would: the form may refuse.
    // Returns whether the form is unloaded afterwards.
    bool unload(FormId form);

    bool instanceExists(FormId form) const;
    bool isLoaded(FormId form) const;
    QWidget *window(FormId form) const;
    int loadedCount() const;
    bool hasEnded() const { return m_ended; }

    // Builds the main window ahead, hidden, so that "Okay" has only to load
    // and show it. Such a window is no instance yet: it is not loaded, does
    // not count for the end of the program and never shows until "Okay".
    // Does nothing once the main window exists or the program has ended.
    void prebuildMain();
    // Builds the main window ahead this long after the intro window has first
    // painted, while the user reads it; never when not set.
    void setPrebuildDelay(int ms) { m_prebuildDelay = ms; }
    // Makes the ticker of each About window that loads from now on: what
    // wakes its animation. A TimerTicker when not set.
    using TickerMaker = std::function<std::unique_ptr<Ticker>()>;
    void setAnimationTicker(TickerMaker make) { m_makeAnimationTicker = std::move(make); }

    // Whether a screen reader is active, asked as a window closes:
    // QAccessible::isActive() unless set (tests).
    void setReaderActive(std::function<bool()> active) { m_readerActive = std::move(active); }
    // How long a closed window is kept, hidden, while a screen reader is active.
    static constexpr int ReaderGraceMs = 2000;

    // The instance state of the forms that have one; null before first use.
    const Catalog *catalog() const { return slot(FormId::Main).created ? m_catalog.get() : nullptr; }
    const AboutState *aboutState() const { return m_aboutState.get(); }

    // The desktop session is ending: ask the windows that may refuse to
    // close, as every other way of closing them does. Returns false when the
    // user cancelled.
    bool closeForSessionEnd();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // No window is loaded and no handler runs any more: the program is over.
    void ended();
    // The first window's first frame is on the screen (emitted once).
    void firstPainted();

private:
    struct Slot {
        bool created = false;
        QPointer<QWidget> window;
    };

    struct Traits;
    static const Traits &traits(FormId form);

    QWidget *load(FormId form);
    QWidget *createIntro();
    QWidget *createMain();
    QWidget *createTerminology(FormId form);
    QWidget *createAbout();
    template <class Form>
    Form *adopt(FormId form, Form *window);
    void place(FormId form, QWidget *window) const;
    void onUnloaded(FormId form);
    void keepForReader(QWidget *window);
    void checkEnd();
    // Whether a window with a taskbar button is loaded: only through one can
    // a minimised window be found again.
    bool taskbarWindowLoaded() const;
    static void restoreIfMinimized(QWidget *window);
    Slot &slot(FormId form) { return m_slots[static_cast<size_t>(form)]; }
    const Slot &slot(FormId form) const { return m_slots[static_cast<size_t>(form)]; }

    Question &m_question;
    Browser &m_browser;
    const Twips::Scale m_twips;
    std::array<Slot, FormCount> m_slots{};
    std::unique_ptr<Catalog> m_catalog;
    std::unique_ptr<AboutState> m_aboutState;
    TickerMaker m_makeAnimationTicker;
    std::function<bool()> m_readerActive;
    QList<QPointer<QWidget>> m_keptForReader;   // closed, hidden, deleted after ReaderGraceMs
    bool m_ended = false;
    QPointer<QWidget> m_prebuilt;   // the main window built ahead, until "Okay" takes it
    int m_prebuildDelay = -1;
    bool m_painted = false;       // the first window's first frame is on the screen
    bool m_iconApplied = false;   // applyProgramIcon() has run
};

} // namespace Quorvath
