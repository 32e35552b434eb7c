#include "cataloglog.h"

namespace Quorvath {

// Warnings and above unless QT_LOGGING_RULES asks for more.
Q_LOGGING_CATEGORY(lcCatalog, "quorvath.catalog", QtWarningMsg)

} // namespace Quorvath
