// The game window on the desktop: its icon, its fixed size, its place.
#pragma once

class QWidget;

// The game's icon, two cards fanned out, as the build drew it for the
// desktop, at the small sizes a title bar and a window switcher show.
void ShowGameIcon(QWidget* window);
// A fixed size, centred on the screen it opens on.
void PlaceOnScreen(QWidget* window);
