#!/usr/bin/env bash
# The Wayland rig: runs the real drovane natively on Wayland (Qt's Wayland plugin) under a private
# headless sway, with a D-Bus tray host (tests/rigs/tray/sni_watcher.py) on a private session bus
# and a private PulseAudio. Checks the window's app id and fixed size, that a host's context-menu
# request maps no window of its own, that a second start brings back the window hidden to the
# tray, that waybar (a real tray host, clicked through a virtual pointer) draws the exported menu
# whose items work, and that nothing is written to standard error. Saves screenshots (grim) of the
# window and of waybar's menu.
# Usage: sway_rig.sh DROVANE SCREENSHOT_DIR
set -uo pipefail
prog=$1
shots=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../../tools/rig/pulse_server.sh"
. "$here/../../../tools/rig/session_bus.sh"
. "$here/../../../tools/rig/checks.sh"
. "$here/../tray/tray_menu_checks.sh"

rig_open sway-rig sway swaymsg grim waybar dbus-daemon dbus-send pulseaudio parec sox /usr/bin/python3
started=()
cleanup() {
  local p
  for p in "${started[@]}"; do kill -KILL "$p" 2>/dev/null; done
  rig_bus_stop
  rig_pulse_stop
  if [ -n "${sway_pid:-}" ]; then kill -TERM "$sway_pid" 2>/dev/null; wait "$sway_pid" 2>/dev/null; fi
}

# A session of its own: runtime folder, silent sound (ALSA knows no device), no X11, Qt on Wayland
# at scale 1 without the caller's themes.
rig_pulse_env "$work/env"
rig_pulse_start || exit 1
unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS \
  QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI XDG_CURRENT_DESKTOP \
  DESKTOP_SESSION SWAYSOCK QT_WAYLAND_DISABLE_WINDOWDECORATION || true
export LC_ALL=C.UTF-8 XDG_SESSION_TYPE=wayland
app_id=io.github.drovane.Drovane
# No bar, no XWayland: sway floats a window whose size is fixed by itself, so no rule does it here.
cat >"$work/sway.conf" <<CONF
output HEADLESS-1 resolution 1024x768 position 0 0
xwayland disable
default_border normal
focus_on_window_activation focus
CONF
# sway refuses to run as root: as root, it runs as nobody in a runtime folder of its own, which
# root may still enter. Clients find it by its socket's full path.
sway_run=$work/sway-run
mkdir -p "$sway_run"
chmod 700 "$sway_run"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chmod 711 "$work"
  chown nobody:nogroup "$sway_run" "$work/sway.conf"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
  # Its buffers live in /dev/shm, which a bare root bound from the host's /dev leaves to root.
  "${as_user[@]}" test -w /dev/shm ||
    { echo "sway rig: nobody cannot write /dev/shm ($(stat -c %A /dev/shm)); mount a tmpfs of mode 1777 there" >&2; exit 1; }
fi
env XDG_RUNTIME_DIR="$sway_run" HOME="$sway_run" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
  WLR_RENDERER=pixman WLR_HEADLESS_OUTPUTS=1 "${as_user[@]}" sway -c "$work/sway.conf" \
  >"$work/sway.log" 2>&1 &
sway_pid=$!
rig_track_pid "$sway_pid"
sway_up() {
  SWAYSOCK=$(ls "$sway_run"/sway-ipc.*.sock 2>/dev/null | head -n1)
  [ -n "$SWAYSOCK" ] && swaymsg -s "$SWAYSOCK" -t get_version >/dev/null 2>&1
}
wait_for 20 sway_up || { echo "sway did not start:" >&2; cat "$work/sway.log" >&2; exit 1; }
export SWAYSOCK
export WAYLAND_DISPLAY=$sway_run/$(ls "$sway_run" | grep -m1 '^wayland-[0-9]*$')
export QT_QPA_PLATFORM=wayland
rig_bus_start "$work" || exit 1
rig_watcher_start "$work/watcher.log" || exit 1
mkdir -p "$shots" "$work/bin" "$work/share"
cp "$prog" "$work/bin/drovane"
cp -r "$(dirname "$prog")/../share/drovane" "$work/share/"

