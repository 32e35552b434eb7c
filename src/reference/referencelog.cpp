#include "referencelog.h"

namespace Quorvath {

// Warnings and above unless QT_LOGGING_RULES asks for more.
Q_LOGGING_CATEGORY(lcReference, "quorvath.reference", QtWarningMsg)

} // namespace Quorvath
