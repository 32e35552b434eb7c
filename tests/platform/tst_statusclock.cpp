#include "core/minuteclock.h"
#include "statusclock.h"

#include <QLabel>
#include <QLocale>
#include <QTest>
#include <QTimer>

using Quorvath::ClockStatusBar;

class StatusClockTest final : public QObject {
    Q_OBJECT

private slots:
    void panels()
    {
        QWidget window;
        window.resize(481, 24);
        ClockStatusBar bar(QStringLiteral("Status"), 96, &window);
        bar.setGeometry(0, 0, 481, 24);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(bar.textPanel()->text(), QStringLiteral("Status"));
        // Left to right: the text panel springs, date and time keep their minimum.
        QVERIFY(bar.textPanel()->geometry().right() < bar.datePanel()->geometry().left());
        QVERIFY(bar.datePanel()->geometry().right() < bar.timePanel()->geometry().left());
        QCOMPARE(bar.datePanel()->width(), 96);
        QCOMPARE(bar.timePanel()->width(), 96);
        QVERIFY(bar.textPanel()->width() > 250);
        QVERIFY(bar.minuteTimer()->isSingleShot() && bar.minuteTimer()->isActive());
        QVERIFY(bar.minuteTimer()->interval() <= 60000);
    }

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
        QCOMPARE(bar.datePanel()->text(), locale.toString(now.date(), QLocale::ShortFormat));
        QCOMPARE(bar.timePanel()->text(), locale.toString(now.time(), time));
        QCOMPARE(bar.minuteTimer()->interval(), interval);
        // The timer's wake-up moves both panels on and re-arms for a whole minute.
        clock = now.addMSecs(interval);
        emit bar.minuteTimer()->timeout({});
        QCOMPARE(bar.datePanel()->text(), locale.toString(clock.date(), QLocale::ShortFormat));
        QCOMPARE(bar.timePanel()->text(), locale.toString(clock.time(), time));
        QCOMPARE(bar.minuteTimer()->interval(), 60000);
        QVERIFY(bar.minuteTimer()->isActive());
        QCOMPARE(bar.textPanel()->text(), QStringLiteral("Status"));
    }
};

QTEST_MAIN(StatusClockTest)
#include "tst_statusclock.moc"