launch() {
  "$work/bin/drovane" >>"$work/drovane.log" 2>&1 &
  app_pid=$!
  started+=($app_pid)
  rig_track_pid "$app_pid"
}
# node FIELD...: the program's window in sway's tree, as "FIELD=VALUE" lines, or nothing.
node() { swaymsg -t get_tree | /usr/bin/python3 "$here/sway_window.py" "$app_id" "$app_pid"; }
mapped() { node | grep -q 'visible=True'; }
unmapped() { [ -z "$(node)" ]; }
field() { node | tr ' ' '\n' | awk -F= -v f="$1" '$1 == f { print $2 }'; }
# shot NAME [BELOW]: the window with sway's title bar above it and BELOW more pixels under it.
shot() {
  local at size deco
  at=$(field at)
  size=$(field size)
  deco=$(field deco)
  grim -g "${at%,*},$((${at#*,} - deco)) ${size%x*}x$((${size#*x} + deco + ${2:-0}))" \
    "$shots/wayland-$1.png" && echo "screenshot $shots/wayland-$1.png"
}
item() { awk -v p="$app_pid" '$1 == "registered" && $4 == p { s = $2 " " $3 } END { print s }' "$work/watcher.log"; }
registered() { [ -n "$(item)" ]; }

echo "== the window: app id, fixed size (sway floats it), no warnings"
t0=$(date +%s.%N)
launch
first_pid=$app_pid
wait_for 10 mapped || { fail "no window with app id $app_id"; cat "$work/drovane.log"; exit 1; }
echo "window mapped $(awk -v a="$t0" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }') s after launch: $(node)"
ok "mapped with app id $app_id"
[ "$(field floating)" = True ] && ok "sway floats it: its minimum and maximum sizes are equal" \
  || fail "tiled: sway did not see a fixed size"
[ "$(field size)" = 331x221 ] && ok "331 x 221, its compact size" || fail "size $(field size)"
expect "the icon registered with the D-Bus tray host" registered
shot compact

echo "== a host's context-menu request maps no window of its own: the host draws the menu"
# call METHOD: what a panel sends to the program's item.
call() {
  local it
  read -r -a it <<<"$(item)"
  dbus-send --session --print-reply --dest="${it[0]}" "${it[1]}" "org.kde.StatusNotifierItem.$1" \
    int32:900 int32:740 >/dev/null
}
# The program's windows in sway's tree (a menu that is no pop-up would be one of them).
windows() { swaymsg -t get_tree | grep -c "\"pid\": $first_pid"; }
call ContextMenu
sleep 0.5
[ "$(windows)" -eq 1 ] && ok "nothing mapped beside the window" || fail "the menu mapped as a window of its own"

echo "== hidden to the tray, a second start brings the window back"
swaymsg -q "[app_id=$app_id] kill"
expect "the close box hid the window" unmapped
alive "$first_pid" && ok "still running in the tray" || fail "the close box ended the program"
call ContextMenu
sleep 0.5
[ "$(windows)" -eq 0 ] && ok "with the window hidden a context-menu request maps nothing" \
  || fail "the menu mapped as a window of its own"
"$work/bin/drovane" >>"$work/second.log" 2>&1
rc=$?
[ $rc -eq 0 ] && ok "the second copy ended" || fail "second copy: exit $rc"
expect "the second start mapped the first copy's window again" mapped
[ "$(field size)" = 331x221 ] && ok "at its size" || fail "size $(field size)"
echo "== a second start while the window shows keeps it shown"
"$work/bin/drovane" >>"$work/second.log" 2>&1
expect "still mapped" mapped

kill -TERM "$first_pid"
wait_for 10 dead "$first_pid" && ok "SIGTERM ended it" || fail "SIGTERM did not end it"

