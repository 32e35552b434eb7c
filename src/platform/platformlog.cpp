#include "platformlog.h"

namespace Quorvath {

// Warnings and above unless QT_LOGGING_RULES asks for more.
Q_LOGGING_CATEGORY(lcPlatform, "quorvath.platform", QtWarningMsg)

} // namespace Quorvath
