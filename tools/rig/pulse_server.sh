# Sourced by the audio rig and the sound benchmark: a private PulseAudio server with a 48 kHz
# float32 mono null sink, in a folder of its own, started and stopped by process id.
# Runs as root too: outside --system mode the server only warns about it. Every process started
# here is written into the rig's ledger (ledger.sh), so that a killed rig leaves nothing running.
. "$(dirname "${BASH_SOURCE[0]}")/ledger.sh"

# rig_pulse_env DIR: points this shell and its children at the private server in DIR.
rig_pulse_env() {
  local dir=$1
  mkdir -p "$dir/run" "$dir/home" "$dir/config" "$dir/state"
  chmod 700 "$dir/run"
  export XDG_RUNTIME_DIR=$dir/run HOME=$dir/home XDG_CONFIG_HOME=$dir/config XDG_STATE_HOME=$dir/state
  export PULSE_RUNTIME_PATH=$dir/run/pulse PULSE_STATE_PATH=$dir/state/pulse
  export PULSE_SERVER=unix:$dir/run/native PULSE_SINK=rig
  # A client must never start a server of its own: the rig decides when one exists.
  printf 'autospawn = no\n' >"$dir/config/client.conf"
  export PULSE_CLIENTCONFIG=$dir/config/client.conf
  # Nor fall back to a sound card: with an empty configuration ALSA knows no device at all, so
  # nothing the rig plays can reach real speakers.
  : >"$dir/config/alsa.conf"
  export ALSA_CONFIG_PATH=$dir/config/alsa.conf
  unset DBUS_SESSION_BUS_ADDRESS DISPLAY WAYLAND_DISPLAY PIPEWIRE_REMOTE PIPEWIRE_RUNTIME_DIR || true
  RIG_PULSE_DIR=$dir
}

# rig_pulse_start: starts the server; sets RIG_PULSE_PID. Fails if it does not answer in 10 s.
# Its null sink cannot rewind, as many sinks cannot; with RIG_SERVER=pulseaudio-rewinds it can, as
# sound cards' sinks can.
rig_pulse_start() {
  local dir=$RIG_PULSE_DIR sinks
  sinks=(--load="module-null-sink sink_name=rig rate=48000 format=float32le channels=1 channel_map=mono norewinds=1")
  if [ "${RIG_SERVER:-}" = pulseaudio-rewinds ]; then
    sinks=(--load="module-null-sink sink_name=rig rate=48000 format=float32le channels=1 channel_map=mono"
      --load="module-null-sink sink_name=heard rate=48000 format=float32le channels=1 channel_map=mono norewinds=1")
  fi
  rm -f "$dir/run/native" "$dir/run/pulse/pid"
  pulseaudio --daemonize=yes -n --system=no --exit-idle-time=-1 --use-pid-file=yes \
    --log-target="file:$dir/pulse.log" --log-level=warning \
    "${sinks[@]}" \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$dir/run/native" || return 1
  local i
  for i in $(seq 100); do
    if [ -s "$dir/run/pulse/pid" ] && pactl info >/dev/null 2>&1; then
      RIG_PULSE_PID=$(cat "$dir/run/pulse/pid")
      rig_track_pid "$RIG_PULSE_PID"
      return 0
    fi
    sleep 0.1
  done
  echo "audio rig: the private PulseAudio server did not start; its log:" >&2
  cat "$dir/pulse.log" >&2 || true
  return 1
}

# rig_pulse_stop [SIGNAL]: stops the server by its process id and waits until it is gone.
rig_pulse_stop() {
  local signal=${1:-TERM} i
  [ -n "${RIG_PULSE_PID:-}" ] || return 0
  kill -"$signal" "$RIG_PULSE_PID" 2>/dev/null || true
  for i in $(seq 50); do
    kill -0 "$RIG_PULSE_PID" 2>/dev/null || break
    # A killed daemon waits as a zombie until init reaps it; it is gone all the same.
    [ "$(awk '{ print $3 }' "/proc/$RIG_PULSE_PID/stat" 2>/dev/null)" = Z ] && break
    sleep 0.1
  done
  kill -KILL "$RIG_PULSE_PID" 2>/dev/null || true
  RIG_PULSE_PID=
}

