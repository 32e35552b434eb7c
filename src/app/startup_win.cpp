// The standard streams on Windows: a closed one is no number that the next
// file or socket opened would take, so there is nothing to do.
#include "startup.h"

namespace Quorvath {

void openClosedStandardStreams() {}

} // namespace Quorvath
