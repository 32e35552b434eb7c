#include "applog.h"

namespace Quorvath {

// Warnings and above unless QT_LOGGING_RULES asks for more.
Q_LOGGING_CATEGORY(lcApp, "quorvath.app", QtWarningMsg)

} // namespace Quorvath
