// qi_session: the program as main.cpp builds it (real question box, real
// browser starter), driven through a whole scripted session: every tab and a
// click in each, every Help window, typing, the About animation, both web
// buttons, the quit question answered No and then Yes, and the end of the
// program when its last window closes. The sandbox test runs it under strace.
#include "browser.h"
#include "formregistry.h"
#include "identity.h"
#include "messageboxquestion.h"
#include "multirowtabwidget.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <functional>

using namespace Quorvath;

namespace {

// Answers the next modal question box with `button`, as a user would.
void answerNextQuestion(QMessageBox::StandardButton button)
{
    auto *poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, button] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            box->button(button)->click();
            poll->deleteLater();
        }
    });
    poll->start();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(Identity::Title);
    QApplication::setApplicationVersion(Identity::Version);
    QApplication::setOrganizationName(Identity::CompanyName);
    QApplication::setQuitOnLastWindowClosed(false);

    MessageBoxQuestion question;
    SystemBrowser browser;
    FormRegistry forms(question, browser, Twips::Scale());
    QObject::connect(&forms, &FormRegistry::ended, &app, [] { QCoreApplication::exit(0); });

    const auto main = [&] { return forms.window(FormId::Main); };
    const auto menu = [&](const char *name) {
        main()->findChild<QAction *>(QLatin1String(name))->trigger();
    };
    static const char *const helpEntries[] = {
        "mnutermitemname", "mnutermusableby", "mnutermeffects", "mnutermactivated",
        "mnutermuses1time", "mnutermuseslimited", "mnutermusesmultiple",
        "mnuitemusescontinuous", "mnutermdesc", "mnuabout",
    };

    QList<std::function<void()>> steps;
    steps << [&] { forms.window(FormId::Intro)->findChild<QPushButton *>(QStringLiteral("Command1"))->click(); };
    for (int t = 0; t < 11; ++t) {
        steps << [&, t] {
            auto *tabs = main()->findChild<MultiRowTabWidget *>(QStringLiteral("SSTab1"));
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(t).center());
            auto *list = main()->findChild<QTreeWidget *>(QStringLiteral("lstData(%1)").arg(t));
            QTreeWidgetItem *last = list->topLevelItem(list->topLevelItemCount() - 1);
            list->scrollToItem(last);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(last).center());
        };
    }
    for (const char *entry : helpEntries)
        steps << [&, entry] { menu(entry); };
    steps << [&] {
        auto *text = forms.window(FormId::TermLimited)->findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
        QTest::keyClicks(text, QStringLiteral("typed, and gone"));
    };
    steps << [] {} << [] {} << [] {};   // the animation runs a while
    steps << [&] { forms.window(FormId::About)->findChild<QPushButton *>(QStringLiteral("GoVelmarch"))->click(); };
    steps << [&] { menu("mnuabout"); };
    steps << [] {} << [] {};
    steps << [&] { forms.window(FormId::About)->findChild<QPushButton *>(QStringLiteral("Petitionsign"))->click(); };
    steps << [&] { menu("mnuabout"); };
    steps << [&] {
        answerNextQuestion(QMessageBox::No);
        menu("mnuquit");
    };
    steps << [&] {
        answerNextQuestion(QMessageBox::Yes);
        main()->close();
    };
    // The main window is gone; the side windows close one by one and the
    // last one ends the program.
    for (int f = int(FormId::TermItemName); f <= int(FormId::About); ++f)
        steps << [&, f] {
            if (QWidget *w = forms.window(FormId(f)))
                w->close();
        };

    int next = 0;
    QTimer script;
    script.setInterval(150);
    QObject::connect(&script, &QTimer::timeout, &app, [&] {
        if (next < steps.size())
            steps[next++]();
    });
    QTimer::singleShot(300, &script, qOverload<>(&QTimer::start));
    QTimer::singleShot(60000, &app, [] {
        fprintf(stderr, "qi_session: the session did not end\n");
        QCoreApplication::exit(3);
    });

    forms.show(FormId::Intro);
    const int code = QApplication::exec();
    if (code == 0 && next != steps.size()) {
        fprintf(stderr, "qi_session: ended after step %d of %d\n", next, int(steps.size()));
        return 4;
    }
    return code;
}
