// The widget style the windows are drawn in, chosen before the application
// object is made. On Windows that is the native themed style (windowsvista)
// on every version: Qt 6.7 and later give Windows 11 their windows11 style
// instead, whose taller menu bar, flat tabs and frameless lists move every
// control away from the windows' design. A style the user names (-style in
// any form Qt takes, or QT_STYLE_OVERRIDE) wins. On Linux Qt's own choice
// stands (nativestyle_linux.cpp, nativestyle_win.cpp).
#pragma once

namespace Quorvath {

// Called with the command line the application object will be given.
void requestNativeStyle(int argc, char *argv[]);
// Called once the application object exists: keeps the request from the
// programs the program starts, and warns if the style could not be made.
void withdrawNativeStyleRequest();

} // namespace Quorvath
