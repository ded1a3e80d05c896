#!/usr/bin/env bash
# The Windows window rig: the first start (its place, its mark, the sweep with the defaults), the
# commands and their values with the message boxes, the run-at-logon box as an administrator and as
# a standard user, and the ways to end the program.
# Usage: win32_window_rig.sh DROVANE_EXE RIG_DRIVER_EXE SCREENSHOT_DIR
set -uo pipefail
. "$(dirname "$0")/gui_common.sh" win32-window-rig "$@"

echo "== start"
start_main
first=$app_pid
ok "the window $caption is shown"
# Opened the first time, the window is centred on the screen's work area, as a dialog opens.
read -r wl wt ww wh _ _ <<<"$(drv rect "$main")"
read -r al at ar ab <<<"$(drv workarea "$main")"
same "it opens centred in the work area $al $at $ar $ab" "$wl $wt" \
  "$((al + (ar - al - ww) / 2)) $((at + (ab - at - wh) / 2))"
same "the window carries the mark drovane=1234" "$(drv prop "$main" drovane)" 1234
check "the sweep starts at once: Beep(16000, 500)" beeped "$app_log" "16000 500"
check "and goes on: Beep(16010, 500)" beeped "$app_log" "16010 500"
check "the first start stores the defaults" reg_is HKLM "$product" Frequency1 16000

echo "== Set, Start, Stop, Default, with good and bad values"
# The settings show, as a user sets them.
read -r _ _ _ full_h <<<"$(drv dialogunits 0 0 207 215)"
drv click "$main" 133
check "Details shows the settings" client_height_is "$main" "$full_h"
set_edits() { drv settext "$main" 1002 "$1"; drv settext "$main" 1003 "$2"; drv settext "$main" 1004 "$3"; drv settext "$main" 1005 "$4"; }
set_edits 12000 13000 300 5
drv click "$main" 6
check "Set stores Frequency1" reg_is HKLM "$product" Frequency1 12000
check "Set stores Step" reg_is HKLM "$product" Step 5
check "Set restarts the sweep with the new values: Beep(12000, 300)" beeped "$app_log" "12000 300"

set_edits 20000 16000 500 10
drv click "$main" 131
check "Start with the frequencies swapped shows them in order" text_is "$main" 1002 16000
check "  the upper one too" text_is "$main" 1003 20000
check "  and stores them in order" reg_is HKLM "$product" Frequency2 20000

drv settext "$main" 1002 ""
drv click "$main" 131
answer_box "$main_win_pid" "Start with an empty edit" drovane "Please enter an integer." 1
drv settext "$main" 1002 40000
drv click "$main" 131
answer_box "$main_win_pid" "Start with 40000" drovane "Frequency must range from 0 to 32767" 1
same "a refused start stores nothing" "$(drv regread HKLM "$product" Frequency1)" 16000
drv settext "$main" 1004 -1
drv settext "$main" 1002 16000
drv click "$main" 6
answer_box "$main_win_pid" "Set with a negative delay" drovane "Delay must range from 0 to 32767" 1

set_edits 1 2 3 4
drv click "$main" 7
check "Default shows 16000" text_is "$main" 1002 16000
check "  20000" text_is "$main" 1003 20000
check "  500" text_is "$main" 1004 500
check "  10" text_is "$main" 1005 10
check "  and stores them" reg_is HKLM "$product" Delay 500

