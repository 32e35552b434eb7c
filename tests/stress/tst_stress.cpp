// A long random session on the real windows, in-process, checked against the
// reference model after every action. Each failure names the seed that
// repeats it: QI_STRESS_SEED=<seed> (and QI_STRESS_ACTIONS=<n>, default 20000).
#include "aboutwindow.h"
#include "animation.h"
#include "fakes.h"
#include "flowmodel.h"
#include "formregistry.h"
#include "mainwindow.h"
#include "manualticker.h"
#include "multirowtabwidget.h"
#include "terminology.h"
#include "valuelabel.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTreeWidget>

#include <map>
#include <memory>
#include <random>

using namespace Quorvath;
using Stress::FlowModel;
using Testing::FakeBrowser;
using Testing::ManualTicker;
using Testing::ScriptedQuestion;

namespace {

struct SideEntry {
    FormId form;
    const char *menu;
};
const SideEntry SideEntries[] = {
    {FormId::TermItemName, "mnutermitemname"},     {FormId::TermUsableBy, "mnutermusableby"},
    {FormId::TermEffects, "mnutermeffects"},       {FormId::TermActivated, "mnutermactivated"},
    {FormId::TermOneTime, "mnutermuses1time"},       {FormId::TermLimited, "mnutermuseslimited"},
    {FormId::TermMultiple, "mnutermusesmultiple"}, {FormId::TermContinuous, "mnuitemusescontinuous"},
    {FormId::TermDescription, "mnutermdesc"},      {FormId::About, "mnuabout"},
};

const char *const FormNames[FormCount] = {
    "frmIntro", "d", "frmItemname", "frmUsableby", "frmEffects", "frmActivated",
    "frmDescription", "frm1time", "frmLimited", "frmMultiple", "frmContinuous", "frmAbout",
};

class Session {
public:
    explicit Session(quint64 seed) : m_rng(seed) {}

