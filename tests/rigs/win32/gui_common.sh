# Sourced by the Windows GUI rigs: runs drovane.exe under Wine in a private prefix, on a private
# Xvfb with openbox and an XEmbed tray (trayer), drives it with a console driver run under the same
# Wine server (rig-driver.exe) and with xdotool, and gives the rigs their shared helpers. Wine's
# Beep is silent, so the sound is checked at the call: Wine's relay trace logs every Beep with its
# frequency and length. The program speaks Korean, with a Korean user interface, unless a rig
# switches to English.
# Usage, at a rig's top: . gui_common.sh RIG_NAME DROVANE_EXE RIG_DRIVER_EXE SCREENSHOT_DIR
rig_name=$1
exe=$2
driver_exe=$3
shots=$4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/../../../tools/rig/desktop.sh"
. "$here/../../../tools/rig/wine_desktop.sh"
. "$here/../../../tools/rig/checks.sh"
. "$here/../../../tools/rig/x11_windows.sh"
RIG_POLL_SECONDS=0.1

rig_open "$rig_name" Xvfb openbox trayer xdotool xwininfo import convert wine wineserver python3
started=()  # the Wine programs this rig started, by their process ids
cleanup() {
  local p
  for p in "${started[@]}"; do kill -KILL "$p" 2>/dev/null; done
  rig_wine_stop
  rig_desktop_stop
}
mkdir -p "$shots"

# check WHAT COMMAND...: "ok" once COMMAND succeeds within 15 s, else "FAIL".
check() { expect_within 15 "$@"; }
# same WHAT GOT EXPECTED
same() { if [ "$2" = "$3" ]; then ok "$1"; else fail "$1: got '$2', expected '$3'"; fi; }

# The desktop and the prefix.
# Tall enough for the window at 192 dpi (about 800 px with its frame).
RIG_SCREEN=1280x1024 rig_desktop_start "$work" || exit 1
# A blue desktop: what the menus' shadows darken must not be black.
convert -size 8x8 xc:'#3C78B4' "$work/desktop.png" && { display -window root "$work/desktop.png" 2>/dev/null || true; }
rig_tray_start "$work" || exit 1
t0=$(date +%s.%N)
rig_wine_start "$work" || exit 1
echo "display $DISPLAY; prefix ready in $(awk -v a="$t0" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }') s"
# The driver measures and reads in the locale the program runs in (dialog units follow its font).
locale=C.UTF-8
drv() { LOCPATH=$work/locale LC_ALL=$locale wine "$driver" "$@" 2>/dev/null; }
# What oleacc tells a screen reader, its role names in English.
msaa() { wine "$driver" msaa "$@" 2>/dev/null; }
# The program's Beep calls go to the relay trace, with its shell calls and the tray menu's.
wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /t REG_SZ \
  /d 'kernel32.Beep;kernelbase.Beep;shell32.ShellExecuteW;shell32.Shell_NotifyIconW;user32.TrackPopupMenu;user32.SetForegroundWindow;user32.EndMenu' /f >/dev/null 2>&1
# Wine hands web pages to the desktop's handler: this one only writes down what it was asked.
mkdir -p "$work/path"
printf '#!/bin/sh\necho "$*" >>"%s"\n' "$work/opened.txt" >"$work/path/xdg-open"
chmod +x "$work/path/xdg-open"
export PATH=$work/path:$PATH

# The program where users put it: a folder with a space, its page beside it.
apps="$WINEPREFIX/drive_c/Program Files/Drovane Rig"
mkdir -p "$apps"
cp "$exe" "$apps/drovane.exe"
cp "$exe" "$apps/drovane-copy.exe"
cp -r "$(dirname "$exe")/page" "$apps/page" 2>/dev/null
cp "$driver_exe" "$work/rig-driver.exe"
driver=$work/rig-driver.exe
winpath='C:\Program Files\Drovane Rig\drovane.exe'

# The program speaks Korean here, with a Korean user interface, and English in the last start.
for locale in en_US.UTF-8 ko_KR.UTF-8; do
  rig_wine_locale "$work/locale" "$locale" || { fail "the locale $locale cannot be made"; exit 1; }
done
locale=ko_KR.UTF-8
caption='모기 퇴치용 프로그램 v1.0'
about_caption='About Drovane'
run=Software\\Microsoft\\Windows\\CurrentVersion\\Run
product=SOFTWARE\\Corvell\\Drovane

