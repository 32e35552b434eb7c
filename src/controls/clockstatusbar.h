// A status bar with the three panels of the design: a springing text panel
// and two panels that keep today's date and the time of day current by
// themselves, in the system's short formats (the time without seconds).
// The panels are `panel(1)` to `panel(3)`.
#pragma once

#include "ticker.h"

#include <QDateTime>
#include <QStatusBar>

#include <functional>
#include <memory>

class QLabel;

namespace Quorvath {

class ClockStatusBar final : public QStatusBar {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClockStatusBar)

public:
    using Clock = std::function<QDateTime()>;

    // `minimumPanelWidth` applies to all three panels, in logical pixels.
    ClockStatusBar(const QString &text, int minimumPanelWidth, QWidget *parent = nullptr);

    // Tests replace the clock: the time it reads, by default
    // QDateTime::currentDateTime, and what wakes it on the minute, by
    // default a TimerTicker.
    void setClock(Clock clock, std::unique_ptr<Ticker> ticker);

private:
    // Redraws date and time and re-arms the ticker for the next minute.
    void tick();

    QLabel *m_text = nullptr;
    QLabel *m_date = nullptr;
    QLabel *m_time = nullptr;
    Clock m_clock = [] { return QDateTime::currentDateTime(); };
    std::unique_ptr<Ticker> m_ticker;
};

} // namespace Quorvath
