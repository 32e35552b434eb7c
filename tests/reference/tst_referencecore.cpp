// The About animation's table and its stepper, without any window.
#include "animation.h"

#include <QTest>

#include <set>

using namespace Quorvath;

class TestReferenceCore : public QObject {
    Q_OBJECT
private slots:
    void animationSteps_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("image");
        QTest::addColumn<int>("delay");
        QTest::newRow("first") << 1 << 1 << 400;
        QTest::newRow("second") << 2 << 2 << 600;
        QTest::newRow("back to picture 1") << 3 << 1 << 200;
        QTest::newRow("shortest") << 5 << 4 << 100;
        QTest::newRow("out of order picture 15") << 15 << 15 << 400;
        QTest::newRow("step 40") << 40 << 8 << 600;
        QTest::newRow("step 41") << 41 << 21 << 400;
        QTest::newRow("picture 25") << 51 << 25 << 1000;
        QTest::newRow("picture 28") << 78 << 28 << 150;
        QTest::newRow("last") << 87 << 22 << 800;
    }
    void animationSteps()
    {
        Animation::FrameArray FrameImage, FrameDelay;
        Animation::writeTable(FrameImage, FrameDelay);
        QFETCH(int, step);
        QTEST(int(FrameImage[step]), "image");
        QTEST(int(FrameDelay[step]), "delay");
    }

    void animationWholeCycle()
    {
        Animation::FrameArray FrameImage, FrameDelay;
        FrameImage.fill(-1);
        FrameDelay.fill(-1);
        Animation::writeTable(FrameImage, FrameDelay);
        QVERIFY(FrameImage[0] == 0 && FrameDelay[0] == 0);
        // Walk the cycle as the timer does, from a new instance.
        qint16 pos = 0;
        int total = 0;
        int usesOfPicture4 = 0;
        std::set<int> pictures, longest;
        for (int tick = 1; tick <= Animation::StepCount; ++tick) {
            pos = Animation::nextStep(pos);
            QCOMPARE(pos, tick);
            QVERIFY(FrameImage[pos] >= 1 && FrameImage[pos] <= Animation::PictureCount);
            QVERIFY(FrameDelay[pos] >= 100 && FrameDelay[pos] <= 1000);
            total += FrameDelay[pos];
            pictures.insert(FrameImage[pos]);
            usesOfPicture4 += FrameImage[pos] == 4;
            if (FrameDelay[pos] == 1000)
                longest.insert(pos);
        }
        QCOMPARE(total, 39200);
        QCOMPARE(int(pictures.size()), 30);
        QCOMPARE(usesOfPicture4, 11);
        QCOMPARE(longest, (std::set<int>{26, 51, 69, 77}));
        // After the last step, and from anything outside the table, a new cycle starts.
        for (int outside : {87, 200, -5})
            QCOMPARE(Animation::nextStep(qint16(outside)), 1);
    }
};

QTEST_GUILESS_MAIN(TestReferenceCore)
#include "tst_referencecore.moc"
