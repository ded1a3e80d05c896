# Sourced by the rigs: a private D-Bus session bus that starts no services of its own, and a D-Bus
# tray host on it (tests/rigs/tray/sni_watcher.py), each started and stopped by process id and
# written into the rig's ledger (ledger.sh).
. "$(dirname "${BASH_SOURCE[0]}")/ledger.sh"
RIG_SNI_WATCHER=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tests/rigs/tray" && pwd)/sni_watcher.py

# rig_bus_start DIR: starts the bus, exports DBUS_SESSION_BUS_ADDRESS; sets RIG_BUS_PID.
rig_bus_start() {
  local dir=$1 i
  # No service folders: nothing (an accessibility bus, a portal) is started on demand behind the
  # rig's back.
  cat >"$dir/bus.conf" <<CONF
<busconfig>
  <type>session</type>
  <listen>unix:dir=$dir</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/>
  </policy>
</busconfig>
CONF
  dbus-daemon --config-file="$dir/bus.conf" --nofork --print-address=3 3>"$dir/bus.address" \
    2>"$dir/bus.log" &
  RIG_BUS_PID=$!
  rig_track_pid "$RIG_BUS_PID"
  for i in $(seq 200); do [ -s "$dir/bus.address" ] && break; sleep 0.05; done
  [ -s "$dir/bus.address" ] || { echo "dbus-daemon did not start" >&2; cat "$dir/bus.log" >&2; return 1; }
  export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$dir/bus.address")
}

# rig_watcher_start LOG: starts the tray host, which writes "ready" and each item it gets into
# LOG; sets RIG_WATCHER_PID once it holds its name.
rig_watcher_start() {
  local log=$1 i
  : >"$log"
  /usr/bin/python3 "$RIG_SNI_WATCHER" "$log" 2>>"$log.err" &
  RIG_WATCHER_PID=$!
  rig_track_pid "$RIG_WATCHER_PID"
  for i in $(seq 200); do grep -q '^ready$' "$log" && return 0; sleep 0.05; done
  echo "the tray host did not start" >&2
  cat "$log.err" >&2
  return 1
}

# rig_watcher_stop: ends the tray host by its id.
rig_watcher_stop() {
  [ -n "${RIG_WATCHER_PID:-}" ] || return 0
  kill -TERM "$RIG_WATCHER_PID" 2>/dev/null
  wait "$RIG_WATCHER_PID" 2>/dev/null
  RIG_WATCHER_PID=
}

# rig_bus_stop: ends the tray host and the bus by their ids.
rig_bus_stop() {
  rig_watcher_stop
  [ -n "${RIG_BUS_PID:-}" ] || return 0
  kill -TERM "$RIG_BUS_PID" 2>/dev/null
  wait "$RIG_BUS_PID" 2>/dev/null
  RIG_BUS_PID=
}
