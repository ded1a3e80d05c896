#!/usr/bin/env bash
# The accessibility rig: runs the real drovane under a private Xvfb with openbox, a private session
# bus and its own accessibility bus (at-spi-bus-launcher), and walks the program's accessibility
# tree as a screen reader does (a11y_walk.py, pyatspi): names, roles, relations and states of the
# controls, the menus and the About box, the focus order by Tab in the compact and the expanded
# view, the links' actions and keys against a recording xdg-open, and the check box's action and
# Space against the start-at-logon entry. Then, on a fresh start, Orca speaking through
# speech-dispatcher into a file, worked with the keyboard as a blind user would (orca_checks.py).
# No sound server: the program keeps time silently.
# Usage: a11y_rig.sh DROVANE
set -uo pipefail
prog=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../../tools/rig/pulse_server.sh"
. "$here/../../../tools/rig/desktop.sh"
. "$here/../../../tools/rig/session_bus.sh"
. "$here/../../../tools/rig/checks.sh"
. "$here/../../../tools/rig/x11_windows.sh"

launcher=/usr/libexec/at-spi-bus-launcher
/usr/bin/python3 -c 'import pyatspi, orca.orca_platform' 2>/dev/null || { echo "a11y rig: pyatspi or orca is missing (run scripts/install-deps test)" >&2; exit 1; }

