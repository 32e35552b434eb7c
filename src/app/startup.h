// What main() settles before the window system is opened: descriptors a
// launcher left closed, and a plain answer when no display can be opened.
#pragma once

#include <QtGlobal>

namespace Quorvath {

// Opens /dev/null on each of standard input, output and error that is
// closed. Left closed, the next file or socket opened (the X connection)
// would take its number, and the first warning would be written into it.
// Nothing to do on Windows.
void openClosedStandardStreams();

// While it lives, around QApplication's construction: when no platform
// plugin can start (no display, a display that does not answer, an unknown
// -platform), the program says so in one line on standard error and exits
// with 1, instead of Qt's four lines and an abort. Qt's messages meanwhile
// are held, and passed on once the window system is open.
class WindowSystemStart {
    Q_DISABLE_COPY_MOVE(WindowSystemStart)
public:
    WindowSystemStart();
    ~WindowSystemStart();
};

} // namespace Quorvath
