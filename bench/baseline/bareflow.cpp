// A bare Qt Widgets program with the real program's two first steps: a
// window with the intro's caption, a label and a button, and on Okay a main
// window with a menu bar and a status bar. bench/wine_startup.py starts it
// beside the real program, both built from the same Qt.
#include "baselinewindow.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QiBench::BaselineWindow intro;
    intro.setWindowTitle(QStringLiteral(QI_BENCH_INTRO_CAPTION));
    QMainWindow main;
    main.setWindowTitle(QStringLiteral(QI_BENCH_MAIN_CAPTION));
    main.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&Quit"), &app,
                                                                 &QCoreApplication::quit);
    main.statusBar()->showMessage(QStringLiteral("Ready"));
    main.resize(640, 480);
    auto *okay = intro.findChild<QPushButton *>();
    okay->setDefault(true);
    QObject::connect(okay, &QPushButton::clicked, &intro, [&] {
        main.show();
        intro.close();
    });
    intro.show();
    return QApplication::exec();
}