    // Runs `actions` random actions; returns the first mismatch, or nothing.
    QString run(int actions)
    {
        newRun();
        for (m_action = 0; m_action < actions; ++m_action) {
            act();
            settle();
            if (const QString error = check(); !error.isEmpty())
                return error;
            if (m_model.ended)
                newRun();
        }
        return {};
    }
    int runs() const { return m_runs; }
    QString recent() const { return m_log.join(QLatin1String("\n    ")); }

private:
    // ----- helpers ---------------------------------------------------------
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_rng); }
    void note(const QString &what)
    {
        m_log << QStringLiteral("#%1 %2").arg(m_action).arg(what);
        if (m_log.size() > 25)
            m_log.removeFirst();
    }
    template <class T>
    T *child(FormId f, const char *name) const
    {
        QWidget *w = m_forms->window(f);
        return w ? w->findChild<T *>(QLatin1String(name)) : nullptr;
    }
    QTreeWidget *list(int tab) const
    {
        return m_forms->window(FormId::Main)->findChild<QTreeWidget *>(QStringLiteral("lstData(%1)").arg(tab));
    }
    MultiRowTabWidget *tabs() const { return child<MultiRowTabWidget>(FormId::Main, "SSTab1"); }

    // Delivers what the last action queued: posted events, the registry's
    // end check and the deferred deletes of closed windows.
    static void settle()
    {
        for (int i = 0; i < 2; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
    }

    void newRun()
    {
        m_forms.reset();
        settle();
        ++m_runs;
        m_model = FlowModel();
        m_endedSignals = 0;
        m_question.asked = 0;
        m_browser.opened.clear();
        m_browser.available = chance(0.7);
        m_forms = std::make_unique<FormRegistry>(m_question, m_browser, Twips::Scale());
        // The test ticks the animation itself, so that time cannot disturb the model.
        m_forms->setAnimationTicker([this] {
            auto ticker = std::make_unique<ManualTicker>();
            m_aboutTicker = ticker.get();
            return ticker;
        });
        QObject::connect(m_forms.get(), &FormRegistry::ended, [this] { ++m_endedSignals; });
        note(QStringLiteral("new run %1, browser %2").arg(m_runs).arg(m_browser.available ? "there" : "missing"));
        m_forms->show(FormId::Intro);
        settle();
    }

    // ----- the actions -----------------------------------------------------
    void act()
    {
        struct Choice {
            int weight;
            void (Session::*run)();
        };
        QList<Choice> choices;
        if (m_model.isLoaded(FormId::Intro))
            choices << Choice{12, &Session::introOkay} << Choice{1, &Session::closeIntro};
        if (m_model.isLoaded(FormId::Main)) {
            choices << Choice{6, &Session::clickTab} << Choice{2, &Session::keyTab}
                    << Choice{10, &Session::clickEntry} << Choice{6, &Session::keyEntry}
                    << Choice{6, &Session::menuShow} << Choice{1, &Session::findSpecific}
                    << Choice{2, &Session::quit};
        }
        bool terminologyOpen = false;
        for (const SideEntry &e : SideEntries)
            terminologyOpen |= e.form != FormId::About && m_model.isLoaded(e.form);
        if (terminologyOpen)
            choices << Choice{4, &Session::typeText} << Choice{3, &Session::closeTerminology};
        if (m_model.isLoaded(FormId::About))
            choices << Choice{6, &Session::tick} << Choice{2, &Session::closeAbout}
                    << Choice{1, &Session::webButton};
        choices << Choice{1, &Session::browserChanges};
        // The main window built ahead at any moment: before "Okay", after it
        // (no effect), after the intro was closed, after quitting.
        choices << Choice{2, &Session::prebuild};

        int total = 0;
        for (const Choice &c : choices)
            total += c.weight;
        int r = pick(total);
        for (const Choice &c : choices) {
            if ((r -= c.weight) < 0) {
                (this->*c.run)();
                return;
            }
        }
    }

    void introOkay()
    {
        note(QStringLiteral("intro: Okay"));
        child<QPushButton>(FormId::Intro, "Command1")->click();
        m_model.introOkay();
    }

    void closeIntro()
    {
        note(QStringLiteral("intro: closed by the system"));
        m_forms->window(FormId::Intro)->close();
        m_model.closeIntro();
    }

    void clickTab()
    {
        const int t = pick(Stress::TabCount);
        note(QStringLiteral("click tab %1").arg(t));
        MultiRowTabWidget *w = tabs();
        QTest::mouseClick(w, Qt::LeftButton, {}, w->tabRect(t).center());
        m_model.selectTab(t);
    }

    void keyTab()
    {
        const bool home = chance(0.5);
        note(QStringLiteral("tab strip: %1").arg(home ? "Home" : "End"));
        // The strip answers the keys only while it has the focus.
        m_forms->window(FormId::Main)->activateWindow();
        settle();
        tabs()->setFocus(Qt::TabFocusReason);
        if (QApplication::focusWidget() != tabs()) {
            m_pending = QStringLiteral("the tab strip cannot take the focus");
            return;
        }
        QTest::keyClick(tabs(), home ? Qt::Key_Home : Qt::Key_End);
        m_model.selectTab(home ? 0 : Stress::TabCount - 1);
    }

    void clickEntry()
    {
        QTreeWidget *l = list(m_model.tab);
        const int n = l->topLevelItemCount();
        if (n == 0)
            return;
        const int i = pick(n);
        note(QStringLiteral("click entry %1 of tab %2").arg(i).arg(m_model.tab));
        QTreeWidgetItem *item = l->topLevelItem(i);
        l->scrollToItem(item);
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(item).center());
        m_model.clickEntry(i);
    }

    void keyEntry()
    {
        QTreeWidget *l = list(m_model.tab);
        const int n = l->topLevelItemCount();
        const int current = l->currentIndex().row();
        if (n == 0 || current < 0) {
            clickEntry();   // the keys need an entry to start from
            return;
        }
        static const Qt::Key keys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End};
        const Qt::Key key = keys[pick(4)];
        const int next = key == Qt::Key_Down ? std::min(current + 1, n - 1)
                       : key == Qt::Key_Up   ? std::max(current - 1, 0)
                       : key == Qt::Key_Home ? 0
                                             : n - 1;
        note(QStringLiteral("key %1 in the list of tab %2 from entry %3").arg(QKeySequence(key).toString()).arg(m_model.tab).arg(current));
        l->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(l, key);
        m_model.selectEntry(next);
    }

    void menuShow()
    {
        const SideEntry &e = SideEntries[pick(int(std::size(SideEntries)))];
        note(QStringLiteral("menu %1").arg(QLatin1String(e.menu)));
        const bool wasLoaded = m_model.isLoaded(e.form);
        if (e.form == FormId::About && !wasLoaded)
            m_aboutTicker = nullptr;
        m_forms->window(FormId::Main)->findChild<QAction *>(QLatin1String(e.menu))->trigger();
        QString text;
        if (const TerminologyInfo *info = terminologyInfo(e.form)) {
            text = QString(info->explanation);
            text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        }
        m_model.show(e.form, m_browser.available, text);
        if (e.form == FormId::About && !wasLoaded) {
            // A fresh About window starts its timer at 50 ms.
            if (!m_aboutTicker || !m_aboutTicker->isActive() || m_aboutTicker->interval() != Animation::FirstInterval)
                m_pending = QStringLiteral("About loaded without its timer at 50 ms");
            m_ticked = false;
        }
    }

    void findSpecific()
    {
        note(QStringLiteral("menu mnusearchfindspecific (disabled)"));
        m_forms->window(FormId::Main)->findChild<QAction *>(QStringLiteral("mnusearchfindspecific"))->trigger();
    }

    void quit()
    {
        m_question.answer = chance(0.4);
        const bool menu = chance(0.5);
        note(QStringLiteral("%1, answer %2").arg(menu ? "File > Quit" : "close box").arg(m_question.answer ? "Yes" : "No"));
        if (menu)
            m_forms->window(FormId::Main)->findChild<QAction *>(QStringLiteral("mnuquit"))->trigger();
        else
            m_forms->window(FormId::Main)->close();
        m_model.closeMain(m_question.answer);
        if (m_question.text != QLatin1String("Are you sure you want to quit?")
            || m_question.caption != QLatin1String("Quorvath Itemlist For Windows"))
            m_pending = QStringLiteral("the quit question was '%1' / '%2'").arg(m_question.text, m_question.caption);
    }

    FormId openTerminology()
    {
        QList<FormId> open;
        for (const SideEntry &e : SideEntries)
            if (e.form != FormId::About && m_model.isLoaded(e.form))
                open << e.form;
        return open.at(pick(int(open.size())));
    }

    void typeText()
    {
        const FormId f = openTerminology();
        static const QString letters = QStringLiteral("abcdefghij XYZ.,");
        QString typed;
        for (int i = 0, n = 1 + pick(6); i < n; ++i)
            typed += letters.at(pick(int(letters.size())));
        note(QStringLiteral("type '%1' into %2").arg(typed, QLatin1String(FormNames[int(f)])));
        auto *edit = child<QPlainTextEdit>(f, "Text1");
        QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(edit, typed);
        if (chance(0.2)) {
            QTest::keyClick(edit, Qt::Key_Return);   // a new line, not a default button
            typed += QLatin1Char('\n');
        }
        m_model.type(f, typed);
    }

    void closeTerminology()
    {
        const FormId f = openTerminology();
        note(QStringLiteral("close %1").arg(QLatin1String(FormNames[int(f)])));
        m_forms->window(f)->close();
        m_model.closeSide(f);
    }

    void tick()
    {
        note(QStringLiteral("About: tick"));
        m_aboutTicker->tick();
        m_model.tick();
        m_ticked = true;
    }

    void closeAbout()
    {
        const bool okay = chance(0.5);
        note(QStringLiteral("About: %1").arg(okay ? "Okay" : "close box"));
        if (okay)
            child<QPushButton>(FormId::About, "Okaybutton")->click();
        else
            m_forms->window(FormId::About)->close();
        m_model.closeSide(FormId::About);
    }

    void webButton()
    {
        const bool petition = chance(0.5);
        note(QStringLiteral("About: %1").arg(petition ? "Sign The Petition Now!" : "Velmarch"));
        child<QPushButton>(FormId::About, petition ? "Petitionsign" : "GoVelmarch")->click();
        m_model.webButton(petition ? AboutWindow::PetitionUrl : AboutWindow::VelmarchUrl);
    }

    void prebuild()
    {
        note(QStringLiteral("main window built ahead"));
        m_forms->prebuildMain();   // nothing the user can see changes
    }

    void browserChanges()
    {
        m_browser.available = !m_browser.available;
        note(QStringLiteral("the browser is now %1").arg(m_browser.available ? "there" : "missing"));
    }

    // ----- the comparison --------------------------------------------------
    QString check()
    {
        if (!m_pending.isEmpty())
            return std::exchange(m_pending, {});
        const FlowModel &m = m_model;
        if (m_forms->hasEnded() != m.ended)
            return QStringLiteral("ended: program %1, model %2").arg(m_forms->hasEnded()).arg(m.ended);
        if (m_endedSignals != (m.ended ? 1 : 0))
            return QStringLiteral("ended() emitted %1 times").arg(m_endedSignals);
        if (m_question.asked != m.questionsAsked)
            return QStringLiteral("quit question asked %1 times, expected %2").arg(m_question.asked).arg(m.questionsAsked);
        if (m_browser.opened != m.pagesOpened)
            return QStringLiteral("pages opened: %1, expected %2").arg(m_browser.opened.join(' '), m.pagesOpened.join(' '));

        int visibleForms = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            visibleForms += w->isVisible() && !w->objectName().isEmpty();
        if (visibleForms != m.loadedCount())
            return QStringLiteral("%1 visible windows, expected %2").arg(visibleForms).arg(m.loadedCount());

        for (int i = 0; i < FormCount; ++i) {
            const auto f = FormId(i);
            const QString name = QLatin1String(FormNames[i]);
            if (m_forms->instanceExists(f) != m.created[i])
                return QStringLiteral("%1: instance exists %2").arg(name).arg(m_forms->instanceExists(f));
            if (m_forms->isLoaded(f) != m.loaded[i])
                return QStringLiteral("%1: loaded %2").arg(name).arg(m_forms->isLoaded(f));
            if (m.loaded[i] && (!m_forms->window(f)->isVisible() || m_forms->window(f)->objectName() != name))
                return QStringLiteral("%1: not visible under its name").arg(name);
        }
        // A main window built ahead is no instance: no catalog, nothing shown.
        if ((m_forms->catalog() != nullptr) != m.created[size_t(FormId::Main)])
            return QStringLiteral("catalog there %1").arg(m_forms->catalog() != nullptr);
        if (m.isLoaded(FormId::Main))
            if (QString e = checkMain(); !e.isEmpty())
                return e;
        for (const SideEntry &e : SideEntries) {
            if (e.form == FormId::About || !m.isLoaded(e.form))
                continue;
            const QString shown = child<QPlainTextEdit>(e.form, "Text1")->toPlainText();
            if (shown != m.text[size_t(e.form)])
                return QStringLiteral("%1 shows '%2', expected '%3'").arg(QLatin1String(FormNames[int(e.form)]), shown, m.text[size_t(e.form)]);
        }
        if (const AboutState *about = m_forms->aboutState()) {
            if (about->step != m.aboutStep)
                return QStringLiteral("About step %1, expected %2").arg(about->step).arg(m.aboutStep);
        } else if (m.created[size_t(FormId::About)]) {
            return QStringLiteral("About has no state");
        }
        if (m.isLoaded(FormId::About)) {
            for (const char *b : {"Petitionsign", "GoVelmarch"})
                if (child<QPushButton>(FormId::About, b)->isEnabled() != m.webButtonsEnabled)
                    return QStringLiteral("%1 enabled %2").arg(QLatin1String(b)).arg(!m.webButtonsEnabled);
            if (m.aboutStep > 0) {
                Animation::FrameArray image{}, delay{};
                Animation::writeTable(image, delay);
                const int interval = m_aboutTicker->interval();
                if (m_ticked && interval != delay[size_t(m.aboutStep)])
                    return QStringLiteral("animation interval %1 on step %2").arg(interval).arg(m.aboutStep);
            }
        }
        return {};
    }

    QString checkMain()
    {
        const FlowModel &m = m_model;
        if (tabs()->currentIndex() != m.tab)
            return QStringLiteral("selected tab %1, expected %2").arg(tabs()->currentIndex()).arg(m.tab);
        for (int t = 0; t < Stress::TabCount; ++t) {
            QTreeWidget *l = list(t);
            if (!l) {   // made when its tab is first chosen
                if (t == m.tab || !m.lists[t].isEmpty())
                    return QStringLiteral("lstData(%1) missing").arg(t);
                continue;
            }
            if (l->isVisibleTo(tabs()) != (t == m.tab))
                return QStringLiteral("lstData(%1) visible %2").arg(t).arg(t != m.tab);
            const QList<int> &rows = m.lists[t];
            if (l->topLevelItemCount() != rows.size())
                return QStringLiteral("lstData(%1) holds %2 entries, expected %3").arg(t).arg(l->topLevelItemCount()).arg(rows.size());
            for (int i = 0; i < rows.size(); ++i) {
                const QTreeWidgetItem *item = l->topLevelItem(i);
                if (item->data(0, MainWindow::KeyRole).toString() != QStringLiteral("A%1").arg(rows[i])
                    || item->text(0) != FlowModel::cell(rows[i], 1))
                    return QStringLiteral("lstData(%1) entry %2 is '%3' %4, expected row %5").arg(t).arg(i)
                        .arg(item->text(0), item->data(0, MainWindow::KeyRole).toString()).arg(rows[i]);
            }
        }
        const QList<QTreeWidgetItem *> selected = list(m.tab)->selectedItems();
        const int shownSelected = selected.isEmpty() ? -1 : list(m.tab)->indexOfTopLevelItem(selected.first());
        if (shownSelected != m.selected[m.tab])
            return QStringLiteral("entry %1 selected, expected %2").arg(shownSelected).arg(m.selected[m.tab]);
        for (int c = 1; c <= 6; ++c) {
            const QString shown = child<ValueLabel>(FormId::Main, QStringLiteral("lblField(%1)").arg(c).toLatin1().constData())->text();
            if (shown != m.labels[c])
                return QStringLiteral("lblField(%1) shows '%2', expected '%3'").arg(c).arg(shown, m.labels[c]);
        }
        return {};
    }

    std::mt19937_64 m_rng;
    ScriptedQuestion m_question;
    FakeBrowser m_browser;
    std::unique_ptr<FormRegistry> m_forms;
    FlowModel m_model;
    int m_endedSignals = 0;
    int m_runs = 0;
    int m_action = 0;
    ManualTicker *m_aboutTicker = nullptr;   // the loaded About window's
    bool m_ticked = false;   // the animation ticked since About last loaded
    QString m_pending;
    QStringList m_log;
};

} // namespace

