#!/usr/bin/env bash
# The Windows tray rig: the close box and Close hide the window to its tray icon, a double click
# and the tray menu's Open show it, the tray menu's frame and shadow, its About, a second start that
# shows the hidden first copy, a copy under another name beside it, and the icon added again when
# the notification area is made anew. Every click on the icon is counted; the rig fails when too
# many go unanswered.
# Usage: win32_tray_rig.sh DROVANE_EXE RIG_DRIVER_EXE SCREENSHOT_DIR
set -uo pipefail
. "$(dirname "$0")/gui_common.sh" win32-tray-rig "$@"

# The program's icon in the tray: a small window of Wine's explorer inside trayer's panel.
tray_icon() {
  local id
  id=$(xwininfo -root -tree | awk '/\("explorer.exe" "explorer.exe"\)/ { split($0, a, ")  "); print $1, a[2] }' |
    while read -r w geom _; do
      width=${geom%%x*}; rest=${geom#*x}; height=${rest%%+*}
      [ "$width" -ge 8 ] && [ "$width" -le 64 ] && [ "$height" -ge 8 ] && [ "$height" -le 64 ] || continue
      xwininfo -id "$w" 2>/dev/null | grep -q IsViewable && echo "$w"
    done | head -n1)
  [ -n "$id" ] && echo "$id"
}
# tray_click BUTTON [REPEAT]: clicks the middle of the tray icon.
tray_click() {
  local icon x y w h
  icon=$(tray_icon) || return 1
  read -r x y w h <<<"$(geometry "$icon")"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click --repeat "${2:-1}" --delay 120 "$1"
}
# A pointer left resting on the icon brings up its tooltip, which then takes the next click.
no_tooltip() { ! drv toplevels | grep -q ' shown tooltips_class32|'; }
# Every click on the tray icon is a trial, counted: each is made once the pointer has left the
# icon, no tooltip shows and the focus has settled. Should one be lost all the same, a check that
# needs the icon clicks again; but the run fails when more than tray_miss_limit clicks went
# unanswered, as every click does when the program ignores them and many do when it answers only
# now and then.
tray_clicks=0 tray_misses=0 tray_miss_limit=2
# tray_try BUTTON REPEAT SECONDS CONDITION...: one counted click (REPEAT clicks: 2 for a double
# click) in the settled state; true when CONDITION holds within SECONDS.
tray_try() {
  local button=$1 repeat=$2 seconds=$3
  shift 3
  xdotool mousemove 10 10
  wait_for 10 no_tooltip || echo "(a tooltip still shows after 10 s)"
  wait_for 10 focus_settled || echo "(the focus did not settle in 10 s)"
  tray_clicks=$((tray_clicks + 1))
  tray_click "$button" "$repeat" && wait_for "$seconds" "$@" && return 0
  tray_misses=$((tray_misses + 1))
  echo "(tray click $tray_clicks unanswered in $seconds s: $tray_misses so far, limit $tray_miss_limit)"
  return 1
}
# tray_until BUTTON REPEAT SECONDS CONDITION...: counted clicks until CONDITION holds, while the
# unanswered ones stay within the limit.
tray_until() {
  while [ $tray_misses -le $tray_miss_limit ]; do tray_try "$@" && return 0; done
  return 1
}
# tray_menu PID: opens the tray icon's menu by counted right clicks; sets popup to "hwnd left top
# right bottom".
tray_menu() {
  wait_for 10 no_popup "$1"
  tray_until 3 1 4 popup_of "$1"
}
# tray_choose PID POSITION: opens the tray menu and picks the item at POSITION (from 1) with keys.
tray_choose() {
  local pid=$1 position=$2 i keys=()
  tray_menu "$pid" || return 1
  for i in $(seq "$position"); do keys+=(40); done  # VK_DOWN
  drv key "${popup%% *}" "${keys[@]}" 13            # VK_RETURN
  wait_for 10 no_popup "$pid"
}

start_main
first=$app_pid
first_log=$app_log
outline=$(drv syscolor 21)  # COLOR_3DDKSHADOW
check "the tray icon docks in the notification area" eval "tray_icon >/dev/null"

echo "== close, tray, second start"
drv close "$main"
check "the close box hides the window" hidden "$main"
tray_until 1 2 15 visible "$main" && ok "a double click on the tray icon shows it" ||
  fail "a double click on the tray icon shows it"
xmain=$(xwindow "$caption")
drv click "$main" 1007
check "닫기 hides it" hidden "$main"
# The hidden window leaves X and the window manager gives the focus elsewhere: a right click is
# made once that is over, as a person's would be.
x_unmapped() { xwininfo -id "$xmain" 2>/dev/null | grep -q 'Map State: IsUnMapped'; }
wait_for 10 x_unmapped
import -window root "$work/before_tray_menu.png"
if tray_menu "$main_win_pid"; then
  ok "a right click opens the tray menu"
  read -r menu_win left top right bottom <<<"$popup"
  sleep 0.3
  import -window root "$work/root.png" &&
    shadow_darkens "the tray menu" "$work/before_tray_menu.png" "$work/root.png" \
      "$left" "$top" "$right" "$bottom"
  convert "$work/root.png" \
    -crop "$((right - left + 12))x$((bottom - top + 12))+$((left - 6))+$((top - 6))" +repage "$shots/tray_menu.png" &&
    echo "screenshot $shots/tray_menu.png"
  echo "  (in front while the tray menu shows: $(drv foreground), the main dialog is $main)"
  same "the tray menu has the flat outline too" "$(pixel tray_menu 6 $((6 + (bottom - top) / 2)))" "$outline"
  drv key "$menu_win" 40 13
  check "its first item, Open, shows the window" visible "$main"
else
  fail "no tray menu"; show_toplevels
fi
drv close "$main"
wait_for 15 hidden "$main"
# More right clicks, each menu closed with Escape, so that the count of answered clicks is judged
# over enough of them.
for _ in 1 2 3 4 5; do
  wait_for 10 no_popup "$main_win_pid"
  tray_try 3 1 4 popup_of "$main_win_pid" && drv key "${popup%% *}" 27
done
wait_for 10 no_popup "$main_win_pid" || fail "Escape did not close the tray menu"
launch drovane
second=$app_pid
check "a second start ends" dead "$second"
check "  and shows the hidden first copy" visible "$main"
same "  the first copy still runs" "$(alive "$first" && echo yes)" yes
launch drovane-copy
copy=$app_pid
check "a copy under another name runs beside it" bash -c "[ \$(wine '$driver' windows '$caption' 2>/dev/null | wc -l) -eq 2 ]"
copy_win=$(windows_of "$caption" | awk -v w="$main" '$1 != w { print $1; exit }')
[ -n "$copy_win" ] && drv command "$copy_win" 2
check "  and Escape (Cancel) ends it" dead "$copy"

echo "== the tray menu's About"
if tray_choose "$main_win_pid" 2 && wait_for 15 about_open; then
  ok "the tray menu's About opens it"
  drv click "$about" 1
  check "  and OK closes it" about_closed
else
  fail "the tray menu's About opened nothing"; show_toplevels
fi

echo "== the tray icon after the notification area is made anew"
# What a restarted Windows shell does: its icons are gone, and it tells every window so. (The
# tray itself is not restarted: Wine docks its icons again in a new XEmbed tray on its own, which
# says nothing of the program.)
icon_adds() { grep -c 'Call shell32.Shell_NotifyIconW(0*,' "$first_log"; }
adds=$(icon_adds)
drv trayremove "$main_win_pid" 149 || fail "the driver could not take the icon away"
check "an icon the shell lost leaves the panel" eval "! tray_icon >/dev/null"
drv taskbarcreated
check "told of a new notification area, the program adds its icon again" eval "tray_icon >/dev/null"
added_again() { [ "$(icon_adds)" -gt "$adds" ]; }
check "  with its own Shell_NotifyIconW(NIM_ADD)" added_again
drv close "$main"
wait_for 15 hidden "$main"
# A newly docked icon can still be moving into its place, and the hidden window's focus going
# elsewhere: one double click once the icon has stayed in one place and the focus has settled.
icon_place() { local icon; icon=$(tray_icon) && echo "$icon $(geometry "$icon")"; }
icon_settled() {
  local before
  before=$(icon_place) || return 1
  sleep 0.3
  [ "$(icon_place)" = "$before" ]
}
wait_for 10 icon_settled || echo "(the icon did not settle in 10 s: $(icon_place))"
tray_until 1 2 5 visible "$main" && ok "  and a double click on it shows the window" ||
  fail "  and a double click on it shows the window"

echo "== clicks on the tray icon"
answered=$((tray_clicks - tray_misses))
if [ $tray_misses -le $tray_miss_limit ]; then
  ok "the tray icon answered $answered of $tray_clicks clicks (limit: at most $tray_miss_limit unanswered)"
else
  fail "the tray icon answered $answered of $tray_clicks clicks (limit: at most $tray_miss_limit unanswered)"
fi

rig_summary "win32 tray rig"
