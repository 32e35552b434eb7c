#include "ticker.h"

namespace Quorvath {

Ticker::~Ticker() = default;

TimerTicker::TimerTicker()
{
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { wake(); });
}

} // namespace Quorvath
