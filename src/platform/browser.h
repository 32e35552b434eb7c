// The system's web browser, which the About window starts on a fixed page.
#pragma once

#include <QString>

namespace Quorvath {

class Browser {
public:
    virtual ~Browser();
    // Whether a browser can be started at all; asked when the About window loads.
    virtual bool isAvailable() = 0;
    // Starts the browser on `url` without waiting for it. False if it could
    // not be started.
    virtual bool open(const QString &url) = 0;
};

// On Windows the browser at its fixed path, started maximized; elsewhere the
// desktop's opener, xdg-open, found on the PATH. The address is handed over
// as one argument and never passes through a shell.
class SystemBrowser final : public Browser {
public:
    bool isAvailable() override;
    bool open(const QString &url) override;
};

} // namespace Quorvath
