# Sourced by the audio rig and the sound benchmark: a private headless PipeWire with its Pulse
# server and a 48 kHz float32 mono null sink named "rig", in a folder of its own: a session bus,
# pipewire, wireplumber (without it nothing is linked) and pipewire-pulse, each started and stopped
# by process id and written into the rig's ledger. Uses the environment rig_pulse_env sets up
# (pulse_server.sh): the same socket, sink name and recorder serve both servers.

# rig_pipewire_start: starts the four processes and loads the null sink; sets RIG_PIPEWIRE_PIDS
# (the Pulse server's last) and RIG_PULSE_PID (the Pulse server). Fails if they do not answer in
# 10 s.
rig_pipewire_start() {
  local dir=$RIG_PULSE_DIR i
  rm -rf "$dir/run/pulse" "$dir/run/native" "$dir/run/bus" "$dir/run/pipewire-0" "$dir/run/pipewire-0.lock"
  # No devices: the rig never reaches a sound card, a camera or a Bluetooth speaker.
  mkdir -p "$dir/config/wireplumber/main.lua.d" "$dir/config/wireplumber/bluetooth.lua.d"
  printf 'alsa_monitor.enabled = false\nv4l2_monitor.enabled = false\nlibcamera_monitor.enabled = false\n' \
    >"$dir/config/wireplumber/main.lua.d/60-rig.lua"
  printf 'bluez_monitor.enabled = false\n' >"$dir/config/wireplumber/bluetooth.lua.d/60-rig.lua"
  # The Pulse server listens where PulseAudio's would, so a client started before it finds it.
  mkdir -p "$dir/config/pipewire/pipewire-pulse.conf.d"
  printf 'pulse.properties = { server.address = [ "unix:%s/run/native" ] }\n' "$dir" \
    >"$dir/config/pipewire/pipewire-pulse.conf.d/60-rig.conf"
  RIG_PIPEWIRE_PIDS=()
  dbus-daemon --session --nofork --nopidfile --address="unix:path=$dir/run/bus" \
    >>"$dir/pipewire.log" 2>&1 &
  RIG_PIPEWIRE_PIDS+=($!)
  rig_track_pid $!
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$dir/run/bus
  for i in $(seq 100); do [ -S "$dir/run/bus" ] && break; sleep 0.1; done
  pipewire >>"$dir/pipewire.log" 2>&1 &
  RIG_PIPEWIRE_PIDS+=($!)
  rig_track_pid $!
  for i in $(seq 100); do [ -S "$dir/run/pipewire-0" ] && break; sleep 0.1; done
  wireplumber >>"$dir/wireplumber.log" 2>&1 &
  RIG_PIPEWIRE_PIDS+=($!)
  rig_track_pid $!
  pipewire-pulse >>"$dir/pipewire-pulse.log" 2>&1 &
  RIG_PIPEWIRE_PIDS+=($!)
  rig_track_pid $!
  RIG_PULSE_PID=$!
  for i in $(seq 100); do
    if pactl info >/dev/null 2>&1; then
      if pactl list short sinks 2>/dev/null | grep -q '[[:space:]]rig[[:space:]]' ||
         pactl load-module module-null-sink sink_name=rig rate=48000 format=float32le \
           channels=1 channel_map=mono >/dev/null 2>&1; then
        # wireplumber links streams only once it has come up: it then names a default sink.
        if pactl info 2>/dev/null | grep -q '^Default Sink: .'; then return 0; fi
      fi
    fi
    sleep 0.1
  done
  echo "audio rig: the private PipeWire did not start; its logs:" >&2
  tail -n 20 "$dir/pipewire.log" "$dir/wireplumber.log" "$dir/pipewire-pulse.log" >&2 || true
  rig_pipewire_stop
  return 1
}

# rig_pipewire_stop [SIGNAL]: stops them by process id, the Pulse server first, and waits.
rig_pipewire_stop() {
  local signal=${1:-TERM} pid i k
  [ ${#RIG_PIPEWIRE_PIDS[@]} -gt 0 ] 2>/dev/null || return 0
  for ((k = ${#RIG_PIPEWIRE_PIDS[@]} - 1; k >= 0; k--)); do
    pid=${RIG_PIPEWIRE_PIDS[k]}
    kill -"$signal" "$pid" 2>/dev/null || true
    for i in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  RIG_PIPEWIRE_PIDS=()
  RIG_PULSE_PID=
  unset DBUS_SESSION_BUS_ADDRESS
}

# rig_server_start / rig_server_stop [SIGNAL]: the server named by RIG_SERVER (pulseaudio, the
# default, pulseaudio-rewinds: its sink rewinds, or pipewire).
rig_server_start() {
  if [ "${RIG_SERVER:-pulseaudio}" = pipewire ]; then rig_pipewire_start; else rig_pulse_start; fi
}
rig_server_stop() {
  if [ "${RIG_SERVER:-pulseaudio}" = pipewire ]; then rig_pipewire_stop "$@"; else rig_pulse_stop "$@"; fi
}
# rig_server_lose: kills the Pulse server the program talks to, as a crash would.
rig_server_lose() {
  if [ "${RIG_SERVER:-pulseaudio}" = pipewire ]; then
    kill -KILL "$RIG_PULSE_PID" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$RIG_PULSE_PID" 2>/dev/null || break; sleep 0.1; done
  else
    rig_pulse_stop KILL
  fi
}
