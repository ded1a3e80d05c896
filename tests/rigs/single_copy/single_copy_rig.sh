#!/usr/bin/env bash
# The one-copy rule with odd runtime folders, as a second user (nobody, through setpriv; this needs
# root and is skipped otherwise): a read-only XDG_RUNTIME_DIR and a missing one send the lock to
# the program's own folder under TMPDIR, and a second start there raises the first and ends; with
# that folder taken by another user the program says why on standard error and runs on its own.
# A second start also gets through after callers that say nothing: 100, and 300 with 256 descriptors.
# The program runs offscreen, with no sound output. Usage: single_copy_rig.sh DROVANE
set -uo pipefail
prog=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../../tools/rig/ledger.sh"
. "$here/../../../tools/rig/checks.sh"
[ "$(id -u)" -eq 0 ] || { echo "single-copy rig: needs root to run the program as a second user"; exit 77; }

rig_open single-copy-rig
chmod 711 "$work"
started=()
cleanup() {
  rig_stop "${started[@]}"
}
failures=0
uid=$(id -u nobody)

# copy NAME [VAR=VALUE...]: starts the program, through wrap, as nobody in its own home; sets pid.
wrap=()
copy() {
  local name=$1
  shift
  env -i PATH=/usr/bin:/bin HOME="$work/home" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 \
    ALSA_CONFIG_PATH=/dev/null PULSE_SERVER=unix:/nonexistent "$@" \
    setpriv --reuid=nobody --regid=nogroup --clear-groups -- "${wrap[@]}" "$prog" >"$work/$name.log" 2>&1 &
  pid=$!
  rig_track_pid "$pid"
}

# callers N: N callers at once that say nothing; true when the first copy hangs up on each.
callers=(/usr/bin/python3 -c 'import signal, socket, sys
signal.alarm(30)
held = [socket.socket(socket.AF_UNIX) for _ in range(int(sys.argv[2]))]
for s in held: s.connect(sys.argv[1])
sys.exit(any(s.recv(1) for s in held))' "$work/tmp/drovane-$uid/drovane-$uid.socket")
for case in read-only missing 100-callers 300-callers; do
  rm -rf "$work/home" "$work/tmp" "$work/run"
  mkdir -p "$work/home" "$work/tmp" "$work/run"
  chown nobody:nogroup "$work/home" "$work/tmp" "$work/run"
  chmod 500 "$work/run"
  runtime=(XDG_RUNTIME_DIR="$work/run")
  [ "$case" = missing ] && runtime=()
  [ "$case" = 300-callers ] && wrap=(prlimit --nofile=256:256)
  copy "$case-first" TMPDIR="$work/tmp" "${runtime[@]}"
  wrap=()
  first=$pid
  started+=("$first")
  expect "$case runtime folder: the lock goes to TMPDIR/drovane-$uid" test -S "$work/tmp/drovane-$uid/drovane-$uid.socket"
  if [[ $case = *-callers ]]; then
    "${callers[@]}" "${case%-callers}" && ok "it hung up on each caller" || fail "it held a caller"
  fi
  [ "$case" = 300-callers ] && { grep -q "Too many open files" "$work/$case-first.log" || fail "it never ran out"; }
  copy "$case-second" TMPDIR="$work/tmp" "${runtime[@]}"
  expect "$case runtime folder: a second start ends" dead "$pid"
  wait "$pid"
  status=$?
  [ "$status" -eq 0 ] && ok "it ended with status 0" || fail "it ended with status $status"
  alive "$first" && ok "the first copy runs on" || fail "the first copy ended"
  rig_stop "$first"
  started=()
done

# The program's own folder made by another user beforehand.
rm -rf "$work/home" "$work/tmp"
mkdir -p "$work/home" "$work/tmp/drovane-$uid"
chown nobody:nogroup "$work/home" "$work/tmp"
chmod 700 "$work/tmp/drovane-$uid"
copy taken TMPDIR="$work/tmp"
started+=("$pid")
expect "with its folder taken, the program says why" grep -q "another user's" "$work/taken.log"
# Its settings are written once its window is made.
expect "and runs on its own" test -s "$work/home/.config/drovane/registry.ini"
alive "$pid" && ok "it is still running" || { fail "it ended:"; cat "$work/taken.log"; }

rig_summary "single-copy rig"
