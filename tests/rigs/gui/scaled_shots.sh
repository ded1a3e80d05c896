#!/usr/bin/env bash
# Screenshots of drovane on a screen of SHOT_SCALE times the density (QT_SCALE_FACTOR, 2 unless
# told) under a private Xvfb with openbox, an XEmbed tray and a PulseAudio null sink, in the
# language RIG_LANGUAGE names and the desktop palette of the kdeglobals file SHOT_PALETTE names
# (Qt's own unless told): the compact and expanded window, the open File menu, the About box, the
# tray icon and its menu, each named "*-SUFFIX.png" (SHOT_SUFFIX, "2x" unless told). Every text on
# them is measured readable (text_contrast.py). The labels' fit is checked by the window's unit
# test and the accessibility rig; this shows what a person would see.
# Usage: scaled_shots.sh DROVANE SCREENSHOT_DIR
set -uo pipefail
prog=$1
shots=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../../tools/rig/pulse_server.sh"
. "$here/../../../tools/rig/desktop.sh"
. "$here/../../../tools/rig/checks.sh"
. "$here/../../../tools/rig/x11_windows.sh"

/usr/bin/python3 -c 'import PIL' 2>/dev/null ||
  { echo "scaled shots: python3-pil is missing (run scripts/install-deps test)" >&2; exit 1; }

