// The system's web browser, which the About window starts on a fixed page.
#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>

namespace Quorvath {

class Browser {
public:
    // Told once whether the page was opened.
    using Reply = std::function<void(bool opened)>;

    virtual ~Browser();
    // Whether a browser can be started at all; asked when the About window loads.
    virtual bool isAvailable() = 0;
    // Starts the browser on `url` without blocking and replies once, on
    // `context`'s thread, and never after `context` is gone. The reply may
    // come before open() returns.
    virtual void open(const QString &url, QObject *context, Reply reply) = 0;
};

// The platform's browser (browser_win.cpp, browser_linux.cpp). The page's
// address is handed over as one argument and never passes through a shell.
// A browser that has not answered within `bound` counts as a failure.
class SystemBrowser final : public QObject, public Browser {
public:
    static constexpr std::chrono::milliseconds DefaultBound{5000};

    explicit SystemBrowser(std::chrono::milliseconds bound = DefaultBound);
    // Ends the starters still running: none outlives the program.
    ~SystemBrowser() override;

    bool isAvailable() override;
    void open(const QString &url, QObject *context, Reply reply) override;

private:
    // The platform's part: the program to start, empty if there is none, and
    // starting it on `url`. `tell` heeds its first call only and replies in
    // the event loop.
    static QString program();
    void start(const QString &program, const QString &url, const Reply &tell);

    std::chrono::milliseconds m_bound;
};

} // namespace Quorvath