rig_open a11y-rig Xvfb openbox xdotool xwininfo convert dbus-daemon /usr/bin/python3 "$launcher" speech-dispatcher
started=()
helpers=()  # the accessibility bus and its registry, which the launcher starts
# descendants PID: every process below PID (the accessibility bus and its registry).
descendants() {
  local child
  for child in $(cat /proc/"$1"/task/*/children 2>/dev/null); do echo "$child"; descendants "$child"; done
}
cleanup() {
  local p
  rig_stop "${started[@]}"
  for p in "${helpers[@]}"; do kill -TERM "$p" 2>/dev/null; done
  rig_bus_stop
  rig_desktop_stop
}

# The private folders of a session (sound output silent: ALSA knows no device), then the desktop,
# its bus and the accessibility bus on it.
rig_pulse_env "$work/env"
rig_desktop_start "$work" || exit 1
rig_bus_start "$work" || exit 1
"$launcher" --launch-immediately >"$work/launcher.log" 2>&1 &
started+=($!)
rig_track_pid "$!"
a11y_bus() { dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress 2>/dev/null | grep -q unix; }
wait_for 10 a11y_bus || { fail "no accessibility bus"; cat "$work/launcher.log"; exit 1; }
launcher_pid=${started[0]}
# track_helpers: records what the launcher has started so far.
track_helpers() {
  local p
  for p in $(descendants "$launcher_pid"); do
    [[ " ${helpers[*]} " == *" $p "* ]] && continue
    helpers+=("$p")
    rig_track_pid "$p"
  done
}
track_helpers

# The desktop's handler for addresses: this one only writes down what it was asked to open.
mkdir -p "$work/bin" "$work/share" "$work/path"
cp "$prog" "$work/bin/drovane"
cp -r "$(dirname "$prog")/../share/drovane" "$work/share/"
opened=$work/opened.txt
: >"$opened"
printf '#!/bin/sh\necho "$1" >>"%s"\n' "$opened" >"$work/path/xdg-open"
chmod +x "$work/path/xdg-open"
export PATH=$work/path:$PATH

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
"$work/bin/drovane" >>"$work/drovane.log" 2>&1 &
app_pid=$!
started=("$app_pid" "${started[@]}")
rig_track_pid "$app_pid"
main_window() { xdotool search --all --pid "$app_pid" --name '^(모기 퇴치용 프로그램|Mosquito Repeller) v1\.0$' 2>/dev/null | head -n1; }
window_up() { win=$(main_window); [ -n "$win" ] && viewable "$win"; }
wait_for 10 window_up || { fail "no window"; cat "$work/drovane.log"; exit 1; }
# The registry comes when the program first registers.
track_helpers

t0=$EPOCHREALTIME
/usr/bin/python3 "$here/a11y_walk.py" "$app_pid" "$opened" \
  "$XDG_CONFIG_HOME/autostart/Drovane Startup.desktop" || failures=$((failures + 1))
echo "the walk took $(awk -v a="$t0" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }') s"

# --- Orca, on a fresh start of the program: what a blind user hears ------------------------------
rig_stop "$app_pid"
started=("${started[@]:1}")
# speech-dispatcher with one output module, which writes each text it is given to a file; libao's
# silent driver stands for the sound card that the module opens all the same. The module recodes
# text of a language it does not list to ISO-8859-1 (Hangul to '?'), and Orca on Python 3.12 or
# later asks for language "c" under the C.UTF-8 locale (Python 3.11 read it as en_US). The charset
# is "UTF8", not "utf-8": speech-dispatcher 0.12's module passes a key or character it is not to
# recode from a buffer already freed, and speaks garbage.
speech=$work/speech
spoken=$work/spoken.txt
mkdir -p "$speech/modules" "$speech/log"
: >"$spoken"
printf 'default_driver=null\n' >"$HOME/.libao"
cat >"$speech/speechd.conf" <<CONF
LogDir "$speech/log"
AudioOutputMethod "libao"
AddModule "record" "sd_generic" "record.conf"
DefaultModule record
CONF
cat >"$speech/modules/record.conf" <<CONF
GenericExecuteSynth "printf '%s\\\\n' \\'\$DATA\\' >>'$spoken'"
AddVoice "en" "male1" "record"
AddVoice "ko" "male1" "record"
GenericLanguage "en" "english" "UTF8"
GenericLanguage "ko" "korean" "UTF8"
GenericLanguage "c" "english" "UTF8"
CONF
speech-dispatcher -s -t 0 -c unix_socket -S "$work/speechd.sock" -C "$speech" \
  -m /usr/lib/speech-dispatcher-modules >"$work/speechd.log" 2>&1 &
started+=($!)
rig_track_pid "$!"
export SPEECHD_ADDRESS=unix_socket:$work/speechd.sock
wait_for 10 test -S "$work/speechd.sock" || { fail "speech-dispatcher did not start"; cat "$work/speechd.log"; }

"$work/bin/drovane" >>"$work/drovane.log" 2>&1 &
app_pid=$!
started=("$app_pid" "${started[@]}")
rig_track_pid "$app_pid"
wait_for 10 window_up || { fail "no window on the second start"; exit 1; }
/usr/bin/python3 "$here/orca_run.py" >"$work/orca.log" 2>&1 &
started+=($!)
rig_track_pid "$!"
timeout 10 xdotool windowactivate --sync "$win" 2>/dev/null
t0=$EPOCHREALTIME
if ! /usr/bin/python3 "$here/orca_checks.py" "$app_pid" "$spoken"; then
  failures=$((failures + 1))
  echo "--- what Orca said:"; cat "$spoken"
  echo "--- Orca's own output:"; tail -n 20 "$work/orca.log"
fi
echo "the checks with Orca took $(awk -v a="$t0" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }') s"

# Nothing on standard error but the silent sound output's notice and, as Qt hands each key to the
# screen reader first and waits a while for it, Qt's note of a reader slowed by a busy machine (the
# key still arrives).
slow_reader='QSpiApplication::(keyEventError|notifyKeyboardListenerCallback)'
# Qt 6.8 warns what 6.4 logs as debug: Orca 48's window:destroy, questions on a closed box, QMessageBox's own text events.
qt_chatter='qt\.accessibility\.atspi: (Subscription string not handled:|Could not find accessible on path:|Received text event for invalid interface\.$)'
expected="cannot open sound output|$slow_reader|$qt_chatter"
echo "Qt waited in vain for the screen reader $(grep -Ec "$slow_reader" "$work/drovane.log") time(s)"
if grep -Ev "$expected" "$work/drovane.log" | grep -q .; then
  fail "drovane wrote to standard error:"; grep -Ev "$expected" "$work/drovane.log"
else
  ok "no warnings on standard error"
fi

rig_summary "a11y rig"
