#include "supportlog.h"

namespace Quorvath {

// Warnings and above unless QT_LOGGING_RULES asks for more.
Q_LOGGING_CATEGORY(lcSupport, "quorvath.support", QtWarningMsg)

} // namespace Quorvath
