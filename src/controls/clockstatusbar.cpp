#include "clockstatusbar.h"

#include "minuteclock.h"

#include <QLabel>
#include <QLocale>

namespace Quorvath {

namespace {
QLabel *panel(const QString &name, int minimumWidth, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setMinimumWidth(minimumWidth);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setIndent(2);
    return label;
}
} // namespace

ClockStatusBar::ClockStatusBar(const QString &text, int minimumPanelWidth, QWidget *parent)
    : QStatusBar(parent)
    , m_text(panel(QStringLiteral("panel(1)"), minimumPanelWidth, this))
    , m_date(panel(QStringLiteral("panel(2)"), minimumPanelWidth, this))
    , m_time(panel(QStringLiteral("panel(3)"), minimumPanelWidth, this))
{
    setSizeGripEnabled(false);
    m_text->setText(text);
    m_date->setAlignment(Qt::AlignCenter);
    m_time->setAlignment(Qt::AlignCenter);
    addWidget(m_text, 1);   // springs: takes what the other two leave
    addPermanentWidget(m_date);
    addPermanentWidget(m_time);

    setClock(m_clock, std::make_unique<TimerTicker>());
}

void ClockStatusBar::setClock(Clock clock, std::unique_ptr<Ticker> ticker)
{
    m_clock = std::move(clock);
    m_ticker = std::move(ticker);
    m_ticker->setHandler([this] { tick(); });
    tick();
}

void ClockStatusBar::tick()
{
    const QDateTime now = m_clock();
    const QLocale locale = QLocale::system();
    m_date->setText(locale.toString(now.date(), QLocale::ShortFormat));
    m_time->setText(locale.toString(now.time(), MinuteClock::withoutSeconds(locale.timeFormat(QLocale::ShortFormat))));
    // Re-armed from the clock every time, so a late wake-up or a change of
    // the system time is caught up at the next minute.
    m_ticker->start(MinuteClock::msToNextMinute(now.time()));
}

} // namespace Quorvath
