#!/usr/bin/env bash
# Figures of the drovane program while its banner animates: the CPU it uses over 30 s with the
# sweep stopped (the banner alone) and playing, its resident memory, and how that memory changes
# over a longer run. Runs the program under a private X server, window manager, tray and
# PulseAudio null sink; plays nothing through real speakers.
# Usage: bench/banner_figures.sh [DROVANE [LONG_RUN_SECONDS]]   (defaults: the release build, 600)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prog=${1:-$root/build/release/bin/drovane}
long=${2:-600}
[ -x "$prog" ] || { echo "banner_figures: $prog is missing; build it first" >&2; exit 1; }
. "$root/tools/rig/pulse_server.sh"
. "$root/tools/rig/desktop.sh"

rig_ledger_open banner-figures
work=$(mktemp -d "${TMPDIR:-/tmp}/drovane-banner-figures.XXXXXX")
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
rig_desktop_start "$work" || exit 1
rig_tray_start "$work" || exit 1
rig_pulse_start || exit 1

rss_mb() { awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
# thread_ticks PID: "tid name ticks" for every thread of the process.
thread_ticks() {
  local t
  for t in /proc/"$1"/task/*; do
    echo "${t##*/} $(tr ' ' '_' <"$t/comm") $(awk '{ print $14 + $15 }' "$t/stat")"
  done
}
# cpu_percent PID SECONDS: % of one core the process used over the next SECONDS; the share of
# each thread goes to $work/threads.txt (the main thread is the window's, "threaded-ml" and its
# stream thread the sound's, the others the banner's and the players').
cpu_percent() {
  local a b
  thread_ticks "$1" >"$work/before.txt"
  a=$(rig_cpu_seconds "$1")
  sleep "$2"
  b=$(rig_cpu_seconds "$1")
  thread_ticks "$1" >"$work/after.txt"
  awk -v s="$2" -v hz="$(getconf CLK_TCK)" -v main="$1" '
    NR == FNR { before[$1] = $3; next }
    { printf "    thread %s (%s%s): %.2f %%\n", $1, $2, $1 == main ? ", main" : "",
        ($3 - before[$1]) / hz / s * 100 }' "$work/before.txt" "$work/after.txt" >"$work/threads.txt"
  awk -v a="$a" -v b="$b" -v s="$2" 'BEGIN { printf "%.2f", (b - a) / s * 100 }'
}

"$prog" >"$work/drovane.log" 2>&1 &
app_pid=$!
rig_track_pid "$app_pid"
for _ in $(seq 400); do
  win=$(xdotool search --all --pid "$app_pid" --name '^(모기 퇴치용|Mosquito Repeller)' 2>/dev/null | head -n1)
  [ -n "$win" ] && xwininfo -id "$win" 2>/dev/null | grep -q IsViewable && break
  sleep 0.05
done
[ -n "$win" ] || { echo "banner_figures: no window" >&2; exit 1; }
sleep 3
playing=$(cpu_percent "$app_pid" 30)
cp "$work/threads.txt" "$work/threads-playing.txt"
rss_playing=$(rss_mb "$app_pid")
# Stop the sweep (File > Stop): what is left is the banner.
xdotool windowactivate --sync "$win" >/dev/null 2>&1
xdotool key --delay 60 alt+f t
sleep 2
banner=$(cpu_percent "$app_pid" 30)
rss_start=$(rss_mb "$app_pid")
echo "CPU over 30 s, banner animating, sweep stopped: ${banner} % of one core"
cat "$work/threads.txt"
echo "CPU over 30 s, banner animating, sweep playing: ${playing} % of one core"
cat "$work/threads-playing.txt"
echo "resident memory: ${rss_start} MB (sweep stopped), ${rss_playing} MB (playing)"
echo "running ${long} s more with the banner animating..."
sleep "$long"
rss_end=$(rss_mb "$app_pid")
echo "resident memory after ${long} s more: ${rss_end} MB (was ${rss_start} MB)"
