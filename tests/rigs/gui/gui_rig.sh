#!/usr/bin/env bash
# The GUI rig: runs the real drovane under a private Xvfb with openbox and an XEmbed tray
# (trayer) and a private PulseAudio null sink, drives it with xdotool and checks what a user would
# see and hear. Saves screenshots of the compact and expanded window, of the tray menu, of the open
# File menu, of a hovered and a focused button and of the About box, and checks the flat look at
# named pixels of them.
# Usage: gui_rig.sh DROVANE RIG_ANALYZE SCREENSHOT_DIR [RIG_CAPTURE]
set -uo pipefail
prog=$1
analyze=$2
shots=$3
# With rig-capture the first sound is placed in wall-clock time; without it, the recording is
# taken to begin when parec was started.
export RIG_CAPTURE=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../../tools/rig/pulse_server.sh"
. "$here/../../../tools/rig/desktop.sh"
. "$here/../../../tools/rig/checks.sh"
. "$here/../../../tools/rig/x11_windows.sh"

rig_open gui-rig Xvfb openbox trayer xdotool xwininfo xprop import convert pulseaudio parec
started=()  # every process this rig started, stopped by id at the end
cleanup() {
  local p
  rig_record_stop
  for p in "${started[@]}"; do kill -KILL "$p" 2>/dev/null; done
  rig_pulse_stop
  rig_desktop_stop
}
rig_pulse_env "$work/env"
mkdir -p "$shots" "$work/bin" "$work/share" "$work/path"
cp "$prog" "$work/bin/drovane"
cp "$prog" "$work/bin/drovane-copy"
# The program's own page lies beside bin/, as in the build and the installed trees.
cp -r "$(dirname "$prog")/../share/drovane" "$work/share/"
page="file://$work/share/drovane/page/index.html"
# The desktop's handler for addresses: this one only writes down what it was asked to open.
opened=$work/opened.txt
: >"$opened"
printf '#!/bin/sh\necho "$1" >>"%s"\n' "$opened" >"$work/path/xdg-open"
chmod +x "$work/path/xdg-open"
export PATH=$work/path:$PATH

# --- the desktop -------------------------------------------------------------------------------
rig_desktop_start "$work" || exit 1
start_tray() {
  rig_tray_start "$work"
  tray_pid=$RIG_TRAY_PID
}
start_tray
rig_pulse_start || exit 1
echo "display $DISPLAY, pulse pid $RIG_PULSE_PID"

# Stored settings that differ from the defaults, so the rig hears that they were loaded.
mkdir -p "$XDG_CONFIG_HOME/drovane"
cat >"$XDG_CONFIG_HOME/drovane/registry.ini" <<'INI'
[HKEY_LOCAL_MACHINE\SOFTWARE\Corvell\Drovane]
"Frequency1"="17000"
"Frequency2"="17400"
"Delay"="100"
"Step"="100"
INI
stored() { grep -o "\"$1\"=\"[^\"]*\"" "$XDG_CONFIG_HOME/drovane/registry.ini" | cut -d'"' -f4; }

# --- helpers on the program ----------------------------------------------------------------------
# launch NAME: starts bin/NAME; sets app_pid.
launch() {
  "$work/bin/$1" >>"$work/$1.log" 2>&1 &
  app_pid=$!
  started+=($app_pid)
  rig_track_pid "$app_pid"
}
main_window() { xdotool search --all --pid "$1" --name '^(모기 퇴치용 프로그램|Mosquito Repeller) v1\.0$' 2>/dev/null | head -n1; }
# wait_window PID: sets win to its main window once that is mapped.
wait_window() {
  local i
  win=
  for i in $(seq 400); do
    win=$(main_window "$1")
    if [ -n "$win" ] && viewable "$win"; then return 0; fi
    sleep 0.025
  done
  return 1
}
wm_state() { xprop -id "$1" WM_STATE 2>/dev/null | awk '/window state/ { print $3 }'; }
# The window's shape ("WxH+X+Y"), or "none" when it has none and shows every pixel.
shape_of() {
  xwininfo -shape -id "$1" | awk '/Window shape extents/ { print $4; found = 1 }
    END { if (!found) print "none" }'
}
active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
activate() { timeout 10 xdotool windowactivate --sync "$1" 2>/dev/null; wait_for 10 active_is "$1"; }
keys() { xdotool key --delay 60 "$@"; }
# click WIN X Y: left click at a point of the window's client area (template pixels).
click() { xdotool mousemove --window "$1" "$2" $(($3 + menu_height)) click 1; }
height_is() { [ "$(height_of "$1")" -eq "$2" ]; }
iconic() { [ "$(wm_state "$1")" = Iconic ]; }
shape_is() { [ "$(shape_of "$1")" = "$2" ]; }
stored_is() { [ "$(stored "$1")" = "$2" ]; }
# pixel WIN X Y: the colour of a pixel of the window's client area (template pixels), as
# "srgb(r,g,b)".
pixel() {
  local g
  read -r -a g <<<"$(geometry "$1")"
  import -window root "$work/pixel.png" &&
    convert "$work/pixel.png" -format "%[pixel:p{$((g[0] + $2)),$((g[1] + menu_height + $3))}]" info:
}
# region_sum WIN X Y W H: a checksum of a part of the window's client area as shown now.
region_sum() {
  local g
  read -r -a g <<<"$(geometry "$1")"
  import -window root "$work/region.png" &&
    convert "$work/region.png" -crop "$4x$5+$((g[0] + $2))+$((g[1] + menu_height + $3))" +repage \
      -depth 8 rgb:- | md5sum | cut -c1-12
}
opened_count() { wc -l <"$opened"; }
opened_has() { grep -qxF "$1" "$opened"; }

