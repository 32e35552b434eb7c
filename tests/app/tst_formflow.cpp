// The window flow driven in-process: which forms exist and are loaded after
// each step, the quit question, and when the program ends.
#include "aboutwindow.h"
#include "accessiblefactories.h"
#include "classicframe.h"
#include "fakes.h"
#include "formregistry.h"
#include "introwindow.h"
#include "itemtable.h"
#include "mainwindow.h"
#include "messageboxquestion.h"
#include "multirowtabwidget.h"
#include "terminologywindow.h"
#include "twips.h"
#include "uifont.h"
#include "valuelabel.h"
#include "whenshown.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QToolTip>
#include <QTreeWidget>

using namespace Quorvath;

Q_DECLARE_METATYPE(Quorvath::FormId)
using Quorvath::Testing::FakeBrowser;
using Quorvath::Testing::ScriptedQuestion;

namespace {

QStringList visibleForms()
{
    QStringList names;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && !w->objectName().isEmpty())
            names << w->objectName();
    names.sort();
    return names;
}

QWidget *visibleTopLevel(const QString &name)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

int topLevelsNamed(const QString &name)
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += w->objectName() == name && w->isVisible();
    return n;
}

// The windows a screen reader finds under the application.
QObjectList accessibleWindows()
{
    QObjectList windows;
    QAccessibleInterface *application = QAccessible::queryAccessibleInterface(qApp);
    for (int i = 0; i < application->childCount(); ++i)
        windows << application->child(i)->object();
    return windows;
}

// Runs a real event loop: returns 42 when the program was still running
// after `ms`, or the code it ended with.
int runLoop(FormRegistry &forms, const std::function<void()> &scenario, int ms = 300)
{
    auto c = QObject::connect(&forms, &FormRegistry::ended, qApp, [] { QCoreApplication::exit(0); });
    // Timers of our own, so that none is left to end a later loop early.
    QTimer start, stop;
    start.setSingleShot(true);
    stop.setSingleShot(true);
    QObject::connect(&start, &QTimer::timeout, qApp, scenario);
    QObject::connect(&stop, &QTimer::timeout, qApp, [] { QCoreApplication::exit(42); });
    start.start(0);
    stop.start(ms);
    const int code = QCoreApplication::exec();
    QObject::disconnect(c);
    return code;
}

bool isProgramFont(const QFont &font)
{
    const QFont program = QApplication::font();
    // As asked, and as the platform draws it: where it lacks a face's cut
    // (a bitmap face's bold, say) it may draw another face.
#ifdef Q_OS_WIN
    const bool naturalBold = font.bold() && font.stretch() == QFont::Unstretched;   // the lists', see MainWindow::list
#else
    const bool naturalBold = false;
#endif
    return font.family() == program.family() && font.pointSizeF() == program.pointSizeF()
           && (font.stretch() == program.stretch() || naturalBold)
           && QFontInfo(font).family() == QFontInfo(program).family();
}

QAction *action(FormRegistry &forms, const char *name)
{
    return forms.window(FormId::Main)->findChild<QAction *>(QLatin1String(name));
}

} // namespace

class FormFlowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startShowsOnlyTheIntro();
    void okayLeavesOnlyTheMainWindowWithoutEnding();
    void closingTheIntroOtherwiseEndsTheProgram_data();
    void closingTheIntroOtherwiseEndsTheProgram();
    void helpEntries_data();
    void helpEntries();
    void closedWindowOpensAgainFromItsDesign_data();
    void closedWindowOpensAgainFromItsDesign();
    void answeringNoChangesNothing();
    void yesKeepsTheAboutWindowAliveUntilItCloses();
    void theRealMessageBoxAsksOnce();
    void sessionEndAsksToo();
    void classicLook_data();
    void classicLook();
    void iconAtEverySize_data();
    void iconAtEverySize();

