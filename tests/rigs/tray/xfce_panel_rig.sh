#!/usr/bin/env bash
# The tray menu in a real D-Bus tray host: xfce4-panel's status tray under a private Xvfb with
# openbox, its settings daemon and a private session bus, and a private PulseAudio whose null sink
# the sweep plays to. A real right click on the icon opens the menu the panel draws from the
# program's exported D-Bus menu; choosing Stop, Start and Exit there does what the flat menu does,
# its check marks follow, and a panel that starts after the program gets the icon and its menu.
# Saves screenshots of the open menu.
# Usage: xfce_panel_rig.sh DROVANE SCREENSHOT_DIR
set -uo pipefail
prog=$1
shots=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../../tools/rig/pulse_server.sh"
. "$here/../../../tools/rig/desktop.sh"
. "$here/../../../tools/rig/session_bus.sh"
. "$here/../../../tools/rig/checks.sh"
. "$here/../../../tools/rig/x11_windows.sh"
. "$here/tray_menu_checks.sh"
xfconfd=/usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd

rig_open xfce-panel-rig Xvfb openbox xdotool xwininfo xfce4-panel "$xfconfd" dbus-daemon dbus-send pulseaudio parec sox import convert
started=()
cleanup() {
  local p
  for p in "${started[@]}"; do kill -KILL "$p" 2>/dev/null; done
  rig_bus_stop
  rig_desktop_stop
  rig_pulse_stop
}

rig_pulse_env "$work/env"
rig_pulse_start || exit 1
RIG_LANGUAGE=en rig_desktop_start "$work" || exit 1
rig_bus_start "$work" || exit 1
mkdir -p "$shots" "$work/bin" "$work/share" "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
cp "$prog" "$work/bin/drovane"
cp -r "$(dirname "$prog")/../share/drovane" "$work/share/"
# One panel along the top of the screen, holding only the status tray.
cat >"$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="30"/>
      <property name="plugin-ids" type="array"><value type="int" value="1"/></property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray"/>
  </property>
</channel>
XML
"$xfconfd" >"$work/xfconfd.log" 2>&1 &
started+=($!)
rig_track_pid "$!"

start_panel() {
  xfce4-panel --disable-wm-check >>"$work/panel.log" 2>&1 &
  panel_pid=$!
  started+=($panel_pid)
  rig_track_pid "$panel_pid"
}
launch() {
  "$work/bin/drovane" >>"$work/drovane.log" 2>&1 &
  app_pid=$!
  started+=($app_pid)
  rig_track_pid "$app_pid"
}
# icon_at: "X Y" of the first icon in the panel: the first pixel along the panel's middle row that
# differs from the panel's own colour at its right end.
icon_at() {
  import -window root "$work/root.png" 2>/dev/null || return 1
  convert "$work/root.png" -crop 1024x1+0+15 +repage txt:- 2>/dev/null | awk -F'[,: ]+' '
    NR == 1 { next } { colour[$1] = $0 ~ /#/ ? substr($0, index($0, "#"), 7) : "" }
    END { for (x = 0; x < 1000; ++x) if (colour[x] != colour[1023]) { print x + 8, 15; exit } }'
}
# host_menu_open: the panel shows a pop-up menu: an override-redirect window of its status tray,
# which runs in a process of its own (the panel's plug-in wrapper).
host_menu_open() {
  local w
  for w in $(xdotool search --onlyvisible --class '^(xfce4-panel|wrapper-2\.0)$' 2>/dev/null); do
    xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: yes' &&
      [ "$(height_of "$w")" -gt 100 ] && { menu_win=$w; return 0; }
  done
  return 1
}
no_host_menu() { ! host_menu_open; }
# shoot_window_plain WIN NAME: the window alone.
shoot_window_plain() {
  local g
  read -r -a g <<<"$(geometry "$1")"
  shoot "$2" "${g[0]}" "${g[1]}" "${g[2]}" "${g[3]}" && echo "screenshot $shots/$2.png"
}
# open_menu: a right click on the icon, as a user gives it.
open_menu() {
  local at
  at=$(icon_at) || return 1
  xdotool mousemove ${at% *} ${at#* } click 3
  wait_for 10 host_menu_open
}
# choose N: the Nth item of the open menu, from the top, by the keyboard as GTK's menus take it.
choose() {
  local i
  for i in $(seq "$1"); do xdotool key Down; done
  xdotool key Return
  wait_for 10 no_host_menu
}

echo "== a panel that runs first: its right click shows the program's menu"
start_panel
launch
expect "the icon registered with the panel's watcher" item_registered
icon_shown() { icon_at >/dev/null; }
expect "the panel shows the icon" icon_shown
expect "a right click opened the panel's menu" open_menu
[ -n "${menu_win:-}" ] && shoot_window_plain "$menu_win" xfce-tray-menu
expect "the menu holds the tray menu's items, Start checked while the sweep plays" menu_is "start=1 stop=0"
expect "the sweep plays" sweep_playing
choose 4
expect "Stop in the panel's menu stopped the sweep" sweep_silent
expect "the menu checks Stop now" menu_is "start=0 stop=1"
expect "the panel's menu opened again" open_menu
[ -n "${menu_win:-}" ] && shoot_window_plain "$menu_win" xfce-tray-menu-stopped
choose 3
expect "Start in the panel's menu started the sweep" sweep_playing
expect "the menu checks Start again" menu_is "start=1 stop=0"
expect "the panel's menu opened for Exit" open_menu
choose 7
exit_box() { xdotool search --onlyvisible --pid "$app_pid" --name '^Exit$' >/dev/null 2>&1; }
expect "Exit asked first" exit_box
xdotool key Escape; xdotool keyup Escape
sleep 0.3
alive "$app_pid" && ok "answering no kept the program" || fail "the program ended without a yes"

echo "== a panel that starts after the program gets the icon and its menu"
kill -TERM "$panel_pid"; wait "$panel_pid" 2>/dev/null
start_panel
expect "the icon registered with the new panel" item_registered
# The new panel draws the icon some time after the registration; a click before finds nothing.
expect "the new panel shows the icon" icon_shown
expect "the new panel's right click opened the program's menu" open_menu
xdotool key Escape; xdotool keyup Escape

if alive "$app_pid"; then
  kill -TERM "$app_pid"
  wait_for 10 dead "$app_pid" || fail "drovane did not end on SIGTERM"
else
  wait "$app_pid"
  fail "drovane ended by itself, with status $?"
fi
# Qt warns when it finds no watcher to register the icon with: here the panel that went away.
grep -v "QDBusTrayIcon encountered a D-Bus error: .*org.kde.StatusNotifierWatcher was not provided" \
  "$work/drovane.log" >"$work/drovane-warnings.log"
if grep -q . "$work/drovane-warnings.log"; then
  fail "drovane wrote to standard error:"; cat "$work/drovane-warnings.log"
else
  ok "no warnings on standard error"
fi
rig_summary "xfce panel rig"
