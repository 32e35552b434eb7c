// Keys whose release never reached the program.
#pragma once

namespace Quorvath {

// Qt for Windows remembers every key it saw pressed until it sees the key
// released, and takes a press of a key it believes held for the key's
// auto-repeat, which for Alt, Shift, Ctrl and the Windows keys it drops.
// When a window closes while such a key is held (Alt+F4 closing a side
// window), Wine can hand the release to the window that is gone; Qt then
// drops the next press of that key: the lone Alt that should put the menu
// bar in keyboard mode does nothing. From now on a fresh press of a key that
// Qt believes held first gives Qt the release it missed. Nothing to do on
// other systems.
void mendLostKeyReleases();

} // namespace Quorvath
