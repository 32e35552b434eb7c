// Window placement on screens of every size: centred where the window fits,
// its top-left corner on the screen where it does not.
#include "placement.h"

#include <QTest>

using namespace Quorvath;

class TestPlacement : public QObject {
    Q_OBJECT
private slots:
    void placedTopLeft_data()
    {
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QRect>("over");
        QTest::addColumn<QPoint>("topLeft");
        const QRect big(0, 0, 1280, 1024);
        QTest::newRow("fits: centred") << QSize(288, 267) << big << QRect() << QPoint(496, 378);
        QTest::newRow("fits below a top panel") << QSize(288, 267) << QRect(0, 32, 1280, 992) << QRect() << QPoint(496, 394);
        QTest::newRow("640x480: corner") << QSize(800, 600) << QRect(0, 0, 640, 480) << QRect() << QPoint(0, 0);
        QTest::newRow("800x600 at scale 2: corner") << QSize(545, 420) << QRect(0, 0, 400, 276) << QRect() << QPoint(0, 0);
        QTest::newRow("only as wide as it fits") << QSize(500, 300) << QRect(0, 0, 400, 768) << QRect() << QPoint(0, 234);
        QTest::newRow("screen left of the primary") << QSize(800, 600) << QRect(-640, 0, 640, 480) << QRect() << QPoint(-640, 0);
        QTest::newRow("over a window") << QSize(100, 100) << big << QRect(100, 100, 400, 300) << QPoint(250, 200);
        QTest::newRow("over a window off the right edge") << QSize(300, 200) << big << QRect(1100, 900, 400, 300) << QPoint(980, 824);
        QTest::newRow("over a window off the top-left") << QSize(300, 200) << big << QRect(-300, -250, 400, 300) << QPoint(0, 0);
        QTest::newRow("over a window, larger than the screen") << QSize(800, 600) << QRect(0, 0, 640, 480) << QRect(50, 50, 100, 100) << QPoint(0, 0);
    }
    void placedTopLeft()
    {
        QFETCH(QSize, frame);
        QFETCH(QRect, area);
        QFETCH(QRect, over);
        QTEST(Quorvath::placedTopLeft(frame, area, over), "topLeft");
    }

    // The client goes inside the frame the window manager draws: the title
    // bar stays on the screen also where the window is as tall as the screen.
    void placedClientTopLeft_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QPoint>("clientTopLeft");
        const QMargins openbox(1, 16, 1, 4);   // left, top, right, bottom: a 16 px title bar
        QTest::newRow("fits: the frame centred") << QSize(288, 267) << openbox << QRect(0, 0, 1280, 1024) << QPoint(496, 384);
        QTest::newRow("as tall as the screen: title bar at the top") << QSize(481, 474) << openbox << QRect(0, 0, 640, 480) << QPoint(79, 16);
        QTest::newRow("below a top panel") << QSize(481, 474) << openbox << QRect(0, 24, 640, 456) << QPoint(79, 40);
        QTest::newRow("wider and taller than the screen") << QSize(962, 948) << openbox << QRect(0, 0, 640, 480) << QPoint(1, 16);
        QTest::newRow("frame unknown: as before") << QSize(288, 267) << QMargins() << QRect(0, 0, 1280, 1024) << QPoint(496, 378);
    }
    void placedClientTopLeft()
    {
        QFETCH(QSize, client);
        QFETCH(QMargins, frame);
        QFETCH(QRect, area);
        QTEST(Quorvath::placedClientTopLeft(client, frame, area), "clientTopLeft");
    }
};

QTEST_APPLESS_MAIN(TestPlacement)
#include "tst_placement.moc"