# --- the flat look: pixels of screenshots ----------------------------------------------------
# Colours here follow from Qt's own palette, which this desktop leaves as it is: button face 239,
# highlight (48,140,198), dark shadow 118. The menus derive theirs from it.
face=239; outline="118,118,118"; paper="251,251,251"; band="242,242,242"
# root_shot FILE: the whole screen.
root_shot() { import -window root "$1"; }
# at FILE X Y: the colour of a pixel of a screenshot as "r,g,b".
at() {
  convert "$1" -format "%[fx:round(255*p{$2,$3}.r)],%[fx:round(255*p{$2,$3}.g)],%[fx:round(255*p{$2,$3}.b)]" info:
}
# scaled R,G,B PERCENT: each channel at PERCENT per cent, as the shadows darken.
scaled() { awk -F, -v p="$2" '{ printf "%d,%d,%d", int($1 * p / 100), int($2 * p / 100), int($3 * p / 100) }' <<<"$1"; }
# pixel_is FILE X Y WANT [WHAT]: "ok"/"FAIL" for one named pixel.
pixel_is() {
  local got
  got=$(at "$1" "$2" "$3")
  [ "$got" = "$4" ] && ok "${5:-pixel} at ($2, $3) is $4" || fail "${5:-pixel} at ($2, $3) is $got, not $4"
}
# shadowed BEFORE AFTER X Y PERCENT WHAT: the pixel is now what the screen showed there at PERCENT.
shadowed() { pixel_is "$2" "$3" "$4" "$(scaled "$(at "$1" "$3" "$4")" "$5")" "$6"; }
# The screen point of a point of the window's client area (template pixels).
screen_xy() { local g; read -r -a g <<<"$(geometry "$1")"; echo $((g[0] + $2)) $((g[1] + menu_height + $3)); }

# Template pixels of the controls (dialog units x 1.6, x 1.5).
start_xy=(46 183); stop_xy=(123 183); details_xy=(203 183); close_xy=(283 183)
freq1_xy=(104 227)

# --- 1. start: window, sound at the stored settings ---------------------------------------------
echo "== start: compact window, sweep at the stored settings"
rig_record_start "$work/start.raw"
sleep 2.5
t_launch=$(rig_now)
launch drovane
first_pid=$app_pid
if ! wait_window "$first_pid"; then
  fail "no window within 5 s"; cat "$work/drovane.log"; exit 1
fi
t_mapped=$(rig_now)
echo "window mapped $(rig_elapsed "$t_launch" "$t_mapped" 3) s after launch"
compact=$(height_of "$win")
width=$(width_of "$win")
menu_height=$((compact - 201))
[ "$width" -eq 331 ] && ok "width 331" || fail "window width $width, expected 331"
# Shells match the window to its launcher by class (the launcher's StartupWMClass), and offer no
# maximising for a fixed size.
wm_class=$(xprop -id "$win" WM_CLASS | cut -d= -f2)
[ "$wm_class" = ' "drovane", "drovane"' ] && ok "class hints drovane, as the launcher's StartupWMClass" \
  || fail "WM_CLASS$wm_class"
motif=$(xprop -id "$win" _MOTIF_WM_HINTS | cut -d= -f2 | tr -d ' ')
(( ($(cut -d, -f2 <<<"$motif") & 0x10) == 0 && ($(cut -d, -f3 <<<"$motif") & 0x40) == 0 )) \
  && ok "no maximise function or button in the Motif hints" || fail "Motif hints $motif offer maximising"
[ "$menu_height" -gt 10 ] && [ "$menu_height" -lt 40 ] || fail "compact height $compact: menu bar of $menu_height px?"
sleep 0.3
shoot_window "$win" compact

