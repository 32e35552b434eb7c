#include "uifont.h"

namespace Quorvath::UiFont {

const System ThisSystem = System::Linux;

} // namespace Quorvath::UiFont
