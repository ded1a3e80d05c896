# Sourced by the rigs: how a check is counted and how a rig waits. The machine may be loaded, so
# every wait polls for a state, with a generous bound; RIG_POLL_SECONDS sets the poll (0.05 s;
# the Windows rigs poll less often, each look starting a Wine process).

failures=0
failed_checks=()
fail() { echo "FAIL: $*"; failures=$((failures + 1)); failed_checks+=("$*"); }
# rig_summary NAME: one closing line, then the failed checks again, so that a log cut in its middle
# still tells which ones failed. True when none failed.
rig_summary() {
  if [ "$failures" -eq 0 ]; then echo "$1: all checks passed"; return 0; fi
  echo "$1: $failures check(s) failed:"
  printf '  FAIL: %s\n' "${failed_checks[@]}"
  return 1
}
ok() { echo "ok: $*"; }

# wait_for SECONDS COMMAND...: polls until COMMAND succeeds; false after SECONDS.
wait_for() {
  local deadline=$((${EPOCHREALTIME/./} + $1 * 1000000))
  shift
  until "$@"; do
    [ "${EPOCHREALTIME/./}" -lt "$deadline" ] || return 1
    sleep "${RIG_POLL_SECONDS:-0.05}"
  done
}

# expect_within SECONDS WHAT COMMAND...: "ok: WHAT" once COMMAND succeeds within SECONDS, else
# "FAIL: WHAT". expect WHAT COMMAND...: the same within 10 s.
expect_within() {
  local limit=$1 what=$2
  shift 2
  if wait_for "$limit" "$@"; then ok "$what"; else fail "$what"; fi
}
expect() { expect_within 10 "$@"; }

alive() { kill -0 "$1" 2>/dev/null; }
dead() { ! kill -0 "$1" 2>/dev/null; }
