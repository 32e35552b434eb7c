// A status bar with the three panels of the design: a springing text panel
// and two panels that keep today's date and the time of day current by
// themselves, in the system's short formats (the time without seconds).
// The panels are `panel(1)` to `panel(3)`, the timer that wakes it on the
// minute `minuteTimer`.
#pragma once

#include <QDateTime>
#include <QStatusBar>

#include <functional>

class QLabel;
class QTimer;

namespace Quorvath {

class ClockStatusBar final : public QStatusBar {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClockStatusBar)

public:
    using Clock = std::function<QDateTime()>;

    // `minimumPanelWidth` applies to all three panels, in logical pixels.
    ClockStatusBar(const QString &text, int minimumPanelWidth, QWidget *parent = nullptr);

    // Tests replace the clock; the default is QDateTime::currentDateTime.
    void setClock(Clock clock);

private:
    // Redraws date and time and re-arms the timer for the next minute.
    void tick();

    QLabel *m_text = nullptr;
    QLabel *m_date = nullptr;
    QLabel *m_time = nullptr;
    QTimer *m_timer = nullptr;
    Clock m_clock = [] { return QDateTime::currentDateTime(); };
};

} // namespace Quorvath