# A stop is posted: what is counted after it starts from its own Beep(0, 0), not from the click.
# A tone whose Beep was under way when the stop came may still be logged just after it, and
# silenced again at once: the count starts half a second later.
silences() { beeps "$app_log" | grep -cx "0 0"; }
silenced() { [ "$(silences)" -gt "$1" ]; }
silent_before=$(silences)
drv click "$main" 132
check "Stop silences the speaker: Beep(0, 0)" silenced "$silent_before"
sleep 0.5
stopped_at=$(beep_count "$app_log")
sleep 1.5
same "after Stop no tone is played" "$(beep_count "$app_log")" "$stopped_at"
drv command "$main" 3
check "Test Sound plays the melody: Beep(1318, 600)" beeped "$app_log" "1318 600"
silent_before=$(silences)
drv command "$main" 4
check "Stop Test silences it: Beep(0, 0)" silenced "$silent_before"
sleep 0.5
before=$(beep_count "$app_log")
sleep 1.2
same "Stop Test after Stop leaves silence" "$(beep_count "$app_log")" "$before"
same "  the last call is Beep(0, 0)" "$(beeps "$app_log" | tail -n1)" "0 0"
before=$(beep_count "$app_log")
drv click "$main" 131
more_beeps() { [ "$(beep_count "$app_log")" -gt $((before + 2)) ]; }
check "Start plays again" more_beeps

# Run at logon: the machine's Run key, and the user's where that one is closed.
echo "== run at logon"
# The label beside the box moves its check mark only: the Run value follows the box's next click.
read -r lx ly <<<"$(drv itemcentre "$main" 1019)"
xdotool mousemove "$lx" "$ly"
sleep 0.3
xdotool click 1
check "a click on 시작 시 실행하기 ticks the box" bash -c "[ \"\$(wine '$driver' checked $main 1006 2>/dev/null)\" = 1 ]"
# Wine 8 has no proxy for buttons: the box is a "client", ticked or not, named after its label.
same "  screen readers get it named after its label" "$(msaa_line "$main" 1006)" "client|시작 시 실행하기"
same "  and writes no Run value" "$(drv regread HKLM "$run" "Drovane Startup")" ""
# Past the double-click time: a quick second click is a double click, which the label ignores.
sleep 0.8
xdotool click 1
check "a second click unticks it" bash -c "[ \"\$(wine '$driver' checked $main 1006 2>/dev/null)\" = 0 ]"
drv click "$main" 1006
check "the box writes the machine's Run value" reg_is HKLM "$run" "Drovane Startup" "\"$winpath\""
check "the box shows it" checked_is "$main" 1006 1
drv click "$main" 1006
check "a second click removes it" reg_missing HKLM "$run" "Drovane Startup"
# A standard user: the machine's Run and maker keys are read-only; the settings key stays
# writable, as the installer leaves it.
drv lockkey "$run" && drv lockkey 'SOFTWARE\Corvell' || fail "could not lock the machine keys"
drv click "$main" 1006
check "without the machine's Run key, the user's gets the value" reg_is HKCU "$run" "Drovane Startup" "\"$winpath\""
same "  and not the machine's" "$(drv regread HKLM "$run" "Drovane Startup")" ""
check "  the box shows it" checked_is "$main" 1006 1
drv click "$main" 131
sleep 1
if drv messagebox "$main_win_pid" >/dev/null; then fail "a message box came up as a standard user: $(drv messagebox "$main_win_pid")"
else ok "Start stores the settings without a message"; fi
drv click "$main" 1006
check "unticking removes the user's value" reg_missing HKCU "$run" "Drovane Startup"
drv unlockkey "$run"; drv unlockkey 'SOFTWARE\Corvell'

echo "== Exit and Escape"
drv command "$main" 32778
answer_box "$main_win_pid" "Exit, answered No" Exit "Do you really want to exit program?" 7
same "No keeps the program" "$(alive "$first" && echo yes)" yes
drv command "$main" 32778
answer_box "$main_win_pid" "Exit, answered Yes" Exit "Do you really want to exit program?" 6
check "Yes ends the program" dead "$first"

start_main
timeout 10 xdotool windowactivate --sync "$xmain" 2>/dev/null
xdotool key --window "$xmain" Escape keyup Escape 2>/dev/null
check "the Escape key ends the program without a question" dead "$app_pid"

rig_summary "win32 window rig"