# launch NAME: starts NAME.exe with the Beep trace in $work/NAME.N.log; sets app_pid, app_log.
launches=0
launch() {
  launches=$((launches + 1))
  app_log=$work/$1.$launches.log
  LOCPATH=$work/locale LC_ALL=$locale WINEDEBUG=+timestamp,+relay \
    setsid wine "$apps/$1.exe" </dev/null >"$app_log" 2>&1 &
  app_pid=$!
  started+=("$app_pid")
  rig_track_pid "$app_pid"
}
# windows_of CAPTION: "hwnd pid visible iconic" lines.
windows_of() { drv windows "$1"; }
# show_toplevels: every top-level window and process as Wine has them, whether a running copy's
# marker is held, and the last start's own trace: what a failed check met.
show_toplevels() {
  echo "top-level windows:"
  drv toplevels | sed 's/^/  /'
  echo "processes:"
  drv processes | sed 's/^/  /'
  echo "the running copy's marker: $(drv marker drovane)"
  echo "errors and exceptions any start met:"
  grep -H -E 'err:|xception|Backtrace' "$work"/*.log 2>/dev/null | tail -n 15 | sed 's/^/  /'
  echo "what the last start was sent that can end it (keys, commands, closes), first 20:"
  grep -E 'Call (window|dialog) proc.*msg=WM_(KEY|SYSKEY|CHAR|COMMAND|CLOSE|SYSCOMMAND|QUERYENDSESSION|ENDSESSION|COPYDATA|APP)' \
    "$app_log" | head -n 20 | sed 's/^/  /'
  echo "what the last start wrote, less its Beep calls and library loads:"
  grep -v 'Beep\|PE DLL\|TLS callback' "$app_log" | tail -n 30 | sed 's/^/  /'
}
# main: the first copy's main window handle.
find_main() { main=$(windows_of "$caption" | awk 'NR == 1 { print $1 }'); [ -n "$main" ]; }
visible() { [ "$(windows_of "$caption" | awk -v w="$1" '$1 == w { print $3 }')" = 1 ]; }
hidden() { [ "$(windows_of "$caption" | awk -v w="$1" '$1 == w { print $3 }')" = 0 ]; }
win_pid() { windows_of "$caption" | awk -v w="$1" '$1 == w { print $2 }'; }
text_is() { [ "$(drv text "$1" "$2")" = "$3" ]; }
checked_is() { [ "$(drv checked "$1" "$2")" = "$3" ]; }
client_height_is() { [ "$(drv rect "$1" | awk '{ print $6 }')" = "$2" ]; }
reg_is() { [ "$(drv regread "$1" "$2" "$3")" = "$4" ]; }
reg_missing() { ! drv regread "$1" "$2" "$3" >/dev/null; }
# The message box of the program's process: "hwnd|caption|text".
box_of() { box=$(drv messagebox "$1") && [ -n "$box" ]; }
no_box() { ! drv messagebox "$1" >/dev/null; }
# answer_box PID WHAT CAPTION TEXT BUTTON: checks the box that came up, then presses BUTTON.
answer_box() {
  local pid=$1 what=$2 title=$3 text=$4 button=$5
  if wait_for 15 box_of "$pid"; then
    same "$what: title" "$(cut -d'|' -f2 <<<"$box")" "$title"
    same "$what: text" "$(cut -d'|' -f3- <<<"$box")" "$text"
    drv command "$(cut -d'|' -f1 <<<"$box")" "$button"
    wait_for 15 no_box "$pid" || fail "$what: the box did not close"
  else
    fail "$what: no message box"
  fi
}
# beeps LOG: the Beep calls so far, as "hz ms" in decimal.
beeps() {
  grep -o 'Call KERNEL32.Beep([0-9a-f]*,[0-9a-f]*)' "$1" 2>/dev/null |
    sed -E 's/.*\(([0-9a-f]+),([0-9a-f]+)\)/\1 \2/' |
    while read -r f d; do echo "$((16#$f)) $((16#$d))"; done
}
beeped() { beeps "$1" | grep -qx "$2"; }
beep_count() { beeps "$1" | wc -l; }
# The X window of a caption, for screenshots and keys.
xwindow() { xdotool search --name "^$1\$" 2>/dev/null | head -n1; }
# shoot NAME XWINDOW [MARGIN]: a screenshot of the window and a margin round it.
shoot() {
  local g m=${3:-6}
  # xwininfo without a window waits for a click: never here.
  [ -n "$2" ] || { fail "no X window to take $1 of"; return; }
  g=$(xwininfo -id "$2" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
    /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x, y, w, h }')
  read -r x y w h <<<"$g"
  import -window root "$work/root.png" &&
    convert "$work/root.png" -crop "$((w + 2 * m))x$((h + 2 * m))+$((x > m ? x - m : 0))+$((y > m ? y - m : 0))" \
      +repage "$shots/$1.png" && echo "screenshot $shots/$1.png"
}
# shoot_area NAME LEFT TOP WIDTH HEIGHT [MARGIN]: a screenshot of a screen rectangle and a margin
# (less at the screen's left and top edges: the rectangle's corner is at (min(LEFT, MARGIN),
# min(TOP, MARGIN)) in the picture).
shoot_area() {
  local m=${6:-6}
  import -window root "$work/root.png" &&
    convert "$work/root.png" -crop "$(($4 + 2 * m))x$(($5 + 2 * m))+$(($2 > m ? $2 - m : 0))+$(($3 > m ? $3 - m : 0))" \
      +repage "$shots/$1.png"
}
# rgb IMAGE X Y: a pixel of IMAGE as three numbers 0 to 255.
rgb() { convert "$1" -crop "1x1+$2+$3" -depth 8 rgb:- | od -An -tu1; }
# shadow_darkens WHAT BEFORE AFTER LEFT TOP RIGHT BOTTOM: checks the four shadow rows below and
# the four columns right of the menu window (LEFT TOP RIGHT BOTTOM, shadow included) in the
# screen AFTER: each pixel is what the screen BEFORE showed there at 78, 83, 88 and 93 per cent
# from the inside out (within 2 for rounding). Pixels off the screen are left out. The columns are
# sampled half-way down the menu: a tray menu may sit in the screen's corner, its lower end beside
# the tray's dark panel, where no darkening can be judged.
shadow_darkens() {
  local what=$1 before=$2 after=$3 l=$4 t=$5 r=$6 b=$7 k pct x y bad= seen=0 sw sh
  read -r sw sh <<<"$(identify -format '%w %h' "$after")"
  for k in 0 1 2 3; do
    pct=$((78 + 5 * k))
    for x_y in "$((r - 4 + k)) $(((t + b) / 2))" "$((l + 20)) $((b - 4 + k))"; do
      read -r x y <<<"$x_y"
      [ "$x" -ge 0 ] && [ "$x" -lt "$sw" ] && [ "$y" -ge 0 ] && [ "$y" -lt "$sh" ] || continue
      seen=$((seen + 1))
      read -r br bg bb <<<"$(rgb "$before" "$x" "$y")"
      read -r ar ag ab <<<"$(rgb "$after" "$x" "$y")"
      if [ $((br + bg + bb)) -lt 60 ] ||
        ! awk -v p="$pct" -v b="$br $bg $bb" -v a="$ar $ag $ab" 'BEGIN {
            split(b, u); split(a, v)
            for (i = 1; i <= 3; ++i) { d = v[i] - int(u[i] * p / 100); if (d < -2 || d > 2) exit 1 }
          }'; then
        bad="$bad ($x,$y): $ar $ag $ab over $br $bg $bb at $pct %;"
      fi
    done
  done
  if [ "$seen" -eq 0 ]; then
    fail "$what's shadow lies off the screen ($l $t $r $b)"
  elif [ -z "$bad" ]; then
    ok "$what's shadow darkens what lay beneath to 78 to 93 per cent ($seen pixels)"
  else
    fail "$what's shadow:$bad"
  fi
}
# pixel NAME X Y: the colour of a saved screenshot's pixel as "#RRGGBB".
pixel() { convert "$shots/$1.png" -format "%[hex:p{$2,$3}]" info: | cut -c1-6 | sed 's/^/#/'; }
popup_of() { popup=$(drv popups "$1" | head -n1) && [ -n "$popup" ]; }
no_popup() { ! drv popups "$1" >/dev/null; }
focused_is() { [ "$(drv focused "$1")" = "$2" ]; }
# msaa_line WINDOW ID: what oleacc gives a screen reader of that control, "role|name".
msaa_line() { msaa "$1" | awk -F'|' -v id="$2" '$1 == id { print $2 "|" $3; exit }'; }
# The About box, shown.
about_open() { about=$(windows_of "$about_caption" | awk '$3 == 1 { print $1; exit }') && [ -n "$about" ]; }
about_closed() { ! about_open; }

# start_main: launches drovane and waits for its window; sets main, xmain, the process (app_pid,
# app_log) and the window's own process id (main_win_pid). Ends the rig when no window comes.
start_main() {
  launch drovane
  if ! wait_for 30 find_main || ! wait_for 15 visible "$main"; then
    fail "no window titled $caption"; show_toplevels; exit 1
  fi
  xmain=$(xwindow "$caption")
  main_win_pid=$(win_pid "$main")
}
