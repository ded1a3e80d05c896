#!/usr/bin/env bash
# The Wayland rig: runs the real drovane natively on Wayland (Qt's Wayland plugin) under a private
# headless sway, with a D-Bus tray host (tests/rigs/tray/sni_watcher.py) on a private session bus.
# Checks the window's app id and fixed size, that the tray menu maps, that a second start brings
# back the window hidden to the tray, and that nothing is written to standard error. Saves
# screenshots (grim) of the window and of the screen with the tray menu.
# Usage: sway_rig.sh DROVANE SCREENSHOT_DIR
set -uo pipefail
prog=$1
shots=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../../tools/rig/pulse_server.sh"
. "$here/../../../tools/rig/session_bus.sh"
. "$here/../../../tools/rig/checks.sh"

for tool in sway swaymsg grim dbus-daemon dbus-send /usr/bin/python3; do
  command -v "$tool" >/dev/null || { echo "sway rig: $tool is missing (run scripts/install-deps test)" >&2; exit 1; }
done

rig_ledger_open sway-rig
work=$(mktemp -d "${TMPDIR:-/tmp}/drovane-sway-rig.XXXXXX")
rig_track_dir "$work"
started=()
cleanup() {
  local p
  for p in "${started[@]}"; do kill -KILL "$p" 2>/dev/null; done
  rig_bus_stop
  if [ -n "${sway_pid:-}" ]; then kill -TERM "$sway_pid" 2>/dev/null; wait "$sway_pid" 2>/dev/null; fi
  rm -rf "$work"
  rig_ledger_close
}
trap cleanup EXIT
trap 'exit 143' TERM INT


# A session of its own: runtime folder, silent sound (ALSA knows no device), no X11, Qt on Wayland
# at scale 1 without the caller's themes.
rig_pulse_env "$work/env"
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

echo "== the tray menu opens at the host's request"
# call METHOD: what a panel sends to the program's item.
call() {
  local it
  read -r -a it <<<"$(item)"
  dbus-send --session --print-reply --dest="${it[0]}" "${it[1]}" "org.kde.StatusNotifierItem.$1" \
    int32:900 int32:740 >/dev/null
}
# A menu without a parent window maps as a window of its own on Wayland: sway lists it.
windows() { swaymsg -t get_tree | grep -c "\"pid\": $first_pid"; }
menu_mapped() { [ "$(windows)" -eq 2 ]; }
menu_gone() { [ "$(windows)" -eq 1 ]; }
call ContextMenu
expect "the tray menu mapped" menu_mapped
grim "$shots/wayland-tray-menu.png" && echo "screenshot $shots/wayland-tray-menu.png"
swaymsg -q "[pid=$first_pid title=\"^drovane\$\"] kill"
expect "the tray menu closed" menu_gone

echo "== hidden to the tray, a second start brings the window back"
swaymsg -q "[app_id=$app_id] kill"
expect "the close box hid the window" unmapped
alive "$first_pid" && ok "still running in the tray" || fail "the close box ended the program"
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
if grep -v 'cannot open sound output' "$work/drovane.log" "$work/second.log" | grep -q .; then
  fail "drovane wrote to standard error:"; cat "$work/drovane.log" "$work/second.log"
else
  ok "no warnings on standard error"
fi
echo "sway rig: $failures failure(s)"
[ "$failures" -eq 0 ]