private:
    void pressOkay();

    ScriptedQuestion m_question;
    FakeBrowser m_browser;   // none there: the About window works without one
    std::unique_ptr<FormRegistry> m_forms;
    Twips::Scale m_twips;   // the layout's, as the program's font needs it
};

void FormFlowTest::initTestCase()
{
    installAccessibleFactories();
    // The program's one font fits every text of every window as designed.
    m_twips = FormRegistry::applyProgramFont();
    const QFont font = QApplication::font();
    // Where the chosen face is installed (the set-up installs it), it is the one used.
    const QFont preferred = UiFont::preferredFont();
    if (QFontDatabase::hasFamily(preferred.family()))
        QCOMPARE(font.toString(), preferred.toString());
    for (const auto &texts : {IntroWindow::designedTexts(m_twips), MainWindow::designedTexts(m_twips),
                              TerminologyWindow::designedTexts(m_twips), AboutWindow::designedTexts(m_twips)}) {
        for (const UiFont::Text &text : texts) {
            QVERIFY2(UiFont::fits(font, text), qPrintable(font.toString() + QLatin1String(": ") + text.text));
            // The fit passes over shaping a line far narrower than its box
            // by the sum of its characters' advances: shaped, no line may
            // come out as much as an average character wider than that.
            const QFontMetricsF metrics(font);
            for (const QString &line : text.text.split(QLatin1String("\r\n"))) {
                qreal sum = 0;
                for (const QChar c : line)
                    sum += metrics.horizontalAdvance(c);
                QVERIFY2(metrics.horizontalAdvance(line) - sum < metrics.averageCharWidth(), qPrintable(line));
            }
        }
    }
}

void FormFlowTest::init()
{
    QApplication::setQuitOnLastWindowClosed(false);
    m_question = {};
    m_browser.available = false;
    m_forms = std::make_unique<FormRegistry>(m_question, m_browser, m_twips);
    m_forms->show(FormId::Intro);
}

