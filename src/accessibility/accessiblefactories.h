// How the program's own controls present themselves to assistive technology
// (AT-SPI on Linux, UI Automation on Windows, through Qt's bridge). Qt has no
// interface for a widget class it does not know and would expose these as
// anonymous client areas.
#pragma once

namespace Quorvath {

// Installs the factories of the program's controls and windows. Call it once,
// before the first window is made.
void installAccessibleFactories();

} // namespace Quorvath