echo "== the menu bar's text follows the window's activation, with no pointer over the bar"
# file_ink WIN: the darkest grey (0..255) of "File" on the menu bar: the menu text's black while
# the window is active, the buttons' shadow grey while another window has the focus.
file_ink() {
  local g
  read -r -a g <<<"$(geometry "$1")"
  import -window root "$work/bar.png" &&
    convert "$work/bar.png" -crop "30x$menu_height+${g[0]}+${g[1]}" +repage -colorspace Gray \
      -format "%[fx:round(255*minima)]" info:
}
file_black() { [ "$(file_ink "$win")" -lt 60 ]; }
file_grey() { local i; i=$(file_ink "$win"); [ "$i" -gt 100 ] && [ "$i" -lt 200 ]; }
xdotool mousemove 1000 300
wait_for 10 active_is "$win" || fail "the new window did not get the focus"
expect "File in the active window's text colour after the start" file_black
sleep 1.2
t_stop=$(rig_now)
activate "$win"
click "$win" "${stop_xy[@]}"
sleep 1.5
rig_record_stop
# The recording began 2.5 s before the launch (give or take parec's own start).
"$analyze" "$work/start.raw" >"$work/start.txt"
sed 's/^/  /' "$work/start.txt" | grep -E 'onset_s|heard|gaps'
onset=$(awk '/^onset_s/ { print $2 }' "$work/start.txt")
onset_frame=$(awk '/^onset_frame/ { print $2 }' "$work/start.txt")
heard=$(awk '/^heard_s/ { print $2 }' "$work/start.txt")
gaps=$(awk '/^gaps/ { print $2 }' "$work/start.txt")
if [ -z "$onset" ]; then
  fail "nothing was heard after the start"
else
  latency=$(awk -v o="$onset" 'BEGIN { printf "%.3f", o - 2.5 }')
  if [ -n "$RIG_CAPTURE" ] && t_onset=$(rig_sample_time "$work/start.raw" "$onset_frame"); then
    latency=$(rig_elapsed "$t_launch" "$t_onset" 3)
  fi
  stop_at=$(rig_elapsed "$t_launch" "$t_stop" 3)
  silent_from=$(awk -v l="$latency" -v h="$heard" 'BEGIN { printf "%.3f", l + h }')
  echo "first sound ${latency} s after launch; Stop clicked at ${stop_at} s; sound ended at ${silent_from} s"
  rig_less "$latency" 0.5 && ok "sweep heard within 500 ms" || fail "first sound ${latency} s after launch"
  rig_less "$silent_from" "$(awk -v s="$stop_at" 'BEGIN { print s + 0.5 }')" && ok "Stop by click silenced it" \
    || fail "sound went on until ${silent_from} s, Stop was clicked at ${stop_at} s"
  # The first tones tell the stored settings: 17000 Hz for 100 ms, then 17100 Hz.
  head -c "$(awk -v o="$onset" 'BEGIN { printf "%d", (o + 0.25) * 48000 * 4 }')" "$work/start.raw" >"$work/first.raw"
  "$analyze" "$work/first.raw" --from 17000 --to 17400 --delay 100 --step 100 \
    --max-frequency-error 1 >"$work/first.txt" \
    && ok "first tones at the stored 17000 Hz + 100 Hz steps of 100 ms" \
    || { fail "the first tones"; sed 's/^/  /' "$work/first.txt"; }
  # Gaps belong to the sound server's timing (the audio rig checks them); a run without them must
  # also have every later tone right.
  if [ "${gaps:-1}" -eq 0 ]; then
    "$analyze" "$work/start.raw" --from 17000 --to 17400 --delay 100 --step 100 \
      --max-frequency-error 1 >"$work/all.txt" && ok "every tone until the stop right" \
      || { fail "the tones until the stop"; grep FAIL "$work/all.txt"; }
  else
    echo "note: $gaps gap(s) in the sound (machine load?); later tones not compared"
  fi
fi

echo "== the banner animates in a loop of 20 frames of 200 ms"
# Pictures of the banner (300 x 100 at (29, 3) of the client area) for 9 s, each with its time; a
# picture that comes back marks a whole loop.
read -r -a g <<<"$(geometry "$win")"
read -r pictures distinct period <<<"$(rig_banner_loop "300x100+$((g[0] + 29))+$((g[1] + menu_height + 3))" 9 "$work/banner.txt")"
echo "$pictures pictures of the banner, $distinct different; it comes back every $period s"
[ "$distinct" -ge 8 ] && ok "the banner changes over time" || fail "only $distinct different banner pictures in 9 s"
# A busy machine adds its drawing and waking to every 200 ms frame: only a loop that is not about
# 4 s fails.
[ "$period" != none ] && awk -v p="$period" 'BEGIN { exit !(p > 3.7 && p < 4.8) }' \
  && ok "its loop lasts about 4 s ($period s)" || fail "the banner's loop lasts $period s, not 4 s"
shoot_window "$win" banner

