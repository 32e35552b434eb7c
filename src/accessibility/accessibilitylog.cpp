#include "accessibilitylog.h"

namespace Quorvath {

// Warnings and above unless QT_LOGGING_RULES asks for more.
Q_LOGGING_CATEGORY(lcAccessibility, "quorvath.accessibility", QtWarningMsg)

} // namespace Quorvath