RIG_RECORDERS=()
RIG_LOOPBACK=
# rig_record_start FILE: records the null sink's monitor as raw float32 into FILE. When RIG_CAPTURE
# names the rig-capture program, the arrival time of every block goes to FILE.times as well.
# A monitor shows what its sink rendered when it rendered it: a rewind's new sound arrives after
# the old, spliced on. So on a sink that rewinds, FILE holds the sound as heard, through a loopback
# that takes back what the sink takes back into a second sink that cannot rewind; its times are
# later by the loopback's queue, so the monitor itself goes to FILE.direct for when sound came
# (rig_timing_recording).
rig_record_start() {
  RIG_RECORDERS=()
  if [ "${RIG_SERVER:-}" = pulseaudio-rewinds ]; then
    RIG_LOOPBACK=$(pactl load-module module-loopback source=rig.monitor sink=heard latency_msec=200 \
      adjust_time=0 remix=no source_dont_move=true sink_dont_move=true) || return 1
    rig_record_one heard.monitor "$1"
    rig_record_one rig.monitor "$1.direct"
  else
    rig_record_one rig.monitor "$1"
  fi
}

# rig_record_one SOURCE FILE: one recorder, as rig_record_start describes.
rig_record_one() {
  local out=$2 fifo= capture=
  if [ -n "${RIG_CAPTURE:-}" ]; then
    fifo=$2.fifo
    rm -f "$fifo"
    mkfifo "$fifo"
    "$RIG_CAPTURE" "$2" "$2.times" <"$fifo" &
    capture=$!
    rig_track_pid "$capture"
    out=$fifo
  fi
  parec -d "$1" --format=float32le --rate=48000 --channels=1 --raw --latency-msec=${RIG_RECORD_LATENCY_MS:-10} \
    >"$out" 2>>"$RIG_PULSE_DIR/parec.log" &
  local parec=$!
  rig_track_pid "$parec"
  RIG_RECORDERS+=("$parec:$capture:$fifo")
}

rig_record_stop() {
  local recorder parec capture fifo
  for recorder in "${RIG_RECORDERS[@]}"; do
    IFS=: read -r parec capture fifo <<<"$recorder"
    kill -INT "$parec" 2>/dev/null || true
    wait "$parec" 2>/dev/null || true
    [ -z "$capture" ] || wait "$capture" 2>/dev/null || true
    [ -z "$fifo" ] || rm -f "$fifo"
  done
  RIG_RECORDERS=()
  [ -z "${RIG_LOOPBACK:-}" ] || pactl unload-module "$RIG_LOOPBACK" 2>/dev/null || true
  RIG_LOOPBACK=
}

# rig_timing_recording FILE: the recording of FILE whose times tell when sound came.
rig_timing_recording() {
  if [ -e "$1.direct" ]; then echo "$1.direct"; else echo "$1"; fi
}

# rig_sample_time FILE FRAME: wall-clock time by which FRAME of a recording had arrived.
rig_sample_time() {
  awk -v f="$2" '$1 > f { printf "%.6f", $2 - ($1 - 1 - f) / 48000; found = 1; exit }
                 END { if (!found) exit 1 }' "$1.times"
}

# CPU seconds (user + system) a running process has used so far.
rig_cpu_seconds() {
  local ticks
  ticks=$(awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null) || return 1
  awk -v t="$ticks" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.3f", t / hz }'
}

# Peak resident memory of a running process, in MB.
rig_peak_rss_mb() {
  awk '/^VmHWM:/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status" 2>/dev/null
}

. "$(dirname "${BASH_SOURCE[0]}")/timing.sh"
