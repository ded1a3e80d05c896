#!/usr/bin/env bash
# Screenshots of drovane on a screen of twice the density (QT_SCALE_FACTOR=2) under a private
# Xvfb with openbox, an XEmbed tray and a PulseAudio null sink: the compact and expanded window,
# the open File menu, the About box and the tray icon, each named "*-2x.png". The labels' fit at
# this density is checked by the window's unit test; this only shows what a person would see.
# Usage: scaled_shots.sh DROVANE SCREENSHOT_DIR
set -uo pipefail
prog=$1
shots=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../../tools/rig/pulse_server.sh"
. "$here/../../../tools/rig/desktop.sh"
. "$here/../../../tools/rig/checks.sh"
. "$here/../../../tools/rig/x11_windows.sh"

for tool in Xvfb openbox trayer xdotool xwininfo import convert pulseaudio; do
  command -v "$tool" >/dev/null || { echo "scaled shots: $tool is missing (run scripts/install-deps)" >&2; exit 1; }
done

rig_ledger_open scaled-shots
work=$(mktemp -d "${TMPDIR:-/tmp}/drovane-scaled-shots.XXXXXX")
rig_track_dir "$work"
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill -KILL "$app_pid" 2>/dev/null
  rig_pulse_stop
  rig_desktop_stop
  rm -rf "$work"
  rig_ledger_close
}
trap cleanup EXIT
trap 'exit 143' TERM INT
rig_pulse_env "$work/env"
mkdir -p "$shots"

rig_desktop_start "$work" || exit 1
rig_tray_start "$work" || exit 1
rig_pulse_start || exit 1
export QT_SCALE_FACTOR=2

named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }
shown() { [ -n "$(named "$1")" ]; }
gone() { [ -z "$(named "$1")" ]; }

cp "$prog" "$work/drovane"
"$work/drovane" >"$work/drovane.log" 2>&1 &
app_pid=$!
rig_track_pid "$app_pid"
title='^모기 퇴치용 프로그램 v1\.0$'
wait_for 10 shown "$title" || { fail "no window"; cat "$work/drovane.log"; exit 1; }
win=$(named "$title")
wait_for 10 viewable "$win"
xdotool mousemove 1000 300
# At the top of the 768-pixel screen, where the expanded window fits whole.
xdotool windowmove "$win" 40 30
at_top() { [ "$(geometry "$win" | cut -d' ' -f2)" -le 40 ]; }
wait_for 10 at_top || fail "the window did not move to the top"
read -r -a g <<<"$(geometry "$win")"
# Twice the template's 331 x 201 pixels, and a menu bar.
[ "${g[2]}" -eq 662 ] || fail "window ${g[2]} wide, not 662"
menu=$((g[3] / 2 - 201))
sleep 1
shoot_window "$win" compact-2x
shoot 'tray-2x' 904 736 120 32
# Details: the button at template pixels (203, 183), twice as far on this screen.
xdotool mousemove --window "$win" $((2 * 203)) $((2 * (183 + menu))) click 1 mousemove 1000 300
grow() { [ "$(geometry "$win" | cut -d' ' -f4)" -gt "${g[3]}" ]; }
wait_for 10 grow || fail "Details did not unfold"
sleep 0.5
shoot_window "$win" expanded-2x
xdotool windowactivate --sync "$win" 2>/dev/null
xdotool key --delay 60 alt+f
if wait_for 10 popup_open 128; then
  sleep 0.5
  read -r -a g <<<"$(geometry "$win")"
  shoot 'file-menu-2x' "${g[0]}" "${g[1]}" 420 $((2 * menu + 420))
  xdotool key Escape keyup Escape
  wait_for 10 no_popup 128 || fail "the File menu stayed open"
else
  fail "Alt+F opened no menu"
fi
xdotool key --delay 60 alt+h a
if wait_for 10 shown '^About Drovane$'; then
  sleep 1
  shoot_window "$(named '^About Drovane$')" about-2x
  xdotool key Escape keyup Escape
  wait_for 10 gone '^About Drovane$' || fail "the About box stayed open"
else
  fail "Help > About showed no About box"
fi
echo "screenshots in $shots: compact-2x expanded-2x file-menu-2x about-2x tray-2x"
[ "$failures" -eq 0 ]
