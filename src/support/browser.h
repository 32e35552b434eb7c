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

// On Windows the browser at its fixed path, started maximized: it stays up
// while it shows the page, so having started is success. Elsewhere the
// desktop's opener, xdg-open, found on the PATH: it hands the page over and
// exits, 0 on success, so its exit status is the reply, given in the event
// loop. An opener that has not exited within `bound` is killed and counts as
// a failure. The address is handed over as one argument and never passes
// through a shell.
class SystemBrowser final : public QObject, public Browser {
public:
    static constexpr std::chrono::milliseconds DefaultBound{5000};

    explicit SystemBrowser(std::chrono::milliseconds bound = DefaultBound);
    // Ends the openers still running: none outlives the program.
    ~SystemBrowser() override;

    bool isAvailable() override;
    void open(const QString &url, QObject *context, Reply reply) override;

private:
    std::chrono::milliseconds m_bound;
};

} // namespace Quorvath
