#include "uifont.h"

namespace Quorvath::UiFont {

const System ThisSystem = System::Windows;

} // namespace Quorvath::UiFont
