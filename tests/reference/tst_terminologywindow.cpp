// The nine terminology windows built from their table rows.
#include "terminology.h"
#include "terminologywindow.h"
#include "twips.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QAbstractTextDocumentLayout>
#include <QTest>

using namespace Quorvath;

class TestTerminologyWindow : public QObject {
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void typingAndKeys();
    void typedTextIsDiscarded();
};

void TestTerminologyWindow::layout_data()
{
    QTest::addColumn<int>("row");
    for (int row = 0; row < TerminologyCount; ++row)
        QTest::newRow(terminologyTable()[row].formName.data()) << row;
}

void TestTerminologyWindow::layout()
{
    QFETCH(int, row);
    const TerminologyInfo &info = terminologyTable()[row];
    TerminologyWindow w(info);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    QCOMPARE(w.objectName(), QString(info.formName));
    QCOMPARE(w.windowTitle(), QString(info.caption));
    // A font wider than the design's may grow window, frame and box alike.
    const QSize grow = w.size() - Twips::size(info.client.width(), info.client.height());
    QVERIFY(grow.width() >= 0 && grow.height() >= 0);
    QCOMPARE(w.minimumSize(), w.maximumSize());
    const Qt::WindowFlags flags = w.windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

    auto *frame = w.findChild<QGroupBox *>(QStringLiteral("Frame1"));
    QVERIFY(frame);
    QCOMPARE(frame->title(), QStringLiteral("Information"));
    QCOMPARE(frame->geometry(),
             QRect(QPoint(0, 0), Twips::size(info.frame.width(), info.frame.height()) + grow));

    auto *text = frame->findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
    QVERIFY(text);
    QCOMPARE(text->geometry(),
             QRect(Twips::point(120, 240), Twips::size(info.text.width(), info.text.height()) + grow));
    QVERIFY(!text->isReadOnly());
    QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(text->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(text->wordWrapMode(), QTextOption::WordWrap);
    QCOMPARE(w.focusWidget(), text);

    // Each CR LF is one line break; the text ends with one.
    QString shown = QString(info.text1);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QCOMPARE(text->toPlainText(), shown);
    QCOMPARE(text->blockCount(), int(QString(info.text1).count(QLatin1String("\r\n"))) + 1);

    // The text shows as laid out: lines broken by the text do not wrap again,
    // and every line is in view (the empty one after the final break aside).
    QCOMPARE(text->font().pointSize(), 8);
    const int lineSpacing = text->fontMetrics().lineSpacing();
    int rows = 0;
    const QTextBlock lastLine = text->document()->lastBlock().previous();
    for (QTextBlock b = text->document()->begin(); b != text->document()->lastBlock(); b = b.next()) {
        const int blockRows = qRound(
            text->document()->documentLayout()->blockBoundingRect(b).height() / lineSpacing);
        if (b != lastLine)
            QCOMPARE(blockRows, 1);
        rows += blockRows;
    }
    QVERIFY2(rows * lineSpacing <= text->viewport()->height(),
             qPrintable(QStringLiteral("%1 rows in %2 px").arg(rows).arg(text->viewport()->height())));
}

void TestTerminologyWindow::typingAndKeys()
{
    TerminologyWindow w(*terminologyInfo(FormId::frmMultiple));
    QSignalSpy unloaded(&w, &TerminologyWindow::unloaded);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto *text = w.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
    const int blocks = text->blockCount();

    QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(text, QStringLiteral("typed"));
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(text->blockCount(), blocks + 1);
    QVERIFY(text->toPlainText().endsWith(QLatin1String("\ntyped\n")));

    QTest::keyClick(text, Qt::Key_Escape);
    QVERIFY(w.isVisible());
    QCOMPARE(unloaded.count(), 0);

    QVERIFY(w.close());
    QCOMPARE(unloaded.count(), 1);
}

void TestTerminologyWindow::typedTextIsDiscarded()
{
    const TerminologyInfo &info = *terminologyInfo(FormId::frmLimited);
    auto *first = new TerminologyWindow(info);
    first->setAttribute(Qt::WA_DeleteOnClose);
    first->show();
    QVERIFY(QTest::qWaitForWindowExposed(first));
    QTest::keyClicks(first->findChild<QPlainTextEdit *>(QStringLiteral("Text1")),
                     QStringLiteral("scribbled over"));
    QPointer<TerminologyWindow> gone(first);
    first->close();
    QTRY_VERIFY(gone.isNull());

    TerminologyWindow second(info);
    QString listed = QString(info.text1);
    listed.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QCOMPARE(second.findChild<QPlainTextEdit *>(QStringLiteral("Text1"))->toPlainText(), listed);
}

QTEST_MAIN(TestTerminologyWindow)
#include "tst_terminologywindow.moc"
