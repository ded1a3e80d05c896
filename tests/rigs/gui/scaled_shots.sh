#!/usr/bin/env bash
# Screenshots of drovane on a screen of SHOT_SCALE times the density (QT_SCALE_FACTOR, 2 unless
# told) under a private Xvfb with openbox, an XEmbed tray and a PulseAudio null sink, in the
# language RIG_LANGUAGE names: the compact and expanded window, the open File menu, the About box
# and the tray icon, each named "*-SUFFIX.png" (SHOT_SUFFIX, "2x" unless told). The labels' fit is
# checked by the window's unit test and the accessibility rig; this shows what a person would see.
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
  command -v "$tool" >/dev/null || { echo "scaled shots: $tool is missing (run scripts/install-deps test)" >&2; exit 1; }
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
scale=${SHOT_SCALE:-2}
suffix=${SHOT_SUFFIX:-2x}
export QT_SCALE_FACTOR=$scale

named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }
shown() { [ -n "$(named "$1")" ]; }
gone() { [ -z "$(named "$1")" ]; }

mkdir -p "$work/bin" "$work/share"
cp "$prog" "$work/bin/drovane"
cp -r "$(dirname "$prog")/../share/drovane" "$work/share/"
"$work/bin/drovane" >"$work/drovane.log" 2>&1 &
app_pid=$!
rig_track_pid "$app_pid"
title='^(모기 퇴치용 프로그램|Mosquito Repeller) v1\.0$'
wait_for 10 shown "$title" || { fail "no window"; cat "$work/drovane.log"; exit 1; }
win=$(named "$title")
wait_for 10 viewable "$win"
xdotool mousemove 1000 300
# At the top of the 768-pixel screen, where the expanded window fits whole.
xdotool windowmove "$win" 40 30
at_top() { [ "$(geometry "$win" | cut -d' ' -f2)" -le 40 ]; }
wait_for 10 at_top || fail "the window did not move to the top"
read -r -a g <<<"$(geometry "$win")"
# The template's 331 x 201 pixels at the scale, and a menu bar.
[ "${g[2]}" -eq $((331 * scale)) ] || fail "window ${g[2]} wide, not $((331 * scale))"
menu=$((g[3] / scale - 201))
sleep 1
shoot_window "$win" "compact-$suffix"
shoot "tray-$suffix" 904 736 120 32
# Details: the button at template pixels (203, 183), at the scale on this screen.
xdotool mousemove --window "$win" $((scale * 203)) $((scale * (183 + menu))) click 1 mousemove 1000 300
grow() { [ "$(geometry "$win" | cut -d' ' -f4)" -gt "${g[3]}" ]; }
wait_for 10 grow || fail "Details did not unfold"
sleep 0.5
shoot_window "$win" "expanded-$suffix"
timeout 10 xdotool windowactivate --sync "$win" 2>/dev/null
xdotool key --delay 60 alt+f
if wait_for 10 popup_open $((64 * scale)); then
  sleep 0.5
  read -r -a g <<<"$(geometry "$win")"
  shoot "file-menu-$suffix" "${g[0]}" "${g[1]}" $((210 * scale)) $((scale * (menu + 210)))
  xdotool key Escape keyup Escape
  wait_for 10 no_popup $((64 * scale)) || fail "the File menu stayed open"
else
  fail "Alt+F opened no menu"
fi
xdotool key --delay 60 alt+h a
if wait_for 10 shown '^About Drovane$'; then
  sleep 1
  shoot_window "$(named '^About Drovane$')" "about-$suffix"
  xdotool key Escape keyup Escape
  wait_for 10 gone '^About Drovane$' || fail "the About box stayed open"
else
  fail "Help > About showed no About box"
fi
echo "screenshots in $shots: {compact,expanded,file-menu,about,tray}-$suffix.png"
[ "$failures" -eq 0 ]
