// Keys a screen reader saw before the program.
#pragma once

namespace Quorvath {

// Qt's AT-SPI bridge on Linux holds each key press and release until the
// screen reader has answered whether it takes the key (100 ms at most), and
// then posts the program a copy of it. A copied lone Alt pressed after the
// real release could shut the menu bar that Alt just opened; from now on it
// cannot (readerkeys_linux.cpp tells how). Nothing to do on other systems.
void mendReaderKeyCopies();

} // namespace Quorvath
