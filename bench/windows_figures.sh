#!/usr/bin/env bash
# Figures of the Windows program: the size of drovane.exe and of its installer, and under Wine
# (private prefix, private X server with openbox and a tray) the time from start to the window
# shown (median of the runs), the program's resident memory and its CPU use while it sweeps.
# Wine's times are Wine's: a real Windows starts a program differently.
# Usage: bench/windows_figures.sh [BUILD_DIR [RUNS]]   (defaults: build/windows, 5)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/windows}
runs=${2:-5}
exe=$build/bin/drovane.exe
setup=$build/drovane-setup.exe
for f in "$exe" "$setup"; do
  [ -f "$f" ] || { echo "windows_figures: $f is missing; build the windows preset first" >&2; exit 1; }
done
. "$root/tools/rig/desktop.sh"
. "$root/tools/rig/wine_desktop.sh"

echo "drovane.exe          $(stat -c %s "$exe") bytes"
echo "drovane-setup.exe    $(stat -c %s "$setup") bytes"

work=$(mktemp -d "${TMPDIR:-/tmp}/drovane-windows-bench.XXXXXX")
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill -KILL "$app_pid" 2>/dev/null
  rig_wine_stop
  rig_desktop_stop
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT
rig_desktop_start "$work" || exit 1
rig_tray_start "$work" || exit 1
rig_wine_start "$work" || exit 1
apps="$WINEPREFIX/drive_c/Program Files/Drovane"
mkdir -p "$apps"
cp "$exe" "$apps/drovane.exe"

now_ms() { date +%s%3N; }
shown() {
  local w
  w=$(xdotool search --name '^(모기 퇴치용 프로그램|Mosquito Repeller) v1\.0$' 2>/dev/null | head -n1)
  [ -n "$w" ] && xwininfo -id "$w" 2>/dev/null | grep -q IsViewable
}
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

run_once() {
  local t0 i
  t0=$(now_ms)
  setsid wine "$apps/drovane.exe" </dev/null >/dev/null 2>&1 &
  app_pid=$!
  for i in $(seq 1500); do shown && break; sleep 0.01; done
  shown_ms=$(( $(now_ms) - t0 ))
}
stop_app() {
  kill -TERM "$app_pid" 2>/dev/null
  wait "$app_pid" 2>/dev/null
  app_pid=
}

# The first start of a fresh prefix also sets the prefix up; it is shown apart.
run_once
echo "first start in a fresh prefix: window shown after ${shown_ms} ms"
stop_app
times=()
for run in $(seq "$runs"); do
  run_once
  times+=("$shown_ms")
  if [ "$run" -eq "$runs" ]; then
    # The sweep plays (silently under Wine) while these are taken.
    sleep 2
    ticks0=$(cpu_ticks "$app_pid")
    sleep 5
    ticks1=$(cpu_ticks "$app_pid")
    rss_kb=$(awk '/^VmRSS/ { print $2 }' "/proc/$app_pid/status")
  fi
  stop_app
done
echo "start to window shown: ${times[*]} ms; median $(printf '%s\n' "${times[@]}" | median) ms"
echo "resident memory while sweeping: $((rss_kb / 1024)) MiB (${rss_kb} kB, Wine's own libraries included)"
echo "CPU while sweeping: $(awk -v t=$((ticks1 - ticks0)) -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.1f", 100 * t / hz / 5 }') % of one core"