void FormFlowTest::cleanup()
{
    m_forms.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void FormFlowTest::pressOkay()
{
    auto *okay = m_forms->window(FormId::Intro)->findChild<QPushButton *>("Command1");
    QVERIFY(okay);
    QTest::mouseClick(okay, Qt::LeftButton);
}

void FormFlowTest::startShowsOnlyTheIntro()
{
    QCOMPARE(visibleForms(), QStringList{"frmIntro"});
    QVERIFY(!m_forms->instanceExists(FormId::Main));
    QCOMPARE(m_forms->catalog(), nullptr);
    QWidget *intro = m_forms->window(FormId::Intro);
    QCOMPARE(intro->windowTitle(), "Quorvath Itemlist for Windows Version 1.0.1A");
    QVERIFY(!(intro->windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(intro->windowFlags() & Qt::WindowSystemMenuHint));
    QVERIFY(!(intro->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(intro->size(), m_twips.size(4320, 4005));
    QTRY_COMPARE(QApplication::focusWidget(), intro->findChild<QPushButton *>("Command1"));
#ifdef Q_OS_LINUX
    // The intro's picture and the program's icon are formats Qt reads by
    // itself: no image plugin gets loaded to be asked about them, and stay.
    m_forms->applyProgramIcon();
    QVERIFY(!intro->windowIcon().pixmap(256).isNull());
    QFile maps(QStringLiteral("/proc/self/maps"));
    QVERIFY(maps.open(QIODevice::ReadOnly));
    QVERIFY(!maps.readAll().contains("/imageformats/"));
#endif
}

void FormFlowTest::okayLeavesOnlyTheMainWindowWithoutEnding()
{
    const int code = runLoop(*m_forms, [this] { pressOkay(); });
    QCOMPARE(code, 42);
    QVERIFY(!m_forms->hasEnded());
    QCOMPARE(visibleForms(), QStringList{"d"});
    QVERIFY(!m_forms->isLoaded(FormId::Intro));
    QCOMPARE(m_forms->catalog()->rowCount, 227);
    auto *armor = m_forms->window(FormId::Main)->findChild<QTreeWidget *>("lstData(0)");
    QCOMPARE(armor->topLevelItemCount(), 23);
}

// Without a screen reader and with one: a window kept for the reader after
// it closed does not keep the program running.
void FormFlowTest::closingTheIntroOtherwiseEndsTheProgram_data()
{
    QTest::addColumn<bool>("reader");
    QTest::newRow("no screen reader") << false;
    QTest::newRow("a screen reader") << true;
}

void FormFlowTest::closingTheIntroOtherwiseEndsTheProgram()
{
    QFETCH(bool, reader);
    m_forms->setReaderActive([reader] { return reader; });
    const int code = runLoop(*m_forms, [this] { m_forms->window(FormId::Intro)->close(); });
    QCOMPARE(code, 0);
    QVERIFY(m_forms->hasEnded());
    QVERIFY(!m_forms->instanceExists(FormId::Main));
}

void FormFlowTest::helpEntries_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("form");
    QTest::newRow("item name") << "mnutermitemname" << "frmItemname";
    QTest::newRow("usable by") << "mnutermusableby" << "frmUsableby";
    QTest::newRow("effects") << "mnutermeffects" << "frmEffects";
    QTest::newRow("activated") << "mnutermactivated" << "frmActivated";
    QTest::newRow("description") << "mnutermdesc" << "frmDescription";
    QTest::newRow("one-time") << "mnutermuses1time" << "frm1time";
    QTest::newRow("limited") << "mnutermuseslimited" << "frmLimited";
    QTest::newRow("multiple") << "mnutermusesmultiple" << "frmMultiple";
    QTest::newRow("continuous") << "mnuitemusescontinuous" << "frmContinuous";
    QTest::newRow("about") << "mnuabout" << "frmAbout";
}

void FormFlowTest::helpEntries()
{
    QFETCH(QString, entry);
    QFETCH(QString, form);
    pressOkay();
    QAction *a = action(*m_forms, entry.toLatin1());
    QVERIFY(a);
    a->trigger();
    QCOMPARE(topLevelsNamed(form), 1);
    QWidget *first = visibleTopLevel(form);
    const int browserChecks = m_browser.checks;

    // Chosen again: the same window, not loaded again (the About window does
    // not repeat its browser test).
    a->trigger();
    QCOMPARE(topLevelsNamed(form), 1);
    QCOMPARE(m_forms->loadedCount(), 2);
    QCOMPARE(visibleTopLevel(form), first);
    QCOMPARE(m_browser.checks, browserChecks);
}

void FormFlowTest::closedWindowOpensAgainFromItsDesign_data()
{
    QTest::addColumn<bool>("reader");
    QTest::newRow("no screen reader") << false;
    QTest::newRow("a screen reader") << true;
}

// Without a screen reader a closed window is deleted at once. With one it is
// kept a moment, hidden and out of the accessible tree, so that the reader
// can still walk up from its last focus; the form shown again meanwhile is a
// new window from its design, the only one of its form that shows.
void FormFlowTest::closedWindowOpensAgainFromItsDesign()
{
    QFETCH(bool, reader);
    m_forms->setReaderActive([reader] { return reader; });
    pressOkay();
    action(*m_forms, "mnutermitemname")->trigger();
    QWidget *term = m_forms->window(FormId::TermItemName);
    auto *text = term->findChild<QPlainTextEdit *>("Text1");
    QVERIFY(text);
    const QString listed = text->toPlainText();
    text->setPlainText("scribbled over");
    const QPointer<QWidget> closed = term;
    QVERIFY(term->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!m_forms->isLoaded(FormId::TermItemName));
    QVERIFY(m_forms->instanceExists(FormId::TermItemName));
    QCOMPARE(closed.isNull(), !reader);
    if (reader) {
        QVERIFY(closed->isHidden());
        QVERIFY(!accessibleWindows().contains(closed.data()));
    }

    action(*m_forms, "mnutermitemname")->trigger();
    QWidget *again = m_forms->window(FormId::TermItemName);
    QVERIFY(again);
    QVERIFY(again != closed);
    QCOMPARE(again->findChild<QPlainTextEdit *>("Text1")->toPlainText(), listed);
    QCOMPARE(topLevelsNamed("frmItemname"), 1);
    QCOMPARE(m_forms->loadedCount(), 2);
    QVERIFY(accessibleWindows().contains(again));
    // The kept window goes after its moment, the one shown again stays.
    QTRY_VERIFY_WITH_TIMEOUT(closed.isNull(), 3 * FormRegistry::ReaderGraceMs);
    QCOMPARE(m_forms->window(FormId::TermItemName), again);
    QVERIFY(again->isVisible());
}

void FormFlowTest::answeringNoChangesNothing()
{
    pressOkay();
    QWidget *main = m_forms->window(FormId::Main);
    auto *tabs = main->findChild<MultiRowTabWidget *>("SSTab1");
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(7).center());
    auto *weapons = main->findChild<QTreeWidget *>("lstData(7)");
    QTRY_COMPARE(weapons->topLevelItemCount(), 59);
    QTest::mouseClick(weapons->viewport(), Qt::LeftButton, {},
                      weapons->visualItemRect(weapons->topLevelItem(2)).center());
    auto *name = main->findChild<Quorvath::ValueLabel *>("lblField(1)");
    const QString shown = name->text();
    QVERIFY(!shown.isEmpty());

    m_question.answer = false;
    const int code = runLoop(*m_forms, [main] { main->close(); });
    QCOMPARE(code, 42);
    QCOMPARE(m_question.asked, 1);
    QCOMPARE(m_question.text, "Are you sure you want to quit?");
    QCOMPARE(m_question.caption, "Quorvath Itemlist For Windows");
    QVERIFY(m_forms->isLoaded(FormId::Main));
    QVERIFY(main->isVisible());
    QCOMPARE(tabs->currentIndex(), 7);
    QCOMPARE(weapons->topLevelItemCount(), 59);
    QCOMPARE(name->text(), shown);
}

void FormFlowTest::yesKeepsTheAboutWindowAliveUntilItCloses()
{
    pressOkay();
    action(*m_forms, "mnuabout")->trigger();
    auto *about = qobject_cast<AboutWindow *>(m_forms->window(FormId::About));
    QVERIFY(about);

    m_question.answer = true;
    QCOMPARE(runLoop(*m_forms, [this] { action(*m_forms, "mnuquit")->trigger(); }, 700), 42);
    QCOMPARE(m_question.asked, 1);
    QVERIFY(!m_forms->isLoaded(FormId::Main));
    QCOMPARE(visibleForms(), QStringList{"frmAbout"});
    QVERIFY(m_forms->aboutState()->step > 0);   // the animation went on

    QCOMPARE(runLoop(*m_forms, [this] { m_forms->window(FormId::About)->close(); }), 0);
    QVERIFY(m_forms->hasEnded());
}

void FormFlowTest::theRealMessageBoxAsksOnce()
{
    MessageBoxQuestion real;
    FormRegistry forms(real, m_browser, m_twips);
    forms.show(FormId::Main);
    QWidget *main = forms.window(FormId::Main);

    // Answer the box that comes up: check it and press `button`.
    int boxes = 0;
    auto answer = [&boxes](QMessageBox::StandardButton button) {
        Testing::whenShown<QMessageBox>([&boxes, button](QMessageBox *box) {
            ++boxes;
            QCOMPARE(box->text(), "Are you sure you want to quit?");
            QCOMPARE(box->windowTitle(), "Quorvath Itemlist For Windows");
            QCOMPARE(box->icon(), QMessageBox::Question);
            QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
            QVERIFY(isProgramFont(box->findChild<QLabel *>("qt_msgbox_label")->font()));
            QVERIFY(isProgramFont(box->button(button)->font()));
            QTest::mouseClick(box->button(button), Qt::LeftButton);
        });
    };

    answer(QMessageBox::No);
    QVERIFY(!main->close());
    QCOMPARE(boxes, 1);
    QVERIFY(forms.isLoaded(FormId::Main));

    answer(QMessageBox::Yes);
    QVERIFY(main->close());
    QCOMPARE(boxes, 2);
    QVERIFY(!forms.isLoaded(FormId::Main));
}

void FormFlowTest::classicLook_data()
{
    QTest::addColumn<FormId>("form");
    const char *names[] = {"frmIntro", "d", "frmItemname", "frmUsableby", "frmEffects", "frmActivated",
                           "frmDescription", "frm1time", "frmLimited", "frmMultiple", "frmContinuous", "frmAbout"};
    for (int form = 0; form < FormCount; ++form)
        QTest::newRow(names[form]) << FormId(form);
}

void FormFlowTest::classicLook()
{
    QFETCH(FormId, form);
    m_forms->show(form);
    QWidget *window = m_forms->window(form);
    QVERIFY(QTest::qWaitForWindowExposed(window));

    // The side windows, which have no taskbar button, carry the title bar's sizes of the icon.
    if (form != FormId::Main && form != FormId::Intro)
        QCOMPARE(window->windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
    // One font everywhere: every control, menu and tooltip (the lists in its bold cut).
    const QList<QWidget *> widgets = window->findChildren<QWidget *>() << window;
    for (QWidget *w : widgets)
        QVERIFY2(isProgramFont(w->font()), qPrintable(w->objectName() + w->font().toString()));
    QVERIFY(isProgramFont(QToolTip::font()));
    for (QTreeWidget *list : window->findChildren<QTreeWidget *>())
        QVERIFY2(QFontInfo(list->font()).bold(), qPrintable(list->objectName()));
    // Every text whole in its box, whatever face the program took: labels and
    // button captions, the text boxes without a scroll bar, and every value
    // of the catalog in its value box.
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (label->text().isEmpty())
            continue;
        const QRect box = label->contentsRect();
        const QRect needed = label->fontMetrics().boundingRect(box, Qt::TextWordWrap, label->text());
        QVERIFY2(needed.width() <= box.width() && needed.height() <= box.height(), qPrintable(label->text()));
    }
    for (QPushButton *button : window->findChildren<QPushButton *>())
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) < button->width() - 8, qPrintable(button->text()));
    for (QPlainTextEdit *text : window->findChildren<QPlainTextEdit *>()) {
        // The last line with text: the break that ends a text opens none.
        QTextCursor end(text->document()->lastBlock());
        while (end.block().text().trimmed().isEmpty() && end.movePosition(QTextCursor::PreviousBlock))
            ;
        end.movePosition(QTextCursor::EndOfBlock);
        if (text->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff)
            QVERIFY2(text->cursorRect(end).bottom() < text->viewport()->height(),
                     qPrintable(QStringLiteral("%1 >= %2: ").arg(text->cursorRect(end).bottom()).arg(text->viewport()->height())
                                + text->toPlainText()));
    }
    for (ValueLabel *value : window->findChildren<ValueLabel *>()) {
        const int column = value->objectName().mid(9, 1).toInt();   // lblField(N)
        for (int row = 1; row <= CatalogRowCount; ++row) {
            value->setText(catalogText(row, column));
            QVERIFY2(value->fitsBox(), qPrintable(value->text()));
        }
        value->setText(QString());
    }
    // Seven entries in view in a list, as designed: six whole and part of the seventh.
    if (auto *list = window->findChild<QTreeWidget *>(QStringLiteral("lstData(0)")))
        QVERIFY(list->viewport()->height() > 6 * list->visualItemRect(list->topLevelItem(0)).height());

    // A frame's caption sits on its top border line, and the border keeps
    // clear of every control in the frame: drawn alone, the frame leaves
    // each control's box and the pixels around it in the window's colour.
    for (ClassicFrame *frame : window->findChildren<ClassicFrame *>()) {
        const QRect caption = frame->captionRect();
        const int borderTop = frame->borderRect().top();
        QVERIFY(caption.isEmpty() || (caption.top() < borderTop && borderTop < caption.bottom()));
        const QColor background = frame->palette().color(QPalette::Window);
        QImage alone(frame->size(), QImage::Format_RGB32);
        alone.fill(background);
        frame->render(&alone, QPoint(), QRegion(), QWidget::RenderFlags());
        QVERIFY(alone.pixelColor(frame->width() / 2, borderTop) != background);   // the border is there
        for (QWidget *child : frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            const QRect around = child->geometry().adjusted(-1, -1, 1, 1) & alone.rect();
            for (int y = around.top(); y <= around.bottom(); ++y) {
                for (int x = around.left(); x <= around.right(); ++x)
                    QVERIFY2(alone.pixelColor(x, y) == background,
                             qPrintable(QStringLiteral("%1 at %2,%3").arg(child->objectName()).arg(x).arg(y)));
            }
        }
    }
}