# --- 2. the fold ---------------------------------------------------------------------------------
echo "== Details by click"
click "$win" "${details_xy[@]}"
expanded=$((compact + 122))
expect "unfolded by 122 px ($compact -> $expanded)" height_is "$win" "$expanded"
expect "expanded window keeps every pixel of its content" shape_is "$win" none
shoot_window "$win" expanded
click "$win" "${details_xy[@]}"
expect "folded back to $compact" height_is "$win" "$compact"
expect "compact window keeps every pixel of its content" shape_is "$win" none
click "$win" "${details_xy[@]}"
wait_for 10 height_is "$win" "$expanded" || fail "the third Details did not unfold"

echo "== Start by click and by the menu's mnemonic store the edited values"
xdotool mousemove --window "$win" "${freq1_xy[0]}" $((freq1_xy[1] + menu_height)) click --repeat 3 1
keys ctrl+a 1 7 1 0 0
click "$win" "${start_xy[@]}"
expect "Start stored 17100" stored_is Frequency1 17100
xdotool mousemove --window "$win" "${freq1_xy[0]}" $((freq1_xy[1] + menu_height)) click 1
keys ctrl+a 1 7 2 0 0
activate "$win"
keys alt+f s
expect "File > Start by Alt+F, S stored 17200" stored_is Frequency1 17200
click "$win" "${details_xy[@]}"
wait_for 10 height_is "$win" "$compact" || fail "Details did not fold"

echo "== Alt+F, T stops and Alt+F, S starts the sweep"
activate "$win"
keys alt+f t
wait_for 10 no_popup
rig_record_start "$work/keys.raw"
sleep 2.5
t_rec=$(rig_now)
activate "$win"
keys alt+f s
sleep 1
keys alt+f t
t_stopped=$(rig_now)
sleep 1.5
rig_record_stop
"$analyze" "$work/keys.raw" >"$work/keys.txt"
heard=$(awk '/^heard_s/ { print $2 }' "$work/keys.txt")
played=$(rig_elapsed "$t_rec" "$t_stopped" 3)
if [ -z "$heard" ]; then
  fail "Alt+F, S started no sound"
else
  awk -v h="$heard" -v p="$played" 'BEGIN { exit !(h > 0.5 && h < p + 0.3) }' \
    && ok "heard ${heard} s between Alt+F, S and Alt+F, T (${played} s apart)" \
    || fail "heard ${heard} s of sound for ${played} s between the keys"
fi

echo "== run at logon: the check box writes and removes the entry, its label only moves the mark"
entry="$XDG_CONFIG_HOME/autostart/Drovane Startup.desktop"
checkbox_xy=(25 159); label_xy=(60 159)
# The entry starts the program from where it runs now, as an installed copy starts /usr/bin/drovane.
entry_written() { [ -f "$entry" ] && grep -qxF "Exec=\"$work/bin/drovane\"" "$entry"; }
entry_gone() { [ ! -e "$entry" ]; }
click "$win" "${checkbox_xy[@]}"
expect "check box wrote the autostart entry" entry_written
click "$win" "${label_xy[@]}"
# The label only moves the mark (to unchecked, the entry stays); the box then checks (the entry is
# written again) and unchecks (it goes).
entry_written && ok "label click left the entry alone" || fail "label click changed the entry"
click "$win" "${checkbox_xy[@]}"
click "$win" "${checkbox_xy[@]}"
expect "unchecking the box removed the entry" entry_gone

echo "== the notice's frame shows the gradient inside it, as the labels do"
# Row 120 of the gradient, inside the frame and left of the notice's text.
[ "$(pixel "$win" 15 120)" = "srgb(237,234,221)" ] && ok "inside the frame: the gradient" \
  || fail "inside the frame at (15, 120): $(pixel "$win" 15 120), the gradient is srgb(237,234,221)"

echo "== flat buttons: the orange frame under the mouse, the blue one with the focus"
# Their top-left corners (template pixels of 131 and 132: dialog units (7, 115) and (55, 115)).
read -r sx sy <<<"$(screen_xy "$win" "${start_xy[@]}")"
read -r px py <<<"$(screen_xy "$win" "${stop_xy[@]}")"
read -r bx by <<<"$(screen_xy "$win" 11 173)"
read -r qx qy <<<"$(screen_xy "$win" 88 173)"
root_shot "$work/buttons.png"
pixel_is "$work/buttons.png" "$bx" "$by" "232,229,211" "the ground outside the rounded corner"
xdotool mousemove "$sx" "$sy"
hover_frame() { root_shot "$work/hover.png" && [ "$(at "$work/hover.png" $((bx + 1)) $((by + 5)))" = "250,196,88" ]; }
expect "the hovered 시작 shows the orange frame" hover_frame
pixel_is "$work/hover.png" $((bx + 1)) $((by + 5)) "250,196,88" "hover frame, left"
pixel_is "$work/hover.png" $((bx + 4)) $((by + 1)) "252,210,121" "hover frame, top"
convert "$work/hover.png" -crop "90x34+$((bx - 8))+$((by - 6))" +repage "$shots/button-hover.png"
# 멈춤 takes the focus by a click; with the mouse gone, its frame is the focus frame.
xdotool mousemove "$px" "$py" click 1 mousemove "$((sx - 30))" "$((sy - 60))"
focus_frame() { root_shot "$work/focus.png" && [ "$(at "$work/focus.png" $((qx + 1)) $((qy + 5)))" = "153,198,252" ]; }
expect "the focused 멈춤 shows the blue frame" focus_frame
pixel_is "$work/focus.png" $((qx + 1)) $((qy + 5)) "153,198,252" "focus frame, left"
pixel_is "$work/focus.png" $((bx + 1)) $((by + 5)) "255,255,255" "시작 without a frame, white inside its outline"
convert "$work/focus.png" -crop "90x34+$((qx - 8))+$((qy - 6))" +repage "$shots/button-focus.png"

