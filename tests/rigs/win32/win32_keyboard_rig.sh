#!/usr/bin/env bash
# The Windows keyboard and links rig: the banner and the About box's maker name are links that a
# click, Enter or Space opens; Tab passes over the folded settings; screen readers get each
# control's role and name; the About box opens from the Help and system menus, shows its texts
# whole, blinks its version line, and closes with OK or Escape. Saves screenshots of the focused
# links and the About box.
# Usage: win32_keyboard_rig.sh DROVANE_EXE RIG_DRIVER_EXE SCREENSHOT_DIR
set -uo pipefail
. "$(dirname "$0")/gui_common.sh" win32-keyboard-rig "$@"

# The pages the program opened so far; more than N of them.
pages_opened() { grep -c 'ShellExecuteW(.*L"open".*page\\\\index\.html' "$app_log"; }
opened_more() { [ "$(pages_opened)" -gt "$1" ]; }

start_main
echo "== the banner links to the program's page"
# Its clicks are the dialog's.
read -r bx by <<<"$(drv itemcentre "$main" 1010)"
xdotool mousemove "$bx" "$by"
sleep 0.3
xdotool click 1
check "a click on the banner opens the program's page" opened_more 0

echo "== the keyboard and screen readers"
drv focus "$main" 133
check "the focus on Details" focused_is "$main" 133
drv keyfocused "$main" 9
check "Tab from Details passes over the folded settings to the check box" focused_is "$main" 1006
drv keyfocused "$main" 9
check "Tab then reaches the banner" focused_is "$main" 1010
shoot banner_focus "$xmain"
before=$(pages_opened)
drv keyfocused "$main" 13
check "Enter on the banner opens the program's page" opened_more "$before"
check "  and leaves the window shown" visible "$main"
before=$(pages_opened)
drv keyfocused "$main" 32
check "Space on the banner opens it too" opened_more "$before"
msaa "$main" >"$work/msaa_main.txt"
echo "oleacc reads the main window's controls (id|role|name|state):"
sed 's/^/  /' "$work/msaa_main.txt"
# Wine 8's oleacc has proxies for edits ("text", named after the label before them) but none for
# buttons: those are a "client" named by their text. The links answer for themselves.
while IFS='|' read -r id role name; do
  same "oleacc: control $id is named '$name'" "$(awk -F'|' -v id="$id" '$1 == id { print $3; exit }' "$work/msaa_main.txt")" "$name"
  [ -z "$role" ] ||
    same "  and is a $role" "$(awk -F'|' -v id="$id" '$1 == id { print $2; exit }' "$work/msaa_main.txt")" "$role"
done <<'ACCESSIBLE'
1010|link|Drovane home page
1007||닫기
131||시작
132||멈춤
133||상세보기>>
1002|text|Frequency
1003|text|(Hz) to
1004|text|Delay
1005|text|Step
ACCESSIBLE

echo "== About"
drv command "$main" 57664
if wait_for 15 about_open; then
  ok "Help > About opens the About box"
  check "version line" text_is "$about" 1011 "Drovane Version 1.0"
  same "notice line" "$(drv text "$about" 1014)" "Copyright © 2026"
  same "maker's name" "$(drv text "$about" 1008)" "Corvell Co LTD"
  # Wine's fonts are wider than the template's: the labels are widened to their texts. (The
  # version line is measured while it blinks, sometimes empty: the maker's name and the notice
  # are the ones that overflow.)
  for id in 1008 1014; do
    read -r tw lw lr cw <<<"$(drv textfit "$about" "$id")"
    if [ "$tw" -le "$lw" ] && [ "$lr" -le "$cw" ]; then
      ok "label $id holds its text on one line (${tw} px in ${lw}, right edge ${lr} of ${cw})"
    else
      fail "label $id: text ${tw} px in a label ${lw} px wide, right edge ${lr} of ${cw}"
    fi
  done
  check "the version line blinks: empty" text_is "$about" 1011 ""
  check "  and back" text_is "$about" 1011 "Drovane Version 1.0"
  # The box sets its region as it paints, and may still be growing to its labels: each poll
  # compares the region with the size of the moment.
  trims_outermost() {
    local w h
    read -r _ _ w h _ _ <<<"$(drv rect "$1")"
    [ "$(drv region "$1")" = "1 1 $((w - 1)) $((h - 1))" ]
  }
  if wait_for 15 trims_outermost "$about"; then ok "the About box trims its outermost pixel"
  else fail "the About box trims its outermost pixel: region $(drv region "$about"), rect $(drv rect "$about")"; fi
  same "it is the main window's last active pop-up" "$(drv owned "$main")" "$about"
  drv command "$main" 57664
  sleep 1
  same "a second About while shown opens no other" "$(windows_of "$about_caption" | wc -l)" 1
  sleep 0.3
  shoot about "$(xwindow "$about_caption")"
  # The maker's name is a link: a click on it opens the page with the shell.
  before=$(pages_opened)
  read -r lx ly <<<"$(drv itemcentre "$about" 1008)"
  # Wine looks at where the pointer is before it takes the click.
  xdotool mousemove "$lx" "$ly"
  sleep 0.3
  xdotool click 1
  check "a click on the maker's name opens the program's page" opened_more "$before"
  same "oleacc: the maker's name is a link so named" "$(msaa_line "$about" 1008)" "link|Corvell Co LTD"
  drv focus "$about" 1
  drv keyfocused "$about" 9
  check "Tab from OK reaches the maker's name" focused_is "$about" 1008
  shoot about_link_focus "$(xwindow "$about_caption")"
  before=$(pages_opened)
  drv keyfocused "$about" 13
  check "Enter on it opens the program's page" opened_more "$before"
  check "  and the box stays open" about_open
  drv click "$about" 1
  check "OK closes it" about_closed
else
  fail "Help > About opened nothing"; show_toplevels
fi
drv syscommand "$main" 16
if wait_for 15 about_open; then
  ok "the system menu's About item opens it"
  drv command "$about" 2
  check "Escape (Cancel) closes it" about_closed
else
  fail "the system menu's About item opened nothing"; show_toplevels
fi

rig_summary "win32 keyboard rig"