void FormFlowTest::sessionEndAsksToo()
{
    pressOkay();
    m_question.answer = false;
    QVERIFY(!m_forms->closeForSessionEnd());
    QVERIFY(m_forms->isLoaded(FormId::Main));
    m_question.answer = true;
    QVERIFY(m_forms->closeForSessionEnd());
    QVERIFY(!m_forms->isLoaded(FormId::Main));
    QCOMPARE(m_question.asked, 2);
}

void FormFlowTest::iconAtEverySize_data()
{
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("given");
    // The installed sizes as they are; others from the next larger one,
    // scaled down; beyond the largest, the largest.
    for (int size : {16, 32, 48, 64, 128, 256})
        QTest::addRow("%d", size) << size << size;
    QTest::newRow("24") << 24 << 24;
    QTest::newRow("100") << 100 << 100;
    QTest::newRow("512") << 512 << 256;
}

void FormFlowTest::iconAtEverySize()
{
    QFETCH(int, asked);
    QFETCH(int, given);
    const QList<QSize> titleBar{{16, 16}, {32, 32}, {48, 48}};
    const QList<QSize> all = titleBar + QList<QSize>{{64, 64}, {128, 128}, {256, 256}};
    m_forms->applyProgramIcon();
    // Title bars, the question box and the side windows need no more than
    // 48 px; the windows with a taskbar button carry every size.
    QCOMPARE(QApplication::windowIcon().availableSizes(), titleBar);
    QCOMPARE(m_forms->window(FormId::Intro)->windowIcon().availableSizes(), all);
    pressOkay();
    m_forms->show(FormId::TermItemName);
    QCOMPARE(m_forms->window(FormId::TermItemName)->windowIcon().availableSizes(), titleBar);
    const QIcon icon = m_forms->window(FormId::Main)->windowIcon();
    QCOMPARE(icon.availableSizes(), all);
    const QPixmap picture = icon.pixmap(QSize(asked, asked), 1.0);
    QCOMPARE(picture.size(), QSize(given, given));
    QCOMPARE(icon.actualSize(QSize(asked, asked)), QSize(given, given));
    // The shield's gold letter is in the middle at every size.
    const QColor middle = picture.toImage().pixelColor(given / 2, given / 2);
    QVERIFY2(middle.alpha() == 255, qPrintable(middle.name(QColor::HexArgb)));
    // Painted, as a menu or a switcher draws it.
    QImage canvas(asked, asked, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    icon.paint(&painter, canvas.rect());
    painter.end();
    QVERIFY(canvas.pixelColor(asked / 2, asked / 2).alpha() == 255);
}

QTEST_MAIN(FormFlowTest)
#include "tst_formflow.moc"
