# Sourced by the X11 rigs: what a window on the private X server shows, and the program's tray
# icon and its menu. shoot and shoot_window write to $shots through a scratch picture in $work.

viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
unmapped() { xwininfo -id "$1" 2>/dev/null | grep -q 'IsUnMapped'; }
# geometry WIN: "X Y WIDTH HEIGHT" of its client area on the screen.
geometry() { xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
  /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x, y, w, h }'; }
height_of() { xwininfo -id "$1" | awk '/Height:/ { print $2 }'; }
width_of() { xwininfo -id "$1" | awk '/Width:/ { print $2 }'; }

# popup_window [MIN_WIDTH]: the program's open pop-up menu: a shown window of its class that the
# window manager does not manage (override-redirect), as Qt makes its menus, and wider than
# MIN_WIDTH (64: more than the tray icon).
popup_window() {
  local w
  for w in $(xdotool search --onlyvisible --class '^drovane$' 2>/dev/null); do
    xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: yes' &&
      [ "$(width_of "$w")" -gt "${1:-64}" ] && { echo "$w"; return 0; }
  done
  return 1
}
popup_open() { popup_window "$@" >/dev/null; }
# popup_geometry [MIN_WIDTH]: "X Y W H" of the open pop-up menu.
popup_geometry() { local w; w=$(popup_window "$@") && geometry "$w"; }
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

# The tray icon's window carries no process id: it is the program's small window named and of
# class "drovane" (one copy of drovane runs when this is asked), once the tray has mapped it.
tray_icon() {
  local w
  for w in $(xwininfo -root -tree | awk '/"drovane": \("drovane" "drovane"\)/ && $5 !~ /^1x1\+/ { print $1 }'); do
    viewable "$w" && [ "$(width_of "$w")" -le 64 ] && { echo "$w"; return 0; }
  done
  return 1
}
# tray_click PID BUTTON [REPEAT]: clicks the middle of the program's tray icon.
tray_click() {
  local icon g
  icon=$(tray_icon "$1") || return 1
  read -r -a g <<<"$(geometry "$icon")"
  xdotool mousemove $((g[0] + g[2] / 2)) $((g[1] + g[3] / 2)) click --repeat "${3:-1}" --delay 80 "$2"
}
# tray_menu PID: opens the tray icon's menu with one right click and waits until it is up. A menu
# opened in the moment the window manager moves the focus (to a message box that has just come
# up) closes again at once, so the click is made once no menu is open and the focus has settled;
# and with the pointer away from the icon first, so that no tooltip of it shows.
tray_menu() {
  xdotool mousemove 10 10
  wait_for 10 no_popup && wait_for 10 focus_settled ||
    echo "(no settled state in 10 s: the focus is on $(xdotool getwindowfocus 2>/dev/null))"
  tray_click "$1" 3 || return 1
  wait_for 3 popup_open
}
