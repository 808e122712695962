#pragma once

class QWidget;

// Windows are centred as the player sees them, frame included. The frame is the window
// manager's: it is known only once the window is on the screen and may change after, and each
// time it does, or the area it is centred on moves, the window is centred anew. A window the
// player has dragged elsewhere is left there. Where the window system places windows itself
// (Wayland), asking does nothing.
namespace placement
{

// Centres the main window on its screen now, and from now on as described above.
void keepCentredOnScreen(QWidget& window);

// Centres a dialog on its owner's frame each time it is shown, and as described above.
void keepCentredOnOwner(QWidget& dialog);

} // namespace placement
