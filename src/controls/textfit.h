// How a designed text fits the control that shows it: what each kind of
// control leaves the text of its box, by its borders, margins and the room
// its own drawing keeps. The font choice measures the windows' texts by it.
#pragma once

#include "designedtext.h"
#include "twips.h"
#include "uifont.h"

#include <vector>

namespace Quorvath {

// What the text may take of its control, and how it has to fit there, in the
// current style and a layout at `twips`.
UiFont::Text fitOf(const DesignedText &designed, Twips::Scale twips);
std::vector<UiFont::Text> fitsOf(const std::vector<DesignedText> &designed, Twips::Scale twips);

} // namespace Quorvath
