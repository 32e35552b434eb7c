// A screen reader keeps the states it has read of an object: AT-SPI clients
// cache them and take later changes from events. Qt reports a widget's
// "showing" state changing as it shows or hides, but never its "visible"
// state, which goes with it. An object the reader first read while hidden
// stays invisible to it once shown, and flat review passes over what is
// invisible: the details of the main window, built ahead while hidden, and a
// tab's page shown a second time.
#pragma once

class QWidget;

namespace Quorvath {

// Hands out assistive technology's objects for `widget` and everything in it
// anew, as if just made, so that a reader reads their states afresh. For a
// widget that shows after it was hidden. Does nothing while no assistive
// technology is active.
void presentAnew(QWidget *widget);

} // namespace Quorvath
