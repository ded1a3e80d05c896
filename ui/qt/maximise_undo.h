#pragma once

class QWidget;

// Qt's own window decorations on Wayland (drawn where the compositor draws none, as on weston and
// GNOME) offer a maximise button whatever the window's hints, and a compositor that maximises a
// window of fixed size ends the program: the window cannot take the size it was given. On Wayland
// `window` (of fixed size) therefore takes a maximise for a moment, asks to be restored at once,
// and keeps its fixed size again. Elsewhere this does nothing.
void UndoMaximiseOnWayland(QWidget* window);
