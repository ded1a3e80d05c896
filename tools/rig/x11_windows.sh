# Sourced by the X11 rigs: what a window on the private X server shows. shoot and shoot_window
# write to $shots through a scratch picture in $work.

viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
unmapped() { xwininfo -id "$1" 2>/dev/null | grep -q 'IsUnMapped'; }
# geometry WIN: "X Y WIDTH HEIGHT" of its client area on the screen.
geometry() { xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
  /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x, y, w, h }'; }
height_of() { xwininfo -id "$1" | awk '/Height:/ { print $2 }'; }
width_of() { xwininfo -id "$1" | awk '/Width:/ { print $2 }'; }

# popup_open [MIN_WIDTH]: a pop-up menu of the program is open: a shown window of its class that
# the window manager does not manage (override-redirect), as Qt makes its menus, and wider than
# MIN_WIDTH (64: more than the tray icon).
popup_open() {
  local w
  for w in $(xdotool search --onlyvisible --class '^drovane$' 2>/dev/null); do
    xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: yes' &&
      [ "$(width_of "$w")" -gt "${1:-64}" ] && return 0
  done
  return 1
}
no_popup() { ! popup_open "$@"; }

# shoot NAME X Y W H: a part of the screen.
shoot() { import -window root "$work/root.png" && convert "$work/root.png" -crop "$4x$5+$2+$3" +repage "$shots/$1.png"; }
# shoot_window WIN NAME: the window with the window manager's frame round it.
shoot_window() {
  local g
  read -r -a g <<<"$(geometry "$1")"
  shoot "$2" $((g[0] - 8)) $((g[1] - 30)) $((g[2] + 16)) $((g[3] + 38))
}

# focus_settled: the focus stays on one window for half a second: the window manager has done
# moving it after a window came or went, and a click made now lands where it is aimed.
focus_settled() {
  local before
  before=$(xdotool getwindowfocus 2>/dev/null)
  sleep 0.5
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$before" ]
}
