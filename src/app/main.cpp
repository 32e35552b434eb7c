// Quorvath Itemlist: starts on the intro window and runs until no window is
// loaded any more.
#include "browser.h"
#include "formregistry.h"
#include "identity.h"
#include "messageboxquestion.h"

#include <QApplication>
#include <QIcon>
#include <QSessionManager>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(Quorvath::Identity::Title);
    QApplication::setApplicationVersion(Quorvath::Identity::Version);
    QApplication::setOrganizationName(Quorvath::Identity::CompanyName);
    QApplication::setDesktopFileName(QStringLiteral("example.quorvath.Itemlist"));
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/icons/quorvath-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    Quorvath::FormRegistry::applyProgramFont();
    // The registry decides when the program ends, not Qt's window count.
    QApplication::setQuitOnLastWindowClosed(false);

    Quorvath::MessageBoxQuestion question;
    Quorvath::SystemBrowser browser;
    Quorvath::FormRegistry forms(question, browser);
    QObject::connect(&forms, &Quorvath::FormRegistry::ended, &app, [] { QCoreApplication::exit(0); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &forms, [&forms](QSessionManager &session) {
        if (session.allowsInteraction()) {
            if (!forms.closeForSessionEnd())
                session.cancel();
            session.release();
        }
    });

    forms.show(Quorvath::FormId::frmIntro);
    return QApplication::exec();
}
