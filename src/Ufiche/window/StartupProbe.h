#pragma once

class QWidget;

namespace Ufiche {

// Start-up measurement: when the environment variable FICHE_STARTUP_PROBE is
// set, the program writes "first paint" on its standard output once the
// window has been painted and put on the screen for the first time, and ends
// there at once, saving nothing. scripts/startup-time times it.
void WatchFirstPaint(QWidget& window);

}  // namespace Ufiche
