// With a screen reader running on Linux, Qt hands each key to the reader
// first and replays it to the program once the reader lets it through. Qt
// sends a replayed key press once more as a shortcut override, and its menu
// bar, which opens on the release of a lone Alt, takes the replayed Alt for
// a second one: when the real release came before the reader's answer, the
// menu bar opened on that release and closed again on the replayed one, and
// a lone Alt seemed to do nothing (with Orca, in two walks out of seven;
// every Alt press of a walk is replayed).
#pragma once

class QCoreApplication;

namespace Quorvath {

// Keeps a replayed Alt from arming the menu bar a second time. Install once
// on the application.
void ignoreReplayedAltOverrides(QCoreApplication *app);

} // namespace Quorvath
