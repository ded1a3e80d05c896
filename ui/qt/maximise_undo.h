#pragma once

class QWidget;

// Qt's own window decorations on Wayland (drawn where the compositor draws none, as on weston and
// GNOME) offer a maximise button whatever the window's hints. weston maximises a window of fixed
// size, which ends the program: the window cannot take the size it was given. There `window` (of
// fixed size) therefore takes a maximise for a moment, asks to be restored at once, and keeps its
// fixed size again. GNOME's mutter leaves such a window at its size, and one that took the maximise
// would flash full-screen: there only the maximised state is put back. Elsewhere this does nothing.
void UndoMaximiseOnWayland(QWidget* window);
