#!/usr/bin/env bash
# Start-up figures of the drovane program: time from launching the process to its window being
# mapped and to the first sample of sound, and the idle program's resident memory. Runs the
# program several times under a private X server, window manager, tray and PulseAudio null sink.
# Usage: bench/startup_figures.sh [DROVANE [RIG_ANALYZE [RUNS]]]   (defaults: the release build, 5)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prog=${1:-$root/build/release/bin/drovane}
analyze=${2:-$root/build/release/tools/rig-analyze}
runs=${3:-5}
# rig-capture, in linux/ beside rig-analyze, notes when each recorded block arrived: it places the
# first sound in wall-clock time.
export RIG_CAPTURE=$(dirname "$analyze")/linux/rig-capture
for f in "$prog" "$analyze" "$RIG_CAPTURE"; do
  [ -x "$f" ] || { echo "startup_figures: $f is missing; build it first" >&2; exit 1; }
done
. "$root/tools/rig/pulse_server.sh"
. "$root/tools/rig/desktop.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/drovane-startup.XXXXXX")
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill -KILL "$app_pid" 2>/dev/null
  rig_record_stop
  rig_pulse_stop
  rig_desktop_stop
  rm -rf "$work"
}
trap cleanup EXIT
rig_pulse_env "$work/env"
rig_desktop_start "$work" || exit 1
rig_tray_start "$work" || exit 1
rig_pulse_start || exit 1

mapped_ms=()
sound_ms=()
rss_mb=()
cpu_pct=()
for run in $(seq "$runs"); do
  rm -rf "$XDG_CONFIG_HOME/drovane"
  rig_record_start "$work/run$run.raw"
  sleep 2.5  # the null sink delivers in 2 s blocks: start recording well before the sound
  t0=$(rig_now)
  "$prog" >"$work/run$run.log" 2>&1 &
  app_pid=$!
  t_mapped=
  for _ in $(seq 2000); do
    w=$(xdotool search --all --pid "$app_pid" --name '^(모기 퇴치용|Mosquito Repeller)' 2>/dev/null | head -n1)
    if [ -n "$w" ] && xwininfo -id "$w" 2>/dev/null | grep -q IsViewable; then
      t_mapped=$(rig_now)
      break
    fi
  done
  sleep 1
  cpu0=$(rig_cpu_seconds "$app_pid")
  sleep 2
  cpu1=$(rig_cpu_seconds "$app_pid")
  rss=$(awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$app_pid/status")
  cpu_pct+=($(awk -v a="$cpu0" -v b="$cpu1" 'BEGIN { printf "%.1f", (b - a) / 2 * 100 }'))
  kill -TERM "$app_pid"
  wait "$app_pid" 2>/dev/null
  app_pid=
  rig_record_stop
  onset=$("$analyze" "$work/run$run.raw" | awk '/^onset_frame/ { print $2 }')
  ms() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%d", (b - a) * 1000 }'; }
  [ -n "$t_mapped" ] && mapped_ms+=($(ms "$t0" "$t_mapped"))
  if [ -n "$onset" ] && t_sound=$(rig_sample_time "$work/run$run.raw" "$onset"); then
    sound_ms+=($(ms "$t0" "$t_sound"))
  fi
  rss_mb+=("$rss")
  echo "run $run: window mapped ${mapped_ms[-1]:-?} ms, first sound ${sound_ms[-1]:-?} ms, idle RSS ${rss} MB, CPU ${cpu_pct[-1]} %"
done

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "?" }'; }
echo "median of $runs runs ($(basename "$prog")):"
echo "  window mapped:  $(median "${mapped_ms[@]}") ms after launch"
echo "  first sound:    $(median "${sound_ms[@]}") ms after launch (at the latest: when its recorded block arrived)"
echo "  idle resident:  $(median "${rss_mb[@]}") MB"
echo "  CPU while the window idles and the sweep plays: $(median "${cpu_pct[@]}") % of one core"
