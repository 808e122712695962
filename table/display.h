#pragma once

class QWidget;

// Started where no screen can be reached, the toolkit gives up with an abort. The player gets
// one plain line and an exit status instead.
namespace display
{

// Whether the window system the toolkit will use has a display to talk to, as far as the
// environment tells.
bool available();

// Says that there is no screen; the exit status to end with.
int reportMissing();

// While on, a toolkit that cannot reach its display after all ends the program the same plain
// way; on only while the application is being set up.
void watchConnection(bool on);

// Chooses, before the application is made, how repaints reach an X server: copied through the
// connection rather than through shared memory. The table's repaints are a tile or two, and a
// shared-memory flush must be waited for before the next paint; a player's own choice in the
// environment stands. Only the X11 platform reads the choice; on Wayland it changes nothing.
void copyRepaints();

// Has the X server fill a top-level window with black the moment it maps it, so that the window
// shows at once rather than after the toolkit's first paint has made its way there. Call it once
// the native window exists and before it is mapped; other window systems are left as they are.
void blackFromTheStart(QWidget& window);

} // namespace display
