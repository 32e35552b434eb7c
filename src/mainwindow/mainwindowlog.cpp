#include "mainwindowlog.h"

namespace Quorvath {

// Warnings and above unless QT_LOGGING_RULES asks for more.
Q_LOGGING_CATEGORY(lcMainWindow, "quorvath.mainwindow", QtWarningMsg)

} // namespace Quorvath
