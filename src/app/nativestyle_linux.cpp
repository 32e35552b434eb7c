#include "nativestyle.h"

namespace Quorvath {

// Qt's choice stands.
void requestNativeStyle(int, char *[]) {}
void withdrawNativeStyleRequest() {}

} // namespace Quorvath
