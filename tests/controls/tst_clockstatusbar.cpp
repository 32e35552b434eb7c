#include "core/minuteclock.h"
#include "clockstatusbar.h"

#include <QLabel>
#include <QLocale>
#include <QTest>
#include <QTimer>

using Quorvath::ClockStatusBar;
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
        bar.setClock([&clock] { return clock; });
        const auto panel = [&bar](int i) { return bar.findChild<QLabel *>(QStringLiteral("panel(%1)").arg(i)); };
        auto *timer = bar.findChild<QTimer *>(QStringLiteral("minuteTimer"));
        QVERIFY(panel(1) && panel(2) && panel(3) && timer);
        QCOMPARE(panel(2)->text(), locale.toString(now.date(), QLocale::ShortFormat));
        QCOMPARE(panel(3)->text(), locale.toString(now.time(), time));
        QCOMPARE(timer->interval(), interval);
        QVERIFY(timer->isSingleShot());
        // The timer's wake-up moves both panels on and re-arms for a whole minute.
        clock = now.addMSecs(interval);
        emit timer->timeout({});
        QCOMPARE(panel(2)->text(), locale.toString(clock.date(), QLocale::ShortFormat));
        QCOMPARE(panel(3)->text(), locale.toString(clock.time(), time));
        QCOMPARE(timer->interval(), 60000);
        QVERIFY(timer->isActive());
        QCOMPARE(panel(1)->text(), QStringLiteral("Status"));
    }
};

QTEST_MAIN(ClockStatusBarTest)
#include "tst_clockstatusbar.moc"
