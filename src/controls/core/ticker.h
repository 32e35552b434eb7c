// What wakes a window again and again: the status bar's clock, the About
// window's animation. The window is given its ticker; the program's is a
// QTimer (TimerTicker), and a test gives one it steps by hand, so that no
// test needs to reach for a window's timer.
#pragma once

#include <QTimer>

#include <functional>

namespace Quorvath {

class Ticker {
    Q_DISABLE_COPY_MOVE(Ticker)
public:
    using Handler = std::function<void()>;

    Ticker() = default;
    virtual ~Ticker();
    // Called at every wake-up; set by the window that owns the ticker.
    void setHandler(Handler handler) { m_handler = std::move(handler); }
    // Wakes `ms` from now and then every `ms`, until stopped or started
    // again; started again, the count begins anew from now.
    virtual void start(int ms) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    // The interval it was last started with.
    virtual int interval() const = 0;

protected:
    void wake() const
    {
        if (m_handler)
            m_handler();
    }

private:
    Handler m_handler;
};

// A precise QTimer, woken by the event loop.
class TimerTicker final : public Ticker {
public:
    TimerTicker();
    void start(int ms) override { m_timer.start(ms); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }
    int interval() const override { return m_timer.interval(); }

private:
    QTimer m_timer;
};

} // namespace Quorvath
