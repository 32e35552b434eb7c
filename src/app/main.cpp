// Quorvath Itemlist: starts on the intro window and runs until no window is
// loaded any more.
#include "accessiblefactories.h"
#include "browser.h"
#include "commandline.h"
#include "formregistry.h"
#include "identity.h"
#include "lostkeys.h"
#include "messageboxquestion.h"
#include "nativestyle.h"
#include "quitsignals.h"
#include "readerkeys.h"
#include "startup.h"
#include "uifont.h"

#include <QApplication>
#include <QSessionManager>

#include <optional>

int main(int argc, char *argv[])
{
    // --help, --version and mistakes are answered before the window system
    // is touched: they need no display.
    if (const std::optional<int> exitCode = Quorvath::handleCommandLine(argc, argv))
        return *exitCode;
    Quorvath::openClosedStandardStreams();
    Quorvath::UiFont::requestFontDatabase();
    Quorvath::requestNativeStyle(argc, argv);
    std::optional<Quorvath::WindowSystemStart> start(std::in_place);
    QApplication app(argc, argv);
    start.reset();
    Quorvath::UiFont::withdrawFontDatabaseRequest();
    Quorvath::withdrawNativeStyleRequest();
    QApplication::setApplicationName(Quorvath::Identity::Title);
    QApplication::setApplicationVersion(Quorvath::Identity::Version);
    QApplication::setOrganizationName(Quorvath::Identity::CompanyName);
    QApplication::setDesktopFileName(QStringLiteral("example.quorvath.Itemlist"));
    Quorvath::installAccessibleFactories();
    Quorvath::mendLostKeyReleases();
    Quorvath::mendReaderKeyCopies();
    const Quorvath::Twips::Scale twips = Quorvath::FormRegistry::applyProgramFont();
    // The registry decides when the program ends, not Qt's window count.
    QApplication::setQuitOnLastWindowClosed(false);

    // SIGTERM (a logout), SIGINT and SIGHUP end the program as quietly as
    // its last window does, without the quit question, and with the same
    // cleanup: the openers still running are ended with it. The exit code
    // says which signal it was, as a shell's does: 128 + its number.
    Quorvath::QuitSignals quitSignals;
    QObject::connect(&quitSignals, &Quorvath::QuitSignals::received, &app,
                     [](int signal) { QCoreApplication::exit(128 + signal); });

    Quorvath::MessageBoxQuestion question;
    Quorvath::SystemBrowser browser;
    Quorvath::FormRegistry forms(question, browser, twips);
    // The main window is built while the intro is read, so that "Okay"
    // opens it at once. 60 ms: well after the intro is on screen.
    forms.setPrebuildDelay(60);
    QObject::connect(&forms, &Quorvath::FormRegistry::ended, &app, [] { QCoreApplication::exit(0); });
    // The icon, at six sizes up to 256 px, is converted for the window
    // system when it is set; the intro shows first and gets it a moment
    // later.
    QObject::connect(&forms, &Quorvath::FormRegistry::firstPainted, &forms, &Quorvath::FormRegistry::applyProgramIcon);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &forms, [&forms](QSessionManager &session) {
        if (session.allowsInteraction()) {
            if (!forms.closeForSessionEnd())
                session.cancel();
            session.release();
        }
    });

    forms.show(Quorvath::FormId::Intro);
    return QApplication::exec();
}