rig_open scaled-shots Xvfb openbox trayer xdotool xwininfo import convert pulseaudio
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill -KILL "$app_pid" 2>/dev/null
  rig_pulse_stop
  rig_desktop_stop
}
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
active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
# readable SHOT AREA...: the texts in these areas of the screenshot SHOT (in $shots unless a path)
# are readable.
readable() {
  local file=$1 name=${1##*/}
  [[ $file == */* ]] || file=$shots/$1.png
  "$here/text_contrast.py" "$file" "${@:2}" | sed "s|^|  ${name%.png}: |" ||
    fail "unreadable text in $name"
}
# dlu X Y W H [INSET [TOP]]: a rectangle of a template in dialog units (1.6 x 1.5 pixels), INSET
# template pixels inside, as "X,Y,W,H" of a window's shot: its client area at (8, 30), the
# template TOP pixels down it (below the menu bar unless told), at the scale.
dlu() {
  awk -v s="$scale" -v m="${6:-$menu}" -v i="${5:-0}" -v x="$1" -v y="$2" -v w="$3" -v h="$4" '
    function px(d, f) { return int(d * f + 0.5) }
    BEGIN { l = px(x, 1.6) + i; t = px(y, 1.5) + i; r = px(x + w, 1.6) - i; b = px(y + h, 1.5) - i
      printf "%d,%d,%d,%d", 8 + s * l, 30 + s * (m + t), s * (r - l), s * (b - t) }'
}
# menu_rows X Y W H NAMES: the item rows of a menu at (X, Y) of a shot, W x H with its frame (3
# pixels) and shadow (4): its texts, from the items' text column (30 pixels into an item) to the
# separators' end.
menu_rows() {
  echo "rows:$(($1 + 33 * scale)),$(($2 + 3 * scale)),$(($3 - 41 * scale)),$(($4 - 10 * scale)):$5"
}

mkdir -p "$work/bin" "$work/share"
cp "$prog" "$work/bin/drovane"
cp -r "$(dirname "$prog")/../share/drovane" "$work/share/"
# A palette of the desktop's: Qt reads it from kdeglobals in the program's private configuration
# folder on a KDE desktop.
desktop=()
if [ -n "${SHOT_PALETTE:-}" ]; then
  cp "$SHOT_PALETTE" "$XDG_CONFIG_HOME/kdeglobals"
  desktop=(XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5)
fi
env "${desktop[@]}" "$work/bin/drovane" >"$work/drovane.log" 2>&1 &
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
timeout 10 xdotool windowactivate --sync "$win" 2>/dev/null
sleep 1
shoot_window "$win" "compact-$suffix"
shoot "tray-$suffix" 904 736 120 32
# The palette is the desktop's: the menu bar has its button face (Qt's own 239 grey unless told).
face=$(awk -F= '/^\[/ { b = $0 == "[Colors:Button]" } b && $1 == "BackgroundNormal" { print $2 }' \
  "${SHOT_PALETTE:-/dev/null}")
convert "$shots/compact-$suffix.png" -crop 1x1+300+32 -depth 8 txt:- |
  grep -q ": (${face:=239,239,239})" || fail "the menu bar is not the palette's face ($face)"
# The controls' template rectangles; the buttons' inside their frames, the notice's short of the
# group box's frame.
buttons=("$(dlu 7 115 44 14 4):Start" "$(dlu 55 115 44 14 4):Stop"
  "$(dlu 103 115 48 14 4):Details" "$(dlu 155 115 44 14 4):Close")
readable "compact-$suffix" "cols:8,30,$((331 * scale)),$((menu * scale)):File|Help" \
  "${buttons[@]}" "$(dlu 17 75 181 21):notice" "$(dlu 23 102 61 8):Start at logon"
# Details: the button at template pixels (203, 183), at the scale on this screen.
xdotool mousemove --window "$win" $((scale * 203)) $((scale * (183 + menu))) click 1 mousemove 1000 300
grow() { [ "$(geometry "$win" | cut -d' ' -f4)" -gt "${g[3]}" ]; }
wait_for 10 grow || fail "Details did not unfold"
sleep 0.5
shoot_window "$win" "expanded-$suffix"
readable "expanded-$suffix" "${buttons[@]}" "$(dlu 156 145 44 14 4):Set" \
  "$(dlu 156 163 44 14 4):Default" "$(dlu 51 194 56 14 4):Test Sound" \
  "$(dlu 114 194 49 14 4):Stop Test" "$(dlu 7 134 43 8):Sound settings" \
  "$(dlu 13 145 34 8):Frequency" "$(dlu 83 145 22 8):(Hz) to" "$(dlu 140 145 14 8):(Hz)" \
  "$(dlu 14 161 19 8):Delay" "$(dlu 88 161 16 8):Step" "$(dlu 20 180 77 8):Sound test" \
  "$(dlu 50 145 30 12 3):frequency 1" "$(dlu 107 145 30 12 3):frequency 2" \
  "$(dlu 50 161 30 12 3):delay" "$(dlu 107 161 30 12 3):step"
timeout 10 xdotool windowactivate --sync "$win" 2>/dev/null
xdotool key --delay 60 alt+f
if wait_for 10 popup_open $((64 * scale)); then
  sleep 0.5
  read -r -a g <<<"$(geometry "$win")"
  read -r -a p <<<"$(popup_geometry $((64 * scale)))"
  shoot "file-menu-$suffix" "${g[0]}" "${g[1]}" $((210 * scale)) $((scale * (menu + 210)))
  readable "file-menu-$suffix" "$(menu_rows $((p[0] - g[0])) $((p[1] - g[1])) "${p[2]}" "${p[3]}" \
    "Start|Stop|Test Sound|Stop Test|Exit")"
  xdotool key Escape keyup Escape
  wait_for 10 no_popup $((64 * scale)) || fail "the File menu stayed open"
else
  fail "Alt+F opened no menu"
fi
xdotool key --delay 60 alt+h a
if wait_for 10 shown '^About Drovane$'; then
  # Its version line blinks: the shot is one where it shows.
  IFS=, read -r -a v <<<"$(dlu 66 8 81 8 0 0)"
  version_shown() {
    shoot_window "$(named '^About Drovane$')" "about-$suffix" &&
      [ "$(convert "$shots/about-$suffix.png" -crop "${v[2]}x${v[3]}+${v[0]}+${v[1]}" \
        -format %k info:)" -gt 1 ]
  }
  wait_for 5 version_shown || fail "the About box's version line did not show"
  readable "about-$suffix" "$(dlu 66 8 81 8 0 0):version" "$(dlu 66 18 61 8 0 0):copyright" \
    "$(dlu 130 18 46 8 0 0):maker" "$(dlu 71 38 41 13 4 0):OK"
  # Behind it, the window's menu bar in the text colour of an inactive window.
  wait_for 10 active "$(named '^About Drovane$')" || fail "the About box did not get the focus"
  import -window root "$work/inactive-bar-$suffix.png"
  readable "$work/inactive-bar-$suffix.png" \
    "cols:${g[0]},${g[1]},$((331 * scale)),$((menu * scale)):~File|~Help"
  xdotool key Escape keyup Escape
  wait_for 10 gone '^About Drovane$' || fail "the About box stayed open"
else
  fail "Help > About showed no About box"
fi
if tray_menu "$app_pid"; then
  sleep 0.5
  read -r -a p <<<"$(popup_geometry)"
  shoot "tray-menu-$suffix" "${p[@]}"
  readable "tray-menu-$suffix" "$(menu_rows 0 0 "${p[2]}" "${p[3]}" \
    "Open|About Drovane...|Start|Stop|Test Sound|Stop Test|Exit")"
  xdotool key Escape keyup Escape
  wait_for 10 no_popup || fail "the tray menu stayed open"
else
  fail "a right click on the tray icon opened no menu"
fi
echo "screenshots in $shots: {compact,expanded,file-menu,about,tray,tray-menu}-$suffix.png"
[ "$failures" -eq 0 ]