echo "== the open File menu: outline, border joined to its tab, shadow from the screen behind it"
activate "$win"
wait_for 10 no_popup
root_shot "$work/before-menu.png"
keys alt+f
if wait_for 10 popup_open; then
  read -r mx my mw mh <<<"$(popup_geometry)"
  sleep 0.3
  root_shot "$work/file-menu.png"
  f=$work/file-menu.png
  read -r -a g <<<"$(geometry "$win")"
  convert "$f" -crop "$((mw + 60))x$((mh + menu_height + 20))+$((g[0]))+$((g[1]))" +repage "$shots/file-menu.png"
  pixel_is "$f" "$mx" $((my + 10)) "$outline" "the menu's outline, left"
  pixel_is "$f" $((mx + mw - 5)) $((my + 10)) "$outline" "the menu's outline, right (4 pixels left for the shadow)"
  pixel_is "$f" $((mx + 20)) $((my + mh - 5)) "$outline" "the menu's outline, bottom"
  pixel_is "$f" $((mx + 1)) $((my + 10)) "$paper" "the inner border, paper"
  pixel_is "$f" $((mx + 2)) $((my + 10)) "$paper" "the inner border's second ring"
  # The top border opens below the File tab: band colour up to the tab's right side.
  pixel_is "$f" $((mx + 1)) "$my" "$band" "the joined border under the tab"
  e=1
  while [ $e -lt 80 ] && [ "$(at "$f" $((mx + e)) "$my")" = "$band" ]; do e=$((e + 1)); done
  pixel_is "$f" $((mx + e)) "$my" "$outline" "the border again past the tab"
  pixel_is "$f" $((mx + e + 10)) "$my" "$outline" "the border right of the tab"
  # The tab spans (mx, T) to (mx + e + 1, my + 1); its item 4 pixels more, the shadow strip.
  t=$((my - 1))
  while [ $t -gt 0 ] && [ "$(at "$f" $((mx + 1)) $((t - 1)))" != "$outline" ]; do t=$((t - 1)); done
  T=$((t - 1)); R=$((mx + e + 1 + 4))
  pixel_is "$f" "$mx" "$T" "$outline" "the tab's top left corner"
  pixel_is "$f" $((R - 1)) $((T + 5)) "$face,$face,$face" "the tab's strip at (R - 1, T + 5), plain"
  pixel_is "$f" $((R - 1)) $((T + 6)) "$(scaled "$face,$face,$face" 93)" "the tab's strip at (R - 1, T + 6), 93 %"
  pixel_is "$f" $((R - 4)) $((T + 7)) "$(scaled "$face,$face,$face" 78)" "the tab's strip at (R - 4, T + 7), 78 %"
  # The shadow: what the screen showed there, darker towards the menu.
  b=$work/before-menu.png
  shadowed "$b" "$f" $((mx + mw - 1)) $((my + 30)) 93 "the right shadow's outer column"
  shadowed "$b" "$f" $((mx + mw - 4)) $((my + 30)) 78 "the right shadow's inner column"
  shadowed "$b" "$f" $((mx + 50)) $((my + mh - 1)) 93 "the bottom shadow's outer row"
  shadowed "$b" "$f" $((mx + 50)) $((my + mh - 4)) 78 "the bottom shadow's inner row"
  shadowed "$b" "$f" $((mx + mw - 1)) $((my + 1)) 100 "the shadow's rounded top, left as it was"
  xdotool key Escape; xdotool keyup Escape
  wait_for 10 no_popup || { xdotool key Escape; xdotool keyup Escape; }
  wait_for 10 no_popup || fail "the File menu stayed open"
else
  fail "Alt+F opened no menu"
fi