class tst_Stress : public QObject {
    Q_OBJECT
private slots:
    void randomSession();
};

// The offscreen platform says, for every window shown, that it cannot raise
// it; thousands of those would push the seed and the summary out of the log.
QtMessageHandler g_qtHandler = nullptr;
void quietPlatform(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    g_qtHandler(type, context, message);
}

void tst_Stress::randomSession()
{
    g_qtHandler = qInstallMessageHandler(quietPlatform);
    bool ok = false;
    quint64 seed = qEnvironmentVariable("QI_STRESS_SEED").toULongLong(&ok);
    if (!ok)
        seed = QRandomGenerator::system()->generate64();
    int actions = qEnvironmentVariableIntValue("QI_STRESS_ACTIONS", &ok);
    if (!ok)
        actions = 20000;
    qInfo("seed %llu, %d actions (repeat with QI_STRESS_SEED=%llu QI_STRESS_ACTIONS=%d)",
          seed, actions, seed, actions);

    QElapsedTimer time;
    time.start();
    Session session(seed);
    const QString error = session.run(actions);
    if (!error.isEmpty()) {
        QFAIL(qPrintable(QStringLiteral("%1\n  seed %2; the last actions:\n    %3")
                             .arg(error).arg(seed).arg(session.recent())));
    }
    qInfo("%d actions in %d runs, %.1f s", actions, session.runs(), time.elapsed() / 1000.0);
}

QTEST_MAIN(tst_Stress)
#include "tst_stress.moc"
