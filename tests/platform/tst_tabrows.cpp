#include "core/minuteclock.h"
#include "core/tabrows.h"

#include <QTest>

using TabRows::Strip;

class TabRowsTest final : public QObject {
    Q_OBJECT

private slots:
    void rows_data();
    void rows();
    void rectangles_data();
    void rectangles();
    void rectanglesTileEachLine();
    void hitTest();
    void keySteps_data();
    void keySteps();
    void nextMinute_data();
    void nextMinute();
    void timeFormatWithoutSeconds_data();
    void timeFormatWithoutSeconds();
};

// The main window's strip: eleven tabs, four to a row, 481 px wide, 20 px high.
static constexpr Strip Eleven{11, 4, 481, 20};

void TabRowsTest::rows_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("perRow");
    QTest::addColumn<int>("rows");
    QTest::newRow("eleven by four") << 11 << 4 << 3;
    QTest::newRow("exactly full") << 8 << 4 << 2;
    QTest::newRow("one short row") << 3 << 4 << 1;
    QTest::newRow("one per row") << 5 << 1 << 5;
    QTest::newRow("none") << 0 << 4 << 0;
}

void TabRowsTest::rows()
{
    QFETCH(int, count);
    QFETCH(int, perRow);
    QFETCH(int, rows);
    const Strip s{count, perRow, 400, 20};
    QCOMPARE(s.rows(), rows);
    QCOMPARE(s.height(), rows * 20);
}

void TabRowsTest::rectangles_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QRect>("rect");
    // Selected row next to the page (bottom line, y 40); the others rotate above.
    QTest::newRow("Armor, Armor selected") << 0 << 0 << QRect(0, 40, 120, 20);
    QTest::newRow("Helms, Armor selected") << 3 << 0 << QRect(360, 40, 121, 20);
    QTest::newRow("Misc. Items, Armor selected") << 4 << 0 << QRect(0, 20, 120, 20);
    QTest::newRow("Containers, Armor selected") << 10 << 0 << QRect(240, 0, 120, 20);
    QTest::newRow("Weapons, Weapons selected") << 7 << 7 << QRect(360, 40, 121, 20);
    QTest::newRow("Armor, Weapons selected") << 0 << 7 << QRect(0, 0, 120, 20);
    QTest::newRow("Quivers, Weapons selected") << 9 << 7 << QRect(120, 20, 120, 20);
    QTest::newRow("Armor, Quivers selected") << 0 << 9 << QRect(0, 20, 120, 20);
    QTest::newRow("Rings, Quivers selected") << 5 << 9 << QRect(120, 0, 120, 20);
    QTest::newRow("no such tab") << 11 << 0 << QRect();
    QTest::newRow("no such selection") << 0 << -1 << QRect();
}

void TabRowsTest::rectangles()
{
    QFETCH(int, tab);
    QFETCH(int, selected);
    QFETCH(QRect, rect);
    QCOMPARE(TabRows::tabRect(Eleven, tab, selected), rect);
}

void TabRowsTest::rectanglesTileEachLine()
{
    // Whatever is selected: every line is used once, the selected tab is on
    // the bottom line, and full rows tile the width without gaps.
    for (int selected = 0; selected < Eleven.count; ++selected) {
        QList<int> lines;
        for (int row = 0; row < Eleven.rows(); ++row) {
            const QRect first = TabRows::tabRect(Eleven, row * 4, selected);
            lines.append(first.top() / 20);
            int right = 0;
            for (int tab = row * 4; tab < qMin(row * 4 + 4, Eleven.count); ++tab) {
                const QRect r = TabRows::tabRect(Eleven, tab, selected);
                QCOMPARE(r.left(), right);
                QCOMPARE(r.top(), first.top());
                right = r.left() + r.width();
            }
            if (row < 2)
                QCOMPARE(right, Eleven.width);
        }
        std::sort(lines.begin(), lines.end());
        QCOMPARE(lines, QList<int>({0, 1, 2}));
        QCOMPARE(TabRows::tabRect(Eleven, selected, selected).top(), 40);
    }
}

void TabRowsTest::hitTest()
{
    for (int selected : {0, 5, 10}) {
        for (int tab = 0; tab < Eleven.count; ++tab) {
            const QRect r = TabRows::tabRect(Eleven, tab, selected);
            QCOMPARE(TabRows::tabAt(Eleven, r.center(), selected), tab);
            QCOMPARE(TabRows::tabAt(Eleven, r.topLeft(), selected), tab);
            QCOMPARE(TabRows::tabAt(Eleven, r.bottomRight(), selected), tab);
        }
    }
    // Beside the short row, and below the strip, there is no tab.
    const QRect last = TabRows::tabRect(Eleven, 10, 0);
    QCOMPARE(TabRows::tabAt(Eleven, QPoint(last.right() + 5, last.center().y()), 0), -1);
    QCOMPARE(TabRows::tabAt(Eleven, QPoint(10, Eleven.height()), 0), -1);
    QCOMPARE(TabRows::tabAt(Eleven, QPoint(-1, 5), 0), -1);
}

void TabRowsTest::keySteps_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("delta");
    QTest::addColumn<int>("stepped");
    QTest::addColumn<int>("cycled");
    QTest::newRow("next") << 3 << +1 << 4 << 4;
    QTest::newRow("previous") << 4 << -1 << 3 << 3;
    QTest::newRow("past the last") << 10 << +1 << 10 << 0;
    QTest::newRow("before the first") << 0 << -1 << 0 << 10;
}

void TabRowsTest::keySteps()
{
    QFETCH(int, tab);
    QFETCH(int, delta);
    QFETCH(int, stepped);
    QFETCH(int, cycled);
    QCOMPARE(TabRows::stepped(Eleven, tab, delta), stepped);
    QCOMPARE(TabRows::cycled(Eleven, tab, delta), cycled);
}

void TabRowsTest::nextMinute_data()
{
    QTest::addColumn<QTime>("now");
    QTest::addColumn<int>("ms");
    QTest::newRow("on the minute") << QTime(21, 0, 0, 0) << 60000;
    QTest::newRow("just after") << QTime(21, 0, 0, 1) << 59999;
    QTest::newRow("half way") << QTime(9, 15, 30, 250) << 29750;
    QTest::newRow("last millisecond of the day") << QTime(23, 59, 59, 999) << 1;
    QTest::newRow("invalid") << QTime() << 60000;
}

void TabRowsTest::nextMinute()
{
    QFETCH(QTime, now);
    QFETCH(int, ms);
    QCOMPARE(MinuteClock::msToNextMinute(now), ms);
}

void TabRowsTest::timeFormatWithoutSeconds_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("shown");
    QTest::newRow("C locale") << "HH:mm:ss" << "HH:mm";
    QTest::newRow("no seconds") << "h:mm AP" << "h:mm AP";
    QTest::newRow("seconds before AM/PM") << "h:mm:ss AP" << "h:mm AP";
    QTest::newRow("fractions") << "HH.mm.ss.zzz" << "HH.mm";
    QTest::newRow("quoted s kept") << "H 'h' mm 'min' ss 's'" << "H 'h' mm 'min' 's'";
    QTest::newRow("empty") << "" << "";
}

void TabRowsTest::timeFormatWithoutSeconds()
{
    QFETCH(QString, format);
    QFETCH(QString, shown);
    QCOMPARE(MinuteClock::withoutSeconds(format), shown);
}

QTEST_GUILESS_MAIN(TabRowsTest)
#include "tst_tabrows.moc"