echo "== About from the menu bar: a white card, a blinking version line, the maker's link"
about_window() { xdotool search --onlyvisible --name '^About Drovane$' 2>/dev/null | head -n1; }
about_shown() { [ -n "$(about_window)" ]; }
about_gone() { [ -z "$(about_window)" ]; }
activate "$win"
keys alt+f s
rig_record_start "$work/about.raw"
sleep 2.5
activate "$win"
keys alt+h a
if wait_for 10 about_shown; then
  ok "Help > About opened the About box"
  about=$(about_window)
  wait_for 10 active_is "$about" || fail "the About box did not get the focus"
  expect "File in the inactive text colour while the About box has the focus" file_grey
  shoot_window "$about" about
  # The version line blinks every 500 ms: pictures of it taken across a blink differ.
  read -r -a ag <<<"$(geometry "$about")"
  sums=()
  for i in 1 2 3 4 5; do
    import -window root "$work/blink.png"
    sums+=("$(convert "$work/blink.png" -crop "130x14+$((ag[0] + 105))+$((ag[1] + 11))" +repage \
      -depth 8 rgb:- | md5sum | cut -c1-12)")
    sleep 0.3
  done
  [ "$(printf '%s\n' "${sums[@]}" | sort -u | wc -l)" -ge 2 ] && ok "the version line blinks" \
    || fail "the version line looked the same in 5 pictures 300 ms apart"
  # The maker's name, "Corvell Co LTD", at dialog units (130, 18): a link to the maker's page.
  before=$(opened_count)
  xdotool mousemove --window "$about" 220 31 click 1
  maker_opened() { [ "$(opened_count)" -gt "$before" ]; }
  expect "a click on the maker's name opened the maker's page" maker_opened
  opened_has "$page" || fail "the maker's link opened $(tail -n1 "$opened"), not $page"
  activate "$about"
  xdotool key Escape; xdotool keyup Escape
  expect "Escape closed the About box" about_gone
  alive "$first_pid" || fail "Escape in the About box ended the program"
else
  fail "Help > About showed no About box"
fi
sleep 1
rig_record_stop
"$analyze" "$work/about.raw" >"$work/about.txt"
about_gaps=$(awk '/^gaps/ { print $2 }' "$work/about.txt")
about_heard=$(awk '/^heard_s/ { print $2 }' "$work/about.txt")
awk -v h="${about_heard:-0}" 'BEGIN { exit !(h > 1) }' && [ "${about_gaps:-1}" -eq 0 ] \
  && ok "the sweep played on, without a gap, while the About box was open (${about_heard} s)" \
  || fail "while the About box was open: ${about_heard:-no} s of sound, ${about_gaps:-?} gap(s)"

echo "== a click on the banner opens the product page"
before=$(opened_count)
click "$win" 150 40
banner_opened() { [ "$(opened_count)" -gt "$before" ]; }
expect "the banner opened the program's page" banner_opened
opened_has "$page" || fail "the banner opened $(tail -n1 "$opened"), not $page"

# --- 3. hide and show ----------------------------------------------------------------------------
echo "== close box, 닫기 and Enter hide; the tray's Open and double-click show, where the window was"
placed() { [ "$(geometry "$win" | cut -d' ' -f1-2)" = "$1" ]; }
moved() { ! placed "$1"; }
where=$(geometry "$win" | cut -d' ' -f1-2)
xdotool windowmove "$win" 147 110
wait_for 10 moved "$where" || fail "the window did not move"
where=$(geometry "$win" | cut -d' ' -f1-2)
activate "$win"
keys alt+F4
wait_for 10 unmapped "$win" && alive "$first_pid" && ok "close box hid the window" || fail "close box: window not hidden or program gone"
root_shot "$work/before-tray.png"
tray_menu "$first_pid" || fail "no tray icon or menu"
sleep 0.3
shoot 'tray-menu' 744 468 280 300
# The tray's menu hangs from no menu-bar item: its border is whole, and it has its shadow.
if read -r mx my mw mh <<<"$(popup_geometry)"; then
  f=$work/root.png
  pixel_is "$f" $((mx + 5)) "$my" "$outline" "the tray menu's top border, whole"
  pixel_is "$f" "$mx" $((my + 10)) "$outline" "the tray menu's outline"
  pixel_is "$f" $((mx + 1)) $((my + 10)) "$paper" "the tray menu's inner border"
  shadowed "$work/before-tray.png" "$f" $((mx + 40)) $((my + mh - 3)) 83 "the tray menu's shadow below"
fi
keys o
wait_for 10 viewable "$win" && ok "tray menu Open showed it" || fail "tray menu Open did not show the window"
expect "where the user had put it ($where)" placed "$where"
click "$win" "${close_xy[@]}"
wait_for 10 unmapped "$win" && ok "닫기 hid the window" || fail "닫기 did not hide the window"
tray_click "$first_pid" 1 2
wait_for 10 viewable "$win" && ok "double-click on the tray icon showed it" || fail "double-click did not show the window"
expect "again where it was" placed "$where"
activate "$win"
keys Return
wait_for 10 unmapped "$win" && ok "Enter hid the window" || fail "Enter did not hide the window"

