// A ticker the test wakes by hand: a window given one moves on only when
// the test says, never by the clock.
#pragma once

#include "ticker.h"

namespace Quorvath::Testing {

class ManualTicker final : public Ticker {
public:
    void start(int ms) override
    {
        m_active = true;
        m_interval = ms;
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }
    int interval() const override { return m_interval; }
    // The wake-up that the interval would bring; none while stopped.
    void tick() const
    {
        if (m_active)
            wake();
    }

private:
    bool m_active = false;
    int m_interval = 0;
};

} // namespace Quorvath::Testing
