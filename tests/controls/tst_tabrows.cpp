#include "minuteclock.h"
#include "tabrows.h"

#include <QTest>

#include <numeric>

using namespace Quorvath;
using TabRows::Strip;

// The main window's strip: eleven tabs, four to a row, 481 px wide, 20 px high.
static constexpr Strip Eleven{11, 4, 481, 20};
Q_DECLARE_METATYPE(Quorvath::TabRows::Strip)

class TabRowsTest final : public QObject {
    Q_OBJECT

private slots:
    void rectangles_data()
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
    void rectangles()
    {
        QFETCH(int, tab);
        QFETCH(int, selected);
        QTEST(TabRows::tabRect(Eleven, tab, selected), "rect");
    }

    void rectanglesTileEachLine_data()
    {
        QTest::addColumn<Strip>("strip");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("lastRowRight");
        QTest::newRow("11 by 4: the main window's") << Eleven << 3 << 360;
        QTest::newRow("12 by 4: every row full") << Strip{12, 4, 481, 20} << 3 << 481;
        QTest::newRow("13 by 4: one on the last row") << Strip{13, 4, 481, 20} << 4 << 120;
        QTest::newRow("4 by 4: one full row") << Strip{4, 4, 481, 20} << 1 << 481;
        QTest::newRow("3 by 4: one short row") << Strip{3, 4, 481, 20} << 1 << 360;
        QTest::newRow("6 by 3: two full rows") << Strip{6, 3, 300, 16} << 2 << 300;
        QTest::newRow("5 by 1: a column") << Strip{5, 1, 100, 20} << 5 << 100;
        QTest::newRow("1 by 1") << Strip{1, 1, 100, 20} << 1 << 100;
    }
    void rectanglesTileEachLine()
    {
        // Whatever is selected: every line is used once, the selected tab
        // is on the bottom line, rows tile the width from the left without
        // gaps (full rows to the right edge), and each tab is found at its
        // own corners and centre.
        QFETCH(Strip, strip);
        QFETCH(int, rows);
        QFETCH(int, lastRowRight);
        QCOMPARE(strip.rows(), rows);
        QCOMPARE(strip.height(), rows * strip.tabHeight);
        QList<int> expectedLines(rows);
        std::iota(expectedLines.begin(), expectedLines.end(), 0);
        for (int selected = 0; selected < strip.count; ++selected) {
            QList<int> lines;
            for (int row = 0; row < rows; ++row) {
                const int top = TabRows::tabRect(strip, row * strip.perRow, selected).top();
                lines.append(top / strip.tabHeight);
                int right = 0;
                for (int tab = row * strip.perRow; tab < qMin((row + 1) * strip.perRow, strip.count); ++tab) {
                    const QRect r = TabRows::tabRect(strip, tab, selected);
                    QCOMPARE(QPoint(r.left(), r.top()), QPoint(right, top));
                    right = r.left() + r.width();
                    for (QPoint p : {r.center(), r.topLeft(), r.bottomRight()})
                        QCOMPARE(TabRows::tabAt(strip, p, selected), tab);
                }
                QCOMPARE(right, row == rows - 1 ? lastRowRight : strip.width);
            }
            std::sort(lines.begin(), lines.end());
            QCOMPARE(lines, expectedLines);
            QCOMPARE(TabRows::tabRect(strip, selected, selected).top(), strip.height() - strip.tabHeight);
        }
        // Beside a short last row, and outside the strip, there is no tab.
        const QRect last = TabRows::tabRect(strip, strip.count - 1, 0);
        if (lastRowRight < strip.width)
            QCOMPARE(TabRows::tabAt(strip, QPoint(last.right() + 5, last.center().y()), 0), -1);
        QCOMPARE(TabRows::tabAt(strip, QPoint(10, strip.height()), 0), -1);
        QCOMPARE(TabRows::tabAt(strip, QPoint(-1, 5), 0), -1);
    }

    void nextMinute_data()
    {
        QTest::addColumn<QTime>("now");
        QTest::addColumn<int>("ms");
        QTest::newRow("on the minute") << QTime(21, 0, 0, 0) << 60000;
        QTest::newRow("just after") << QTime(21, 0, 0, 1) << 59999;
        QTest::newRow("half way") << QTime(9, 15, 30, 250) << 29750;
        QTest::newRow("last millisecond of the day") << QTime(23, 59, 59, 999) << 1;
        QTest::newRow("invalid") << QTime() << 60000;
    }
    void nextMinute()
    {
        QFETCH(QTime, now);
        QTEST(MinuteClock::msToNextMinute(now), "ms");
    }

    void timeFormatWithoutSeconds_data()
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
    void timeFormatWithoutSeconds()
    {
        QFETCH(QString, format);
        QTEST(MinuteClock::withoutSeconds(format), "shown");
    }
};

QTEST_GUILESS_MAIN(TabRowsTest)
#include "tst_tabrows.moc"