echo "== the tray's Exit while hidden asks; the tray menu still works while the question waits"
question() { xdotool search --onlyvisible --name '^Exit$' 2>/dev/null | head -n1; }
asking() { [ -n "$(question)" ]; }
not_asking() { [ -z "$(question)" ]; }
tray_menu "$first_pid" || fail "no tray menu"
keys x
wait_for 10 asking && ok "tray Exit asked the question" || fail "tray Exit showed no question"
box=$(question)
wait_for 10 active_is "$box" || fail "the question did not get the focus"
tray_menu "$first_pid" || fail "no tray menu while the question waits"
keys o
wait_for 10 viewable "$win" && ok "tray Open worked while the question waited" || fail "tray menu blocked by the question"
[ -n "$box" ] && activate "$box"
keys n
wait_for 10 not_asking && alive "$first_pid" && ok "No kept it running" || fail "the question after No"
click "$win" "${close_xy[@]}"
wait_for 10 unmapped "$win" || fail "닫기 did not hide the window"

echo "== About from the tray menu while the window is hidden; OK closes it"
tray_menu "$first_pid" || fail "no tray menu"
keys a
if wait_for 10 about_shown; then
  ok "the tray's About opened the About box"
  about=$(about_window)
  wait_for 10 active_is "$about" || fail "the About box did not get the focus"
  # Its OK is a flat button with the focus: the blue frame inside the rounded outline.
  read -r -a ag <<<"$(geometry "$about")"
  root_shot "$work/about.png"
  ox=$((ag[0] + 114)) oy=$((ag[1] + 57))  # dialog units (71, 38)
  pixel_is "$work/about.png" "$ox" "$oy" "232,229,211" "OK's ground outside its corner"
  pixel_is "$work/about.png" "$ox" $((oy + 9)) "0,0,0" "OK's outline"
  pixel_is "$work/about.png" $((ox + 1)) $((oy + 5)) "153,198,252" "OK's focus frame"
  convert "$work/about.png" -crop "$((ag[2]))x$((ag[3]))+$((ag[0]))+$((ag[1]))" +repage "$shots/about-ok.png"
  keys Return
  expect "OK (Enter) closed it" about_gone
else
  fail "the tray's About showed no About box"
fi

echo "== a message box is open; the tray's Exit asks with the keyboard on the question"
tray_menu "$first_pid" && keys o
wait_for 10 viewable "$win" || fail "tray Open did not show the window"
activate "$win"
click "$win" "${details_xy[@]}"
wait_for 10 height_is "$win" "$expanded" || fail "Details did not unfold"
xdotool mousemove --window "$win" 190 $((227 + menu_height)) click --repeat 3 1
keys ctrl+a 4 0 0 0 0
click "$win" 285 227
error_up() { xdotool search --onlyvisible --name '^drovane$' 2>/dev/null | while read -r w; do [ "$(width_of "$w")" -gt 100 ] && echo "$w"; done | grep -q .; }
if wait_for 10 error_up; then
  ok "Set with 40000 showed the range message"
  tray_menu "$first_pid" || fail "no tray menu over the message"
  keys x
  wait_for 10 asking || fail "tray Exit showed no question over the message"
  box=$(question)
  expect "the question has the keyboard" active_is "$box"
  xdotool key Escape; xdotool keyup Escape
  expect "Escape answered it (No)" not_asking
  alive "$first_pid" || fail "Escape on the question ended the program"
  for w in $(xdotool search --onlyvisible --name '^drovane$' 2>/dev/null); do
    [ "$(width_of "$w")" -gt 100 ] && { activate "$w"; keys Return; }
  done
  error_gone() { ! error_up; }
  wait_for 10 error_gone || fail "the range message stayed"
else
  fail "Set with 40000 showed no message"
fi
xdotool mousemove --window "$win" 190 $((227 + menu_height)) click --repeat 3 1
keys ctrl+a 1 7 4 0 0
click "$win" "${details_xy[@]}"
wait_for 10 height_is "$win" "$compact" || fail "Details did not fold"
click "$win" "${close_xy[@]}"
wait_for 10 unmapped "$win" || fail "닫기 did not hide the window"

echo "== a second start raises the hidden first copy and exits"
t0=$(rig_now)
"$work/bin/drovane" >>"$work/second.log" 2>&1
rc=$?
took=$(rig_elapsed "$t0" "$(rig_now)" 3)
[ $rc -eq 0 ] && rig_less "$took" 3 && ok "second copy ended (exit 0) after ${took} s" || fail "second copy: exit $rc after ${took} s"
wait_for 10 viewable "$win" && ok "first copy's window shown" || fail "the hidden window was not shown"
expect "and active" active_is "$win"
alive "$first_pid" || fail "the first copy ended"

echo "== a second start with the Exit question open puts the question in front"
activate "$win"
keys alt+f x
wait_for 10 bash -c "xdotool search --name '^Exit$' >/dev/null" || fail "Alt+F, X showed no question"
box=$(xdotool search --name '^Exit$' | head -n1)
xdotool windowminimize "$win"
wait_for 10 iconic "$win" || fail "the window did not minimise"
"$work/bin/drovane" >>"$work/second.log" 2>&1
expect "minimised window restored" viewable "$win"
expect "the question is in front" active_is "$box"
activate "$box"
keys n
question_gone() { ! xdotool search --name '^Exit$' >/dev/null 2>&1; }
wait_for 10 question_gone || fail "the question stayed after No"
alive "$first_pid" && ok "Exit answered No keeps it running" || fail "No ended the program"

