#!/usr/bin/env bash
# The D-Bus tray rig: runs the real drovane under a private Xvfb with openbox and no X11 tray, with
# a D-Bus tray host (sni_watcher.py) on a private session bus. Checks that the icon registers with
# a host that runs before the program, with one that starts after it and with one started anew,
# that the host's activation (what a panel sends for one click) shows the hidden window, and that
# its context-menu request opens the tray menu. No sound server: the program keeps time silently.
# Usage: sni_rig.sh DROVANE
set -uo pipefail
prog=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../../tools/rig/pulse_server.sh"
. "$here/../../../tools/rig/desktop.sh"
. "$here/../../../tools/rig/session_bus.sh"
. "$here/../../../tools/rig/checks.sh"
. "$here/../../../tools/rig/x11_windows.sh"

rig_open sni-rig Xvfb openbox xdotool xwininfo xprop dbus-daemon dbus-send /usr/bin/python3
started=()
cleanup() {
  local p
  for p in "${started[@]}"; do kill -KILL "$p" 2>/dev/null; done
  rig_bus_stop
  rig_desktop_stop
}

# The private folders of a session (sound output silent: ALSA knows no device), then the desktop
# and its bus.
rig_pulse_env "$work/env"
rig_desktop_start "$work" || exit 1
rig_bus_start "$work" || exit 1
log=$work/watcher.log
mkdir -p "$work/bin" "$work/share"
cp "$prog" "$work/bin/drovane"
cp -r "$(dirname "$prog")/../share/drovane" "$work/share/"

launch() {
  "$work/bin/drovane" >>"$work/drovane.log" 2>&1 &
  app_pid=$!
  started+=($app_pid)
  rig_track_pid "$app_pid"
}
main_window() { xdotool search --all --pid "$1" --name '^(모기 퇴치용 프로그램|Mosquito Repeller) v1\.0$' 2>/dev/null | head -n1; }
hidden() { xwininfo -id "$1" 2>/dev/null | grep -q 'IsUnMapped' && [ -z "$(xprop -id "$1" WM_STATE 2>/dev/null | grep -i iconic)" ]; }
window_up() { win=$(main_window "$app_pid"); [ -n "$win" ] && viewable "$win"; }
registered() { [ -n "$(item)" ]; }
# item: "SERVICE PATH" of the program's item, as the host got it.
item() { awk -v p="$app_pid" '$1 == "registered" && $4 == p { s = $2 " " $3 } END { print s }' "$log"; }
# call METHOD: what a panel sends to the item; x and y name where on the screen it was clicked.
call() {
  local it
  read -r -a it <<<"$(item)"
  dbus-send --session --print-reply --dest="${it[0]}" "${it[1]}" "org.kde.StatusNotifierItem.$1" \
    int32:900 int32:740 >/dev/null
}
# close_box: what the window manager's close button does.
close_box() {
  timeout 10 xdotool windowactivate --sync "$win" 2>/dev/null
  xdotool key --window "$win" alt+F4
  # Xvfb may keep a key down that closed a window: F4 would then repeat into the next window.
  xdotool keyup F4 Alt_L
}
stop_app() {
  kill -TERM "$app_pid"
  wait_for 10 dead "$app_pid" || fail "drovane did not end on SIGTERM"
}

echo "== a host that runs first: a click on the icon shows the hidden window, the menu opens"
rig_watcher_start "$log" || exit 1
launch
wait_for 10 window_up || { fail "no window"; cat "$work/drovane.log"; exit 1; }
expect "the icon registered with the host" registered
close_box
expect "the close box hid the window, as with a tray" hidden "$win"
call Activate
expect "one activation showed the window" viewable "$win"
call ContextMenu
expect "the host's context-menu request opened the tray menu" popup_open
xdotool key Escape; xdotool keyup Escape
expect "Escape closed the tray menu" no_popup

echo "== a host started anew gets the icon again"
rig_watcher_stop
rig_watcher_start "$log" || exit 1
expect "the icon registered with the new host" registered
close_box
expect "hidden again" hidden "$win"
call Activate
expect "its activation showed the window" viewable "$win"
stop_app

echo "== a host that starts after the program gets the icon"
rig_watcher_stop
launch
wait_for 10 window_up || fail "no window"
rig_watcher_start "$log" || exit 1
expect "the icon registered with the host that came later" registered
close_box
expect "the close box hid the window" hidden "$win"
call Activate
expect "one activation showed the window" viewable "$win"
stop_app

# Nothing but the silent sound output's notice on standard error.
if grep -v 'cannot open sound output' "$work/drovane.log" | grep -q .; then
  fail "drovane wrote to standard error:"; grep -v 'cannot open sound output' "$work/drovane.log"
else
  ok "no warnings on standard error"
fi

rig_summary "sni rig"
