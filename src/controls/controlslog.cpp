#include "controlslog.h"

namespace Quorvath {

// Warnings and above unless QT_LOGGING_RULES asks for more.
Q_LOGGING_CATEGORY(lcControls, "quorvath.controls", QtWarningMsg)

} // namespace Quorvath
