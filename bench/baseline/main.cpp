// A bare Qt Widgets program: one window of the intro window's size with a
// label and a button, which quits as soon as it has painted. The start-up
// benchmark runs it beside the real program.
#include "baselinewindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QiBench::BaselineWindow window([] { QCoreApplication::quit(); });
    window.show();
    return QApplication::exec();
}
