// The nine terminology windows against their design: caption, sizes, text.
#include "classicframe.h"
#include "terminology.h"
#include "terminologywindow.h"
#include "twips.h"
#include "uifont.h"

#include <QAbstractTextDocumentLayout>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QApplication>
#include <QTest>
#include <QTextBlock>

using namespace Quorvath;

class TestTerminologyWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        const UiFont::Choice choice = UiFont::choose(&TerminologyWindow::designedTexts);
        QApplication::setFont(choice.font);
        m_twips = choice.twips;
    }

    void layout_data()
    {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("client");   // twips; the frame fills it but for a strip,
        QTest::addColumn<QSize>("frame");    // the text box keeps 120 to its sides and bottom, 240 to its top
        QTest::addColumn<QString>("text");
        const auto row = [](const char *name, FormId form, const char *caption, QSize client, QSize frame,
                            const char *text) {
            QTest::newRow(name) << int(form) << caption << client << frame << QString::fromLatin1(text);
        };
        row("frmItemname", FormId::TermItemName, "Item Name", {4575, 885}, {4575, 855},
            "The Item Name is simply the name of the item that you have selected.\n");
        row("frmUsableby", FormId::TermUsableBy, "Usable By...", {4455, 885}, {4455, 855},
            "This indicates what class or classes of characters may use the selected item.\n");
        row("frmEffects", FormId::TermEffects, "Effects of Equipping...", {4335, 1110}, {4335, 1095},
            "This describes what effect(s) the item has on the \ncharacter while it is equipped.  Note that "
            "several items \nhave more than one ability when they are equipped.\n");
        row("frmActivated", FormId::TermActivated, "Activated Effects...", {4575, 1110}, {4575, 1095},
            "Several items require that you manually activate them in order for them to work.  This describes "
            "what function a given item has, if any, when it is so invoked.\n");
        row("frm1time", FormId::TermOneTime, "One-time only...", {4575, 885}, {4575, 855},
            "When the item is used, it vanishes from the character's inventory.\n");
        row("frmLimited", FormId::TermLimited, "Limited...", {4575, 1485}, {4575, 1455},
            "The item has a finite number of charges in it before it can no \nlonger be activated.  The number "
            "of times it can be used \nvaries and is displayed beside the item in the character's \ninventory.  "
            "Note that depleting an item's charges does not interfere with its continuous effects, if it has any.\n");
        row("frmMultiple", FormId::TermMultiple, "Multiple...", {4575, 900}, {4575, 855},
            "This means that the item can be used over and over again infinitely.\n");
        row("frmContinuous", FormId::TermContinuous, "Continuous while Equipped...", {4590, 900}, {4575, 855},
            "This indicates that the item has no activated ability and simply functions continually while it "
            "is equipped.\n");
        row("frmDescription", FormId::TermDescription, "Description...", {4470, 1125}, {4455, 1095},
            "This is a description of the item in general.  Often contains miscellaneous notes and speculation "
            "as to the item's origin, purpose, and so on.\n");
    }
    void layout()
    {
        QFETCH(int, form);
        QFETCH(QSize, client);
        QFETCH(QSize, frame);
        const TerminologyInfo *info = terminologyInfo(FormId(form));
        QVERIFY(info);
        TerminologyWindow w(*info, m_twips);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.objectName(), QString::fromLatin1(QTest::currentDataTag()));
        QTEST(w.windowTitle(), "caption");
        // The program's font fits the design: window, frame and box keep their sizes.
        const QSize grow(0, 0);
        QCOMPARE(w.size(), m_twips.size(client.width(), client.height()));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QCOMPARE(w.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                                    | Qt::WindowMaximizeButtonHint),
                 Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint);

        auto *box = w.findChild<ClassicFrame *>(QStringLiteral("Frame1"));
        QVERIFY(box);
        QCOMPARE(box->title(), QStringLiteral("Information"));
        QCOMPARE(box->geometry(), QRect(QPoint(0, 0), m_twips.size(frame.width(), frame.height()) + grow));
        auto *text = box->findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
        QVERIFY(text);
        QCOMPARE(text->geometry(),
                 QRect(m_twips.point(120, 240), m_twips.size(frame.width() - 240, frame.height() - 360) + grow));
        QVERIFY(!text->isReadOnly());
        QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(text->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(text->wordWrapMode(), QTextOption::WordWrap);
        QCOMPARE(w.focusWidget(), text);
        QCOMPARE(text->font().pointSize(), 8);
        QTEST(text->toPlainText(), "text");

        // Lines broken by the text do not wrap again, and every line is in view
        // (the empty one after the final break aside).
        const int lineSpacing = text->fontMetrics().lineSpacing();
        int rows = 0;
        const QTextBlock lastLine = text->document()->lastBlock().previous();
        for (QTextBlock b = text->document()->begin(); b != text->document()->lastBlock(); b = b.next()) {
            const int blockRows = qRound(text->document()->documentLayout()->blockBoundingRect(b).height() / lineSpacing);
            QVERIFY(b == lastLine || blockRows == 1);
            rows += blockRows;
        }
        QVERIFY2(rows * lineSpacing <= text->viewport()->height(), qPrintable(QString::number(rows)));

        // The box is the only focus stop: Tab and Shift+Tab leave it there and type nothing.
        QTest::keyClick(text, Qt::Key_Tab);
        QTest::keyClick(text, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(w.focusWidget(), text);
        QTEST(text->toPlainText(), "text");
    }

    void typedTextIsDiscarded()
    {
        QVERIFY(!terminologyInfo(FormId::About) && !terminologyInfo(FormId::Main) && !terminologyInfo(FormId::Intro));
        const TerminologyInfo &info = *terminologyInfo(FormId::TermMultiple);
        auto *first = new TerminologyWindow(info, m_twips);
        first->setAttribute(Qt::WA_DeleteOnClose);
        QSignalSpy unloaded(first, &TerminologyWindow::unloaded);
        first->show();
        QVERIFY(QTest::qWaitForWindowActive(first));
        auto *text = first->findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
        const QString listed = text->toPlainText();
        // Enter makes a new line, Esc does nothing.
        QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(text, QStringLiteral("typed"));
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(text->toPlainText(), listed + QStringLiteral("typed\n"));
        QTest::keyClick(text, Qt::Key_Escape);
        QVERIFY(first->isVisible());
        QCOMPARE(unloaded.count(), 0);

        QPointer<TerminologyWindow> gone(first);
        QVERIFY(first->close());
        QCOMPARE(unloaded.count(), 1);
        QTRY_VERIFY(gone.isNull());
        TerminologyWindow second(info, m_twips);
        QCOMPARE(second.findChild<QPlainTextEdit *>(QStringLiteral("Text1"))->toPlainText(), listed);
    }

private:
    Twips::Scale m_twips;   // the layout's, as the font needs it
};

QTEST_MAIN(TestTerminologyWindow)
#include "tst_terminologywindow.moc"
