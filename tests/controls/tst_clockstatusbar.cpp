#include "clockstatusbar.h"
#include "manualticker.h"
#include "minuteclock.h"

#include <QLabel>
#include <QLocale>
#include <QTest>

using Quorvath::ClockStatusBar;
using Quorvath::Testing::ManualTicker;
namespace MinuteClock = Quorvath::MinuteClock;

class ClockStatusBarTest final : public QObject {
    Q_OBJECT

private slots:
    void followsTheClock_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("interval");
        QTest::newRow("evening") << QDateTime(QDate(2001, 9, 18), QTime(21, 0, 0)) << 60000;
        QTest::newRow("before midnight") << QDateTime(QDate(2001, 12, 31), QTime(23, 59, 59, 500)) << 500;
        QTest::newRow("leap day") << QDateTime(QDate(2024, 2, 29), QTime(9, 5, 12, 0)) << 48000;
    }
    void followsTheClock()
    {
        QFETCH(QDateTime, now);
        QFETCH(int, interval);
        // The system's short date, and its short time without seconds.
        const QLocale locale = QLocale::system();
        const QString time = MinuteClock::withoutSeconds(locale.timeFormat(QLocale::ShortFormat));
        ClockStatusBar bar(QStringLiteral("Status"), 96);
        QDateTime clock = now;
        auto ticker = std::make_unique<ManualTicker>();
        ManualTicker &wake = *ticker;
        bar.setClock([&clock] { return clock; }, std::move(ticker));
        const auto panel = [&bar](int i) { return bar.findChild<QLabel *>(QStringLiteral("panel(%1)").arg(i)); };
        QVERIFY(panel(1) && panel(2) && panel(3));
        QCOMPARE(panel(2)->text(), locale.toString(now.date(), QLocale::ShortFormat));
        QCOMPARE(panel(3)->text(), locale.toString(now.time(), time));
        QVERIFY(wake.isActive());
        QCOMPARE(wake.interval(), interval);
        // The wake-up moves both panels on and re-arms for a whole minute.
        clock = now.addMSecs(interval);
        wake.tick();
        QCOMPARE(panel(2)->text(), locale.toString(clock.date(), QLocale::ShortFormat));
        QCOMPARE(panel(3)->text(), locale.toString(clock.time(), time));
        QCOMPARE(wake.interval(), 60000);
        QVERIFY(wake.isActive());
        QCOMPARE(panel(1)->text(), QStringLiteral("Status"));
    }
};

QTEST_MAIN(ClockStatusBarTest)
#include "tst_clockstatusbar.moc"
