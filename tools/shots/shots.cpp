// Saves a picture of every window of the program, of its menus and of the
// quit question, as the user sees them, into one folder:
//   qi_shots OUTDIR [-style NAME]
// Run it on a real display (Xvfb, or Wine on Windows) or on the offscreen
// platform; the pictures show the windows' client areas, without the window
// manager's frames.
#include "browser.h"
#include "formregistry.h"
#include "identity.h"
#include "nativestyle.h"
#include "twips.h"
#include "uifont.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTreeWidget>

namespace {

class NoQuestion final : public Quorvath::Question {
public:
    bool askYesNo(QWidget *, const QString &, const QString &) override { return false; }
};

class NoBrowser final : public Quorvath::Browser {
public:
    bool isAvailable() override { return true; }
    void open(const QString &, QObject *, Reply reply) override { reply(false); }
};

void save(QWidget *widget, const QString &path)
{
    QTest::qWait(50);
    widget->grab().save(path);
    qInfo("%s", qPrintable(path));
}

} // namespace

int main(int argc, char *argv[])
{
    Quorvath::UiFont::requestFontDatabase();
    Quorvath::requestNativeStyle(argc, argv);
    QApplication app(argc, argv);
    Quorvath::UiFont::withdrawFontDatabaseRequest();
    Quorvath::withdrawNativeStyleRequest();
    if (argc < 2)
        qFatal("usage: qi_shots OUTDIR");
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    const Quorvath::Twips::Scale twips = Quorvath::FormRegistry::applyProgramFont();
    qInfo("font %s, layout scale %.2f", qPrintable(QApplication::font().toString()), twips.factor());

    NoQuestion question;
    NoBrowser browser;
    Quorvath::FormRegistry forms(question, browser, twips);
    using Quorvath::FormId;

    forms.show(FormId::Intro);
    save(forms.window(FormId::Intro), out.filePath(QStringLiteral("intro.png")));
    forms.unload(FormId::Intro);
    forms.show(FormId::Main);
    QWidget *main = forms.window(FormId::Main);
    auto *list = main->findChild<QTreeWidget *>(QStringLiteral("lstData(0)"));
    const auto chain = list->findItems(QStringLiteral("Chain Armor"), Qt::MatchExactly);
    if (!chain.isEmpty())
        list->setCurrentItem(chain.first());
    save(main, out.filePath(QStringLiteral("main-window.png")));

    // The menus, each popped up where the menu bar would open it.
    auto *bar = main->findChild<QMenuBar *>();
    for (const char *name : {"mnufile", "mnusearch", "mnuhelp", "mnuterms", "mnutermuses"}) {
        auto *menu = main->findChild<QMenu *>(QLatin1String(name));
        menu->popup(main->mapToGlobal(bar->geometry().bottomLeft()));
        save(menu, out.filePath(QStringLiteral("menu-%1.png").arg(QLatin1String(name))));
        menu->hide();
    }

    for (FormId form : {FormId::TermItemName, FormId::TermUsableBy, FormId::TermEffects, FormId::TermActivated,
                        FormId::TermDescription, FormId::TermOneTime, FormId::TermLimited, FormId::TermMultiple,
                        FormId::TermContinuous}) {
        forms.show(form);
        QWidget *w = forms.window(form);
        save(w, out.filePath(w->objectName() + QStringLiteral(".png")));
        forms.unload(form);
    }

    forms.show(FormId::About);
    QTest::qWait(1200);   // a few steps into the animation
    save(forms.window(FormId::About), out.filePath(QStringLiteral("frmAbout.png")));
    forms.unload(FormId::About);

    // The quit question, as the main window asks it.
    QMessageBox box(QMessageBox::Question, Quorvath::Identity::Title,
                    QStringLiteral("Are you sure you want to quit?"), QMessageBox::Yes | QMessageBox::No, main);
    box.setDefaultButton(QMessageBox::Yes);
    box.show();
    save(&box, out.filePath(QStringLiteral("quit-question.png")));
    box.hide();
    return 0;
}