echo "== no tray host: the close box leaves the window reachable; a host that comes later gets the icon"
rig_watcher_stop
launch
wait_for 10 mapped || fail "no window"
swaymsg -q "[app_id=$app_id] kill"
sleep 0.5
mapped && ok "still mapped (sway does not minimise)" || fail "the close box left no window"
rig_watcher_start "$work/watcher.log" || exit 1
expect "the icon registered with the host that came later" registered
kill -TERM "$app_pid"
wait_for 10 dead "$app_pid" || fail "SIGTERM did not end it"
echo "== waybar, a real tray host: a right click shows the program's menu, and its items work"
rig_watcher_stop
cat >"$work/waybar.json" <<'JSON'
{"layer": "top", "position": "top", "height": 30, "modules-left": ["tray"], "tray": {"icon-size": 20}}
JSON
start_bar() {
  waybar -c "$work/waybar.json" >>"$work/waybar.log" 2>&1 &
  bar_pid=$!
  started+=($bar_pid)
  rig_track_pid "$bar_pid"
}
# pixels X,Y WxH: a checksum of that part of the screen.
pixels() { grim -g "$1 $2" - 2>/dev/null | md5sum; }
start_bar
bar_up() { [ -n "$(swaymsg -t get_outputs | grep -m1 '"focused": true')" ] && alive "$bar_pid"; }
wait_for 10 bar_up || fail "waybar did not start"
empty_bar=$(pixels 0,0 40x30)
closed=$(pixels 20,20 150x170)
launch
expect "the icon registered with waybar's watcher" item_registered
icon_shown() { [ "$(pixels 0,0 40x30)" != "$empty_bar" ]; }
expect "waybar shows the icon" icon_shown
# Where waybar's menu puts each item below the icon at the bar's left end, in Debian's GTK theme.
declare -A item_y=([start]=79 [stop]=103 [exit]=177)
menu_shown() { [ "$(pixels 20,20 150x170)" != "$closed" ]; }
menu_closed() { [ "$(pixels 20,20 150x170)" = "$closed" ]; }
open_bar_menu() {
  /usr/bin/python3 "$here/pointer.py" click 20 15 right && wait_for 10 menu_shown
}
choose() { /usr/bin/python3 "$here/pointer.py" click 60 "${item_y[$1]}" && wait_for 10 menu_closed; }
expect "a right click opened waybar's menu" open_bar_menu
grim -g "0,0 300x220" "$shots/wayland-waybar-menu.png" && echo "screenshot $shots/wayland-waybar-menu.png"
expect "the menu holds the tray menu's items, Start checked while the sweep plays" menu_is "start=1 stop=0"
expect "the sweep plays" sweep_playing
choose stop
expect "Stop in waybar's menu stopped the sweep" sweep_silent
expect "the menu checks Stop now" menu_is "start=0 stop=1"
expect "waybar's menu opened again" open_bar_menu
choose start
expect "Start in waybar's menu started the sweep" sweep_playing
expect "waybar's menu opened for Exit" open_bar_menu
choose exit
exit_box() { swaymsg -t get_tree | grep -q '"name": "Exit"'; }
expect "Exit asked first" exit_box
swaymsg -q '[title="^Exit$"] kill'
no_exit_box() { ! exit_box; }
expect "closing the question answered no" no_exit_box
alive "$app_pid" && ok "the program runs on" || fail "the program ended without a yes"
kill -TERM "$bar_pid"; wait "$bar_pid" 2>/dev/null
start_bar
expect "a waybar started after the program got the icon" item_registered
expect "and its right click opened the program's menu" open_bar_menu
kill -TERM "$app_pid"
wait_for 10 dead "$app_pid" || fail "SIGTERM did not end it"

if grep -v 'cannot open sound output' "$work/drovane.log" "$work/second.log" | grep -q .; then
  fail "drovane wrote to standard error:"; cat "$work/drovane.log" "$work/second.log"
else
  ok "no warnings on standard error"
fi
rig_summary "sway rig"
