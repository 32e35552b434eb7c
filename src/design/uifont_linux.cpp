#include "uifont.h"

namespace Quorvath::UiFont {

const System ThisSystem = System::Linux;

// Fontconfig's database is the only one.
void requestFontDatabase() {}
void withdrawFontDatabaseRequest() {}

} // namespace Quorvath::UiFont
