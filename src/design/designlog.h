// This library's logging category, "quorvath.design". A warning says
// where the program fell back from what it meant to do; the detail lines
// (debug) show with QT_LOGGING_RULES="quorvath.design.debug=true".
#pragma once

#include <QLoggingCategory>

namespace Quorvath {

Q_DECLARE_LOGGING_CATEGORY(lcDesign)

} // namespace Quorvath