echo "== a copy under another file name runs beside it"
launch drovane-copy
copy_pid=$app_pid
wait_window "$copy_pid" && alive "$first_pid" && ok "drovane-copy runs beside drovane" || fail "drovane-copy did not open its window"
t0=$(rig_now)
kill -TERM "$copy_pid"
wait "$copy_pid" 2>/dev/null
took=$(rig_elapsed "$t0" "$(rig_now)" 3)
! [ -e "$XDG_RUNTIME_DIR/drovane-copy-$(id -u).lock" ] \
  && ok "SIGTERM ended drovane-copy in ${took} s and released its lock" || fail "SIGTERM: lock left"
rig_less "$took" 1 || fail "SIGTERM took ${took} s to end the program (Escape takes a tenth of that)"

echo "== Exit with Yes ends"
activate "$win"
keys alt+f x
wait_for 10 bash -c "xdotool search --name '^Exit$' >/dev/null" || fail "no question"
keys y
wait_for 10 dead "$first_pid" && ok "Yes ended the program" || fail "still running after Yes"
wait "$first_pid"; rc=$?
[ $rc -eq 0 ] || fail "exit code $rc after Exit"

echo "== Escape ends at once, without a question"
launch drovane
wait_window "$app_pid" || fail "no window"
activate "$win"
xdotool key Escape; xdotool keyup Escape
wait_for 10 dead "$app_pid" && ok "Escape ended it" || fail "Escape did not end it"
xdotool search --name '^Exit$' >/dev/null 2>&1 && fail "Escape asked the Exit question"

echo "== without a tray, closing minimises; a tray that appears later gets the icon"
kill -TERM "$tray_pid"
wait_for 10 dead "$tray_pid"
launch drovane
wait_window "$app_pid" || fail "no window"
activate "$win"
keys alt+F4
expect "closed without a tray: minimised, not hidden" iconic "$win"
start_tray
wait_for 10 tray_icon "$app_pid" >/dev/null && ok "icon docked in the tray that appeared" || fail "no icon in the new tray"

echo "== a lock left by a killed copy is taken over"
kill -KILL "$app_pid"
wait "$app_pid" 2>/dev/null
launch drovane
wait_window "$app_pid" && ok "new copy started over the dead one's lock" || fail "new copy did not start"
kill -TERM "$app_pid"; wait_for 10 dead "$app_pid"

echo "== a stored value out of range: the message first, then the window; SIGTERM ends it"
sed -i 's/"Frequency2"="[0-9]*"/"Frequency2"="40000"/' "$XDG_CONFIG_HOME/drovane/registry.ini"
error_box() {
  local w
  for w in $(xdotool search --onlyvisible --name '^drovane$' 2>/dev/null); do
    [ "$(width_of "$w")" -gt 100 ] && { echo "$w"; return 0; }
  done
  return 1
}
launch drovane
if wait_for 10 error_box >/dev/null; then
  ok "the range message came up"
  [ -z "$(main_window "$app_pid")" ] || ! viewable "$(main_window "$app_pid")" \
    && ok "before the window" || fail "the window showed before the message"
  activate "$(error_box)"
  keys Return
  wait_window "$app_pid" && ok "the window followed" || fail "no window after the message"
else
  fail "no message for a stored Frequency2 of 40000"
fi
kill -TERM "$app_pid"
wait_for 10 dead "$app_pid" && ok "SIGTERM ended it" || fail "SIGTERM did not end it"
launch drovane
wait_for 10 error_box >/dev/null || fail "no message on the second run"
kill -TERM "$app_pid"
wait_for 10 dead "$app_pid" && ok "SIGTERM while the start-up message waits ended it" \
  || fail "SIGTERM during the start-up message did not end it"
sed -i 's/"Frequency2"="[0-9]*"/"Frequency2"="20000"/' "$XDG_CONFIG_HOME/drovane/registry.ini"

echo "== 20 copies started at once leave exactly one"
many=()
for i in $(seq 20); do
  "$work/bin/drovane" >>"$work/many.log" 2>&1 &
  many+=($!)
  started+=($!)
  rig_track_pid "$!"
done
count_running() {
  local p
  running=0
  for p in "${many[@]}"; do alive "$p" && running=$((running + 1)); done
}
at_most_one() { count_running; [ $running -le 1 ]; }
wait_for 30 at_most_one
count_running
[ $running -eq 1 ] && ok "one of 20 runs" || fail "$running of 20 copies run"

echo "screenshots in $shots"
rig_summary "gui rig"
