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

# rig_load_start [N]: loads the machine with N busy processes at normal priority (4 per core when N
# is not given), recorded in the ledger; rig_load_stop ends them by process id.
rig_load_start() {
  local n=${1:-$((4 * $(nproc)))} i
  RIG_LOAD_PIDS=()
  for ((i = 0; i < n; i++)); do
    nice -n 0 sh -c 'while :; do :; done' &
    RIG_LOAD_PIDS+=($!)
    rig_track_pid $!
  done
}
rig_load_stop() {
  local pid
  for pid in "${RIG_LOAD_PIDS[@]}"; do kill -KILL "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
  RIG_LOAD_PIDS=()
}

# rig_stop PID...: asks each process to end, and ends the ones still there after 5 s (a hung
# program never gets to its signal handler); reaps those that are this shell's children.
rig_stop() {
  local pid i
  for pid in "$@"; do kill -TERM "$pid" 2>/dev/null; done
  for pid in "$@"; do
    for i in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
}

# rig_open NAME [TOOL...]: the opening every rig shares. Each TOOL must be installed, else the rig
# names the one missing and ends with 1; the ledger opens as NAME; $work is a new private folder
# (kept when RIG_KEEP is set, else recorded and removed at the end). At exit the rig's own
# `cleanup` (what it started, if it defines one) runs, then $work goes and the ledger closes; TERM
# and INT end the rig the same way.
rig_open() {
  local name=$1 tool
  shift
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "$name: $tool is missing (run scripts/install-deps test)" >&2; exit 1; }
  done
  rig_ledger_open "$name"
  work=$(mktemp -d "${TMPDIR:-/tmp}/drovane-$name.XXXXXX")
  [ -n "${RIG_KEEP:-}" ] || rig_track_dir "$work"
  trap rig_close EXIT
  # A signal says so: a rig ended from outside otherwise leaves no word in its log.
  trap "echo '$name: ended by SIGTERM' >&2; exit 143" TERM
  trap "echo '$name: ended by SIGINT' >&2; exit 130" INT
}

rig_close() {
  if declare -F cleanup >/dev/null; then cleanup; fi
  if [ -n "${RIG_KEEP:-}" ]; then echo "kept: $work"; else rm -rf "$work"; fi
  rig_ledger_close
}
