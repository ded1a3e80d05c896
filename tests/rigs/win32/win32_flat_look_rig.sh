#!/usr/bin/env bash
# The Windows flat-look rig: the owner-drawn File menu with its frame joined to the menu bar, its
# outline and its shadow over the desktop, the subclassed menu window, the items' texts for screen
# readers, and the flat buttons' hover and focus frames, the About box's OK among them. Saves
# screenshots of the menu and the buttons.
# Usage: win32_flat_look_rig.sh DROVANE_EXE RIG_DRIVER_EXE SCREENSHOT_DIR
set -uo pipefail
. "$(dirname "$0")/gui_common.sh" win32-flat-look-rig "$@"

start_main
echo "== the flat look"
same "the main dialog takes part in the flat menus (XPWndProp_MenuXP)" "$(drv prop "$main" XPWndProp_MenuXP)" 1
types=$(for id in 1007 131 132 133 6 7 3 4; do drv buttontype "$main" "$id"; done | sort -u)
same "its eight push buttons are owner-drawn" "$types" 11
outline=$(drv syscolor 21)  # COLOR_3DDKSHADOW
# Menu windows get their frames while a window of the program's is in front.
timeout 10 xdotool windowactivate --sync "$xmain" 2>/dev/null
in_front() { [ "$(drv foreground)" = "$main" ]; }
check "the main dialog is in front" in_front
import -window root "$work/before_file_menu.png"
drv menukey "$main" f
if wait_for 10 popup_of "$main_win_pid"; then
  ok "Alt+F opens the File menu"
  read -r menu_win left top right bottom <<<"$popup"
  sleep 0.5
  import -window root "$work/file_menu_screen.png"
  shadow_darkens "the File menu" "$work/before_file_menu.png" "$work/file_menu_screen.png" \
    "$left" "$top" "$right" "$bottom"
  # With the menu bar's File item above it, whose tab the menu's border joins.
  shoot_area file_menu "$left" "$((top - 20))" "$((right - left))" "$((bottom - top + 20))" &&
    echo "screenshot $shots/file_menu.png"
  old_proc=$(drv prop "$menu_win" XPWndProp_OldProc)
  [ -n "$old_proc" ] && [ "$old_proc" != 0 ] && ok "the File menu's window is subclassed" ||
    fail "the File menu's window is not subclassed (XPWndProp_OldProc '$old_proc')"
  mx=$((left < 6 ? left : 6))
  mid=$((6 + 20 + (bottom - top) / 2))
  same "the File menu's outline is the dark shadow colour" "$(pixel file_menu "$mx" "$mid")" "$outline"
  same "  inside it two pixels of the items' paper" "$(pixel file_menu $((mx + 1)) "$mid")" "$(pixel file_menu $((mx + 2)) "$mid")"
  same "  its top border is the outline too, right of the File item" "$(pixel file_menu $((mx + (right - left) / 2)) 26)" "$outline"
  # The owner-drawn items' texts, where the system's menu proxy reads them, and the check marks.
  # Wine 8 has no menu proxy and reads no menu of another process: there the texts are checked
  # in the program's own process, by win32_menu_xp_test.
  if drv menutexts "$main" 0 >"$work/file_menu_texts.txt"; then
    same "the File menu's items give screen readers their texts and check marks" \
      "$(tr '\n' ';' <"$work/file_menu_texts.txt")" "&Start|1;S&top|0;|0;Test Sound|0;Stop Test|0;|0;E&xit|0;"
    same "  and the menu bar's" "$(drv menutexts "$main" | tr '\n' ';')" "&File|0;&Help|0;"
  else
    echo "skip: this Wine reads no menu of another process (the menu texts are win32_menu_xp_test's)"
  fi
  drv msaamenu "$main" >/dev/null 2>&1 && echo "oleacc gives the menu bar an object" ||
    echo "note: this Wine's oleacc has no menu bar object (OBJID_MENU)"
  drv key "$menu_win" 27
  wait_for 10 no_popup "$main_win_pid" || fail "the File menu stayed open"
  # The menu bar stays in menu mode after Escape; it would keep the mouse.
  drv cancelmode "$main"
else
  fail "Alt+F opened no menu"
fi
# A button under the mouse shows the orange frame, one with the focus the blue one.
read -r bl bt bw bh <<<"$(drv itemscreen "$main" 131)"
xdotool mousemove "$((bl + bw / 2))" "$((bt + bh / 2))"
hover_frame() {
  xdotool mousemove_relative 1 0
  shoot_area button_hover "$bl" "$bt" "$bw" "$bh" 4 && [ "$(pixel button_hover 6 $((4 + bh / 2)))" = "#FAC458" ]
}
check "시작 under the mouse shows the orange hover frame" hover_frame && echo "screenshot $shots/button_hover.png"
read -r fl ft fw fh <<<"$(drv itemscreen "$main" 132)"
xdotool mousemove "$((fl + fw / 2))" "$((ft + fh + 40))"
drv focus "$main" 132
focus_frame() {
  shoot_area button_focus "$fl" "$ft" "$fw" "$fh" 4 && [ "$(pixel button_focus 6 $((4 + fh / 2)))" = "#99C6FC" ]
}
check "중지 with the focus shows the blue focus frame" focus_frame && echo "screenshot $shots/button_focus.png"
same "  on the beige ground outside its rounded corners" "$(pixel button_focus 4 4)" "#E8E5D3"
hover_gone() {
  shoot_area button_left "$bl" "$bt" "$bw" "$bh" 4 && [ "$(pixel button_left 6 $((4 + bh / 2)))" != "#FAC458" ]
}
check "  and 시작, left by the mouse, loses its hover frame" hover_gone
rm -f "$shots/button_left.png"


echo "== the About box's OK"
drv command "$main" 57664
if wait_for 15 about_open; then
  sleep 0.3
  read -r ol ot ow oh <<<"$(drv itemscreen "$about" 1)"
  shoot_area about_ok "$ol" "$ot" "$ow" "$oh" 4 && echo "screenshot $shots/about_ok.png"
  same "the About box's OK is a flat button: beige corner" "$(pixel about_ok 4 4)" "#E8E5D3"
  same "  black rounded outline" "$(pixel about_ok $((4 + ow / 2)) 4)" "#000000"
  drv click "$about" 1
  check "OK closes it" about_closed
else
  fail "Help > About opened nothing"; show_toplevels
fi

rig_summary "win32 flat look rig"
