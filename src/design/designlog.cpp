#include "designlog.h"

namespace Quorvath {

// Warnings and above unless QT_LOGGING_RULES asks for more.
Q_LOGGING_CATEGORY(lcDesign, "quorvath.design", QtWarningMsg)

} // namespace Quorvath
