// The animation table and its stepper, and the terminology table, without
// any window.
#include "animation.h"
#include "terminology.h"

#include <QTest>

#include <set>

using namespace Quorvath;
using Animation::FrameArray;

class TestReferenceCore : public QObject {
    Q_OBJECT
private slots:
    void animationSteps_data();
    void animationSteps();
    void animationWholeCycle();
    void nextStep_data();
    void nextStep();
    void terminologyOrder();
    void terminologyRows_data();
    void terminologyRows();
    void terminologyLayoutRules();
};

void TestReferenceCore::animationSteps_data()
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

void TestReferenceCore::animationSteps()
{
    QFETCH(int, step);
    QFETCH(int, image);
    QFETCH(int, delay);
    FrameArray FrameImage, FrameDelay;
    FrameImage.fill(-1);
    FrameDelay.fill(-1);
    Animation::writeTable(FrameImage, FrameDelay);
    QCOMPARE(FrameImage[step], image);
    QCOMPARE(FrameDelay[step], delay);
}

void TestReferenceCore::animationWholeCycle()
{
    FrameArray FrameImage, FrameDelay;
    FrameImage.fill(-1);
    FrameDelay.fill(-1);
    Animation::writeTable(FrameImage, FrameDelay);
    QCOMPARE(FrameImage[0], 0);
    QCOMPARE(FrameDelay[0], 0);

    // Walk the cycle as the timer does, from a new instance.
    qint16 pos = 0;
    int total = 0;
    int usesOfPicture4 = 0;
    std::set<int> pictures;
    std::set<int> longest;
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
    QCOMPARE(Animation::nextStep(pos), 1);
}

void TestReferenceCore::nextStep_data()
{
    QTest::addColumn<int>("pos");
    QTest::addColumn<int>("next");
    QTest::newRow("new instance") << 0 << 1;
    QTest::newRow("middle") << 40 << 41;
    QTest::newRow("before last") << 86 << 87;
    QTest::newRow("wrap") << 87 << 1;
    QTest::newRow("beyond the table") << 200 << 1;
    QTest::newRow("negative") << -5 << 1;
}

void TestReferenceCore::nextStep()
{
    QFETCH(int, pos);
    QFETCH(int, next);
    QCOMPARE(Animation::nextStep(qint16(pos)), next);
}

void TestReferenceCore::terminologyOrder()
{
    const FormId menuOrder[] = {FormId::frmItemname, FormId::frmUsableby, FormId::frmEffects,
                                FormId::frmActivated, FormId::frm1time, FormId::frmLimited,
                                FormId::frmMultiple, FormId::frmContinuous,
                                FormId::frmDescription};
    const auto &table = terminologyTable();
    for (int i = 0; i < TerminologyCount; ++i) {
        QCOMPARE(table[i].form, menuOrder[i]);
        QCOMPARE(terminologyInfo(menuOrder[i]), &table[i]);
    }
    QCOMPARE(terminologyInfo(FormId::frmAbout), nullptr);
    QCOMPARE(terminologyInfo(FormId::d), nullptr);
    QCOMPARE(terminologyInfo(FormId::frmIntro), nullptr);
}

void TestReferenceCore::terminologyRows_data()
{
    QTest::addColumn<FormId>("form");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QSize>("text");
    QTest::addColumn<QByteArray>("text1");
    QTest::newRow("frmItemname") << FormId::frmItemname << "frmItemname" << "Item Name"
        << QSize(4575, 885) << QSize(4575, 855) << QSize(4335, 495)
        << QByteArray("The Item Name is simply the name of the item that you have selected.\r\n");
    QTest::newRow("frmEffects") << FormId::frmEffects << "frmEffects" << "Effects of Equipping..."
        << QSize(4335, 1110) << QSize(4335, 1095) << QSize(4095, 735)
        << QByteArray("This describes what effect(s) the item has on the \r\ncharacter while it is "
                      "equipped.  Note that several items \r\nhave more than one ability when they "
                      "are equipped.\r\n");
    QTest::newRow("frmLimited") << FormId::frmLimited << "frmLimited" << "Limited..."
        << QSize(4575, 1485) << QSize(4575, 1455) << QSize(4335, 1095)
        << QByteArray("The item has a finite number of charges in it before it can no \r\nlonger "
                      "be activated.  The number of times it can be used \r\nvaries and is "
                      "displayed beside the item in the character's \r\ninventory.  Note that "
                      "depleting an item's charges does not interfere with its continuous "
                      "effects, if it has any.\r\n");
    QTest::newRow("frmContinuous") << FormId::frmContinuous << "frmContinuous"
        << "Continuous while Equipped..."
        << QSize(4590, 900) << QSize(4575, 855) << QSize(4335, 495)
        << QByteArray("This indicates that the item has no activated ability and simply "
                      "functions continually while it is equipped.\r\n");
    QTest::newRow("frm1time") << FormId::frm1time << "frm1time" << "One-time only..."
        << QSize(4575, 885) << QSize(4575, 855) << QSize(4335, 495)
        << QByteArray("When the item is used, it vanishes from the character's inventory.\r\n");
}

void TestReferenceCore::terminologyRows()
{
    QFETCH(FormId, form);
    const TerminologyInfo *info = terminologyInfo(form);
    QVERIFY(info);
    QTEST(QString(info->formName), "name");
    QTEST(QString(info->caption), "caption");
    QTEST(info->client, "client");
    QTEST(info->frame, "frame");
    QTEST(info->text, "text");
    QTEST(QByteArray(info->text1.data(), info->text1.size()), "text1");
}

void TestReferenceCore::terminologyLayoutRules()
{
    for (const TerminologyInfo &info : terminologyTable()) {
        const QByteArray what = QByteArray(info.formName.data(), info.formName.size());
        // The text box keeps 120 twips to the frame's sides and bottom, 240 to its top.
        QCOMPARE(info.text, info.frame - QSize(240, 360));
        const int bottomStrip = info.client.height() - info.frame.height();
        QVERIFY2(bottomStrip >= 15 && bottomStrip <= 45, what);
        const int rightStrip = info.client.width() - info.frame.width();
        QVERIFY2(rightStrip == 0 || rightStrip == 15, what);
        // Every line, the last included, ends in CR LF; no bare CR or LF.
        const QString text(info.text1);
        QVERIFY2(text.endsWith(QLatin1String("\r\n")), what);
        QCOMPARE(text.count(QLatin1Char('\r')), text.count(QLatin1String("\r\n")));
        QCOMPARE(text.count(QLatin1Char('\n')), text.count(QLatin1String("\r\n")));
    }
}

QTEST_GUILESS_MAIN(TestReferenceCore)
#include "tst_referencecore.moc"
