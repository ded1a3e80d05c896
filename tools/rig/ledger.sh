# Sourced by the rigs and benchmarks: a ledger of the processes and folders a rig starts, so that
# tools/rig/cleanup can end them when the rig itself was killed (CTest kills a rig at its timeout,
# and a killed shell runs no exit trap). A process is recorded with its start time, so that a
# process id used again by the system is never mistaken for ours.

# rig_ledger_open NAME: starts this shell's ledger under $DROVANE_RIG_LEDGER (when set).
rig_ledger_open() {
  RIG_LEDGER=
  [ -n "${DROVANE_RIG_LEDGER:-}" ] || return 0
  mkdir -p "$DROVANE_RIG_LEDGER"
  RIG_LEDGER=$DROVANE_RIG_LEDGER/$1.$$
  : >"$RIG_LEDGER"
}

# rig_track_pid PID: records a process this rig started.
rig_track_pid() {
  local start
  [ -n "${RIG_LEDGER:-}" ] || return 0
  start=$(awk '{ print $22 }' "/proc/$1/stat" 2>/dev/null) || return 0
  echo "pid $1 $start" >>"$RIG_LEDGER"
}

# rig_track_dir DIR: records a folder this rig made.
rig_track_dir() {
  [ -n "${RIG_LEDGER:-}" ] || return 0
  echo "dir $1" >>"$RIG_LEDGER"
}

# rig_ledger_close: the rig cleaned up after itself; its ledger goes.
rig_ledger_close() {
  [ -n "${RIG_LEDGER:-}" ] || return 0
  rm -f "$RIG_LEDGER"
  RIG_LEDGER=
}
