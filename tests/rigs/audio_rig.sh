#!/usr/bin/env bash
# The audio rig: plays drovane-play through a private sound server's null sink (PulseAudio, or
# PipeWire with its Pulse server), records the sink's monitor and measures what was heard: the
# sweep, stops and starts, the sweep on a loaded machine and with the player held now and then;
# then takes the server away and brings it back.
# Usage: audio_rig.sh DROVANE_PLAY RIG_ANALYZE RIG_CAPTURE [--server pulseaudio|pipewire]
#          [sound|cycles|load|stalls|server-lost|server-lost-noticed|no-server ...]
# With no scenario named, runs them all. RIG_KEEP=1 keeps the recordings.
set -uo pipefail
play=$1
analyze=$2
RIG_CAPTURE=$3
shift 3
RIG_SERVER=pulseaudio
if [ "${1:-}" = --server ]; then
  RIG_SERVER=$2
  shift 2
fi
scenarios=("$@")
[ ${#scenarios[@]} -gt 0 ] || scenarios=(sound cycles load stalls server-lost-noticed no-server)
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/rig/pulse_server.sh"
. "$here/../../tools/rig/pipewire_server.sh"
. "$here/../../tools/rig/stops.sh"
cycles_program=$(dirname "$analyze")/rig-cycles
# How soon the last sound of a stop must reach the recorder (the median of a run): on PulseAudio a
# stop lands past what the sink holds (up to 10.7 ms on a sink that cannot rewind) and 7 to 10 ms
# for the rewrite's way to the server. PipeWire's Pulse server takes frames a graph cycle ahead of
# what it reports, and the stream keeps the session's cycle of 1024 frames (21.3 ms) there rather
# than shorten everyone's: a stop lands a cycle and the margin past what is heard, and the
# recorder, at the same cycle, gets it up to a cycle later still.
stop_limit_ms=15
[ "$RIG_SERVER" = pipewire ] && stop_limit_ms=60
# A timed run ends with a stop: what is heard past its time is that stop's lateness and the fade
# (35 ms on PulseAudio; 80 ms on PipeWire, as for a Ctrl-C there).
extra_limit_ms=$((stop_limit_ms + 20))
# On a sink that rewinds the sound is recorded through a loopback, whose resampler (there even at
# one rate) rounds the joins of 30 Hz steps off to about -57 dB; elsewhere they are exact.
join_residual_db=-60
[ "$RIG_SERVER" = pulseaudio-rewinds ] && join_residual_db=-50
# The private PipeWire runs without real-time scheduling, so on a shared machine its Pulse server
# now and then misses a graph cycle and the sink plays silence for any client: there a recording
# may hold one dropout (which also moves the joins after it once). A program that drops its sound
# does so far more often. PulseAudio's recordings allow none.
server_gaps=0
[ "$RIG_SERVER" = pipewire ] && server_gaps=1

tools=(parec pactl setpriv)
if [ "$RIG_SERVER" = pipewire ]; then tools+=(pipewire wireplumber pipewire-pulse dbus-daemon sox); else tools+=(pulseaudio); fi

rig_open "audio-rig-$RIG_SERVER" "${tools[@]}"
play_pid=
cleanup() {
  [ -n "$play_pid" ] && kill -KILL "$play_pid" 2>/dev/null
  rig_record_stop
  rig_load_stop
  rig_server_stop
}
rig_pulse_env "$work"  # also keeps the user's stored sweep settings out: the defaults play

failures=0
inconclusive=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# record_play NAME ARGS...: records 2.5 s of lead-in (the null sink works in 2 s blocks), plays,
# then keeps recording 1.5 s so the fade-out is in.
record_play() {
  local name=$1
  shift
  rig_record_start "$work/$name.raw"
  sleep 2.5
  if [ "$1" = setpriv ]; then "$@" 2>"$work/$name.err"; else "$play" "$@" 2>"$work/$name.err"; fi
  local rc=$?
  sleep 1.5
  rig_record_stop
  [ $rc -eq 0 ] || fail "$name: drovane-play $* exited with $rc: $(cat "$work/$name.err")"
}

sound() {
  local before=$failures
  rig_server_start || exit 1
  echo "private $RIG_SERVER, Pulse server pid $RIG_PULSE_PID (running as uid $(id -u))"
  sink_latency_checks

  echo "== default sweep, 4 s: frequencies, gaps, fades, sound after the stop"
  record_play default sweep --seconds 4
  "$analyze" "$work/default.raw" --max-frequency-error 0.5 --max-gaps "$server_gaps" --max-low-band-db -80 \
    --max-join-offset 0 --max-phase-jump 0.01 --max-join-residual-db -60 --max-faulty-joins "$server_gaps" \
    --seconds 4 --max-extra-ms "$extra_limit_ms" || fail "default sweep"

  # A 30 Hz change within one sample splatters about -78 dB below 12 kHz, so the energy limit is
  # held on the 10 Hz steps above; here the joins' phase and timing are what is checked.
  echo "== 37 ms tones in 30 Hz steps: joins that never fall on whole cycles"
  # Tones ten times shorter than the queue join by rewriting it in time, so a machine busy with
  # other work can place one late now and then: of the 80 joins, 2 may be out of place (a late
  # tone moves the joins after it, and counts once). A fault of the joins shows at most of them.
  record_play joins sweep --from 16010 --step 30 --delay 37 --seconds 3
  "$analyze" "$work/joins.raw" --from 16010 --step 30 --delay 37 --max-frequency-error 0.5 \
    --max-gaps "$server_gaps" --max-join-offset 0 --max-phase-jump 0.01 \
    --max-join-residual-db "$join_residual_db" --max-faulty-joins $((2 + server_gaps)) \
    --seconds 3 --max-extra-ms "$extra_limit_ms" >"$work/joins.txt"
  grep -E '^(gaps|faulty_joins|worst_|extra_ms|FAIL)' "$work/joins.txt"
  grep -q '^RESULT ok' "$work/joins.txt" || fail "30 Hz steps"

  interrupted_checks
  pipewire_excuse "$before"
  rig_server_stop
}

# interrupted_checks: 6 runs of the sweep, each stopped with Ctrl-C part way into a tone, in one
# recording: each run must exit cleanly, and the stops be heard within the stop's limit and the
# fade. A stop that reaches the server a few ms late loses part of its fade about once in a
# hundred on a busy machine (as cycles allows), so 1 of the 12 starts and stops may click and 1
# stop be late; a fault of the Ctrl-C path shows in most of them.
interrupted_checks() {
  local runs=6 k rc exits=0 count clicks timing segments
  echo "== $runs runs stopped with Ctrl-C: from the signal to the last sound that reached the recorder"
  : >"$work/interrupt.stops"
  rig_record_start "$work/interrupt.raw"
  sleep 2.5
  for k in $(seq "$runs"); do
    "$play" sweep 2>>"$work/interrupt.err" &
    play_pid=$!
    rig_track_pid "$play_pid"
    for _ in $(seq 100); do pactl list short sink-inputs 2>/dev/null | grep -q . && break; sleep 0.05; done
    sleep "0.$((RANDOM % 4 + 4))"  # 0.4 to 0.7 s, so the stops fall anywhere in a tone
    echo "$k $(rig_now)" >>"$work/interrupt.stops"
    kill -INT "$play_pid"
    wait "$play_pid"
    rc=$?
    play_pid=
    [ $rc -eq 0 ] || { exits=$((exits + 1)); echo "drovane-play exited with $rc on Ctrl-C"; }
    sleep 0.3  # silence enough to set the runs apart: the next one can sound within 50 ms
  done
  sleep 1.5
  rig_record_stop
  [ $exits -eq 0 ] || fail "$exits of $runs runs did not exit cleanly on Ctrl-C: $(sort -u "$work/interrupt.err")"
  "$analyze" "$work/interrupt.raw" --segments 50 --max-low-band-db -80 >"$work/interrupt.txt"
  count=$(awk '$1 == "segments" { print $2 }' "$work/interrupt.txt")
  clicks=$(awk '$1 == "clicks" { print $2 }' "$work/interrupt.txt")
  echo "stretches of sound: ${count:-none} for $runs runs (limit: $runs to $((runs + server_gaps)))"
  [ "${count:-0}" -ge "$runs" ] && [ "${count:-0}" -le $((runs + server_gaps)) ] ||
    fail "the Ctrl-C runs left ${count:-no} stretches of sound for $runs runs"
  # A dropout splits a stretch with two hard edges.
  echo "clicks in $((2 * runs)) starts and stops: ${clicks:-?} (limit $((1 + 2 * server_gaps)))"
  [ "${clicks:-9}" -le $((1 + 2 * server_gaps)) ] || fail "${clicks:-?} starts and stops of the Ctrl-C runs clicked"
  timing_segments "$work/interrupt.raw" "$work/interrupt.txt"
  rig_stop_delays "$segments" "$timing" "$work/interrupt.stops" "$work/interrupt.ms"
  rig_stops_judged "$work/interrupt.ms" $((stop_limit_ms + 20)) $((runs - 1)) "Ctrl-C stops" ||
    fail "the sound went on too long after Ctrl-C"
}

# sink_latency_checks: 10 starts with every core busy. Unsure only after three writes in a row that
# reached the server over 20 ms late, where the slowest of 100 took 12 ms: over 2 unsure is a fault.
sink_latency_checks() {
  [ "$RIG_SERVER" != pipewire ] || return 0
  local unsure=0
  rig_load_start "$(nproc)"
  for _ in $(seq 10); do sink_latency_check; done
  rig_load_stop
  [ "$unsure" -le 2 ] || fail "the probe could not tell whether the sink rewinds at $unsure of 10 starts"
}

# sink_latency_check: on PulseAudio the stream lets a sink that rewinds play 250 ms ahead, and
# holds one that cannot to 512 frames (10.7 ms). Read from the sink's configured latency while
# drovane-play plays alone: a recorder on the sink's monitor would ask a latency of its own.
sink_latency_check() {
  [ "$RIG_SERVER" != pipewire ] || return 0
  local latency='' i
  "$play" sweep --seconds 4 2>"$work/start.err" &
  play_pid=$!
  rig_track_pid "$play_pid"
  for i in $(seq 50); do
    if pactl list sink-inputs | grep -q 'media.name = "Drovane"'; then
      latency=$(pactl list sinks | awk '/^\tName: / { sink = $2 }
        sink == "rig" && /configured/ { print int($NF == "usec" ? $(NF - 1) / 1000 : 0); exit }')
      break
    fi
    sleep 0.1
  done
  kill -INT "$play_pid" 2>/dev/null
  wait "$play_pid" 2>/dev/null
  play_pid=
  echo "the sink plays ${latency:-?} ms ahead"
  # The short latency suits every sink: it is what drovane-play plays with when it cannot tell.
  grep -q 'cannot tell whether the sink rewinds' "$work/start.err" && unsure=$((unsure + 1)) &&
    cat "$work/start.err" && [ "${latency:-999}" -le 20 ] && return
  if [ "$RIG_SERVER" = pulseaudio-rewinds ]; then
    [ "${latency:-0}" -ge 200 ] || fail "a sink that rewinds was held to a short latency (${latency:-?} ms)"
  else
    [ "${latency:-999}" -le 20 ] || fail "a sink that cannot rewind got a long latency (${latency:-?} ms)"
  fi
}

# pipewire_excuse BEFORE: on PipeWire, the failures since there were BEFORE are set aside (the run
# counts as skipped) when sox, recorded the same way right after, loses sound too: on a busy
# machine the private PipeWire drops the sound of any client now and then. sox asks for the
# latency drovane-play asks for (1024 frames), which sets PipeWire's graph cycle for every client:
# without it sox runs at a longer cycle, which a server scheduled late misses less often.
# sox_gaps NAME SECONDS LATENCY_MS [COMMAND...]: the gaps in a recording of sox playing a 16 kHz
# tone for SECONDS at the latency given, run through COMMAND if any; empty when it cannot tell.
sox_gaps() {
  rig_record_start "$work/$1.raw"
  sleep 2.5
  PULSE_LATENCY_MSEC=$3 "${@:4}" sox -q -n -r 48000 -t pulseaudio default synth "$2" sine 16000 gain -12
  sleep 1.5
  rig_record_stop
  "$analyze" "$work/$1.raw" --from 16000 --to 16000 --step 1 --delay 20000 |
    awk '$1 == "gaps" { print $2 }'
}

pipewire_excuse() {
  local before=$1 gaps
  [ "$RIG_SERVER" = pipewire ] && [ $failures -gt "$before" ] || return 0
  gaps=$(sox_gaps reference 6 22)
  echo "sox, recorded right after: ${gaps:-?} gaps"
  if [ "${gaps:-0}" -gt 0 ]; then
    echo "audio rig: inconclusive, the server dropped sox's sound as well"
    failures=$before
    inconclusive=1
  fi
}

# median FILE: of the numbers in FILE, one a line.
median() { sort -g "$1" | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }'; }

# timing_segments RECORDING SEGMENTS: sets timing to the recording whose times tell when sound came
# and segments to its stretches of sound (SEGMENTS, rig-analyze --segments of RECORDING, when that
# is the same recording).
timing_segments() {
  timing=$(rig_timing_recording "$1")
  segments=$2
  if [ "$timing" != "$1" ]; then
    segments=$2.timing
    "$analyze" "$timing" --segments 50 >"$segments"
  fi
}

# 50 stops and starts as the window's buttons make them, in one run: at most 2 of the 100 may
# click, and the median stop must be heard within the limit (at least 25 of 50 within it).
cycles() {
  local before=$failures count clicks timing segments
  rig_server_start || exit 1
  echo "== 50 stops and starts: clicks, and from each stop request to the last sound at the recorder"
  rig_record_start "$work/cycles.raw"
  sleep 2.5
  "$cycles_program" 50 >"$work/stops.txt" 2>"$work/cycles.err" &
  play_pid=$!
  rig_track_pid "$play_pid"
  wait "$play_pid"
  local rc=$?
  play_pid=
  sleep 1.5
  rig_record_stop
  [ $rc -eq 0 ] || fail "rig-cycles exited with $rc: $(cat "$work/cycles.err")"
  "$analyze" "$work/cycles.raw" --segments 50 --max-low-band-db -90 >"$work/segments.txt"
  grep -v '^segment ' "$work/segments.txt"
  count=$(awk '$1 == "segments" { print $2 }' "$work/segments.txt")
  clicks=$(awk '$1 == "clicks" { print $2 }' "$work/segments.txt")
  echo "stretches of sound: ${count:-none} for 50 starts (limit: 50 to $((50 + server_gaps)))"
  [ "${count:-0}" -ge 50 ] && [ "${count:-0}" -le $((50 + server_gaps)) ] ||
    fail "the recording holds ${count:-no} stretches of sound for 50 starts (a dropout splits one)"
  # On the rig's null sink, which cannot rewind, a rewrite that reaches the server a few ms late
  # loses its fade: about one start or stop in a hundred on a busy machine. A dropout splits a
  # stretch with two hard edges.
  echo "clicks in 100 starts and stops: ${clicks:-?} (limit $((2 + 2 * server_gaps)))"
  [ "${clicks:-9}" -le $((2 + 2 * server_gaps)) ] ||
    fail "$clicks start(s) or stop(s) clicked (energy below 12 kHz above -90 dB)"
  timing_segments "$work/cycles.raw" "$work/segments.txt"
  rig_stop_delays "$segments" "$timing" "$work/stops.txt" "$work/stop-ms.txt"
  rig_stops_judged "$work/stop-ms.txt" "$stop_limit_ms" 25 "stops" ||
    fail "the median stop is heard after $(median "$work/stop-ms.txt") ms (limit $stop_limit_ms ms)"
  pipewire_excuse "$before"
  rig_server_stop
}

# The sweep for 20 s while 4 busy processes per core run at normal priority, and without real-time
# scheduling for our threads (no CAP_SYS_NICE, as for a desktop user without rtkit). The 450 ms
# queue carries the sound over what such a machine does to the player: of its 40 tones, one
# dropout (which moves the joins after it, once) is allowed for a server starved for a moment; a
# queue too short for the load drops many. When the run fails, sox plays under the same load at
# the same latency, and if the server drops its sound as well, the run says so and counts as
# skipped.
load() {
  rig_server_start || exit 1
  echo "== 20 s of sweep on a machine loaded with $((4 * $(nproc))) busy processes"
  rig_load_start
  record_play loaded setpriv --inh-caps=-sys_nice --bounding-set=-sys_nice -- "$play" sweep --seconds 20
  local allowed=$((1 + server_gaps))
  "$analyze" "$work/loaded.raw" --max-gaps "$allowed" --max-frequency-error 0.5 --max-join-offset 0 \
    --max-phase-jump 0.01 --max-faulty-joins "$allowed" >"$work/loaded.txt"
  echo "dropouts allowed in 20 s under load: $allowed"
  grep -E '^(heard_s|gaps|first_gap_s|faulty_joins|FAIL)' "$work/loaded.txt"
  if ! grep -q '^RESULT ok' "$work/loaded.txt"; then
    # The latency our stream keeps on each server: 450 ms queued on PulseAudio, 1024 frames on
    # PipeWire.
    local latency_ms=450 gaps
    [ "$RIG_SERVER" = pipewire ] && latency_ms=22
    gaps=$(sox_gaps loaded-sox 20 "$latency_ms" setpriv --inh-caps=-sys_nice --bounding-set=-sys_nice --)
    echo "sox under the same load: ${gaps:-?} gaps"
    if [ "${gaps:-0}" -gt "$allowed" ]; then
      echo "audio rig: inconclusive, the server dropped sox's sound as well"
      inconclusive=1
    else
      fail "the sweep under load"
    fi
  fi
  rig_load_stop
  rig_server_stop
}

# The sweep for 10 s while drovane-play is held (SIGSTOP) for 200 ms ten times, as a busy or
# throttled machine may hold a program: what the server has queued must carry the sound over each.
stalls() {
  local before=$failures i held_at longest=0
  rig_server_start || exit 1
  echo "== 10 s of sweep, drovane-play held for 200 ms ten times"
  rig_record_start "$work/stalls.raw"
  sleep 2.5
  "$play" sweep --seconds 10 2>"$work/stalls.err" &
  play_pid=$!
  rig_track_pid "$play_pid"
  sleep 1
  for i in $(seq 10); do
    sleep "0.$((RANDOM % 4 + 3))"  # 0.3 to 0.6 s apart, so the stalls meet the queue at any depth
    held_at=$(rig_now)
    kill -STOP "$play_pid"
    sleep 0.2
    kill -CONT "$play_pid"
    longest=$(awk -v a="$held_at" -v b="$(rig_now)" -v l="$longest" \
      'BEGIN { h = (b - a) * 1000; printf "%.0f", (h > l ? h : l) }')
  done
  wait "$play_pid"
  local rc=$?
  play_pid=
  sleep 1.5
  rig_record_stop
  echo "the longest hold: $longest ms"
  [ $rc -eq 0 ] || fail "drovane-play exited with $rc after being held: $(cat "$work/stalls.err")"
  if ! "$analyze" "$work/stalls.raw" --max-gaps "$server_gaps" --max-frequency-error 0.5 --max-join-offset 0 \
    --max-phase-jump 0.01 --max-faulty-joins "$server_gaps" >"$work/stalls.txt"; then
    grep -E '^(gaps|first_gap_s|FAIL)' "$work/stalls.txt"
    fail "the sweep held by a busy machine"
  fi
  pipewire_excuse "$before"
  rig_server_stop
}

# server_lost [noticed]: the run must end on time; with "noticed", drovane-play must also say so
# and stop using the CPU.
server_lost() {
  local noticed=${1:-}
  rig_server_start || exit 1
  echo "== the server is killed while playing"
  "$play" sweep --seconds 5 2>"$work/killed.err" &
  play_pid=$!
  rig_track_pid "$play_pid"
  start=$(rig_now)
  sleep 2
  rig_server_lose
  killed_at=$(rig_elapsed "$start" "$(rig_now)")
  sleep 0.3
  cpu0=$(rig_cpu_seconds "$play_pid")
  sleep 2
  cpu1=$(rig_cpu_seconds "$play_pid")
  if [ -n "$cpu0" ] && [ -n "$cpu1" ]; then
    cpu=$(rig_elapsed "$cpu0" "$cpu1")
    echo "server gone at ${killed_at} s; drovane-play then used ${cpu} s of CPU in 2 s"
    [ -z "$noticed" ] || rig_less "$cpu" 0.2 ||
      fail "drovane-play spins after losing its server: ${cpu} s of CPU in 2 s"
  else
    fail "drovane-play ended early, ${killed_at} s into a 5 s run"
  fi
  for _ in $(seq 100); do kill -0 "$play_pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$play_pid" 2>/dev/null; then
    fail "drovane-play still runs 10 s after a 5 s run whose server was killed"
    kill -KILL "$play_pid"
  fi
  wait "$play_pid"
  rc=$?
  play_pid=
  took=$(rig_elapsed "$start" "$(rig_now)")
  echo "ran ${took} s for --seconds 5, exit $rc; stderr:"
  sed 's/^/  /' "$work/killed.err"
  [ $rc -eq 0 ] || fail "drovane-play exited with $rc after losing its server"
  rig_less "$took" 6.5 || fail "a 5 s run took ${took} s after the server was killed"
  [ -z "$noticed" ] || grep -q . "$work/killed.err" || fail "losing the server was not reported"
  rig_server_stop
}

no_server() {
  local before=$failures
  echo "== no server, then the server appears"
  "$play" sweep --seconds 12 2>"$work/none.err" &
  play_pid=$!
  rig_track_pid "$play_pid"
  start=$(rig_now)
  sleep 3
  cpu=$(rig_cpu_seconds "$play_pid")
  lines=$(wc -l <"$work/none.err")
  echo "after 3 s without a server: ${cpu} s of CPU, $lines line(s) on stderr:"
  sed 's/^/  /' "$work/none.err"
  [ "$lines" -eq 1 ] || fail "expected exactly one line on stderr without a server, got $lines"
  rig_less "$cpu" 0.3 || fail "drovane-play used ${cpu} s of CPU in 3 s without a server (spinning?)"
  rig_server_start || exit 1
  server_at=$(rig_elapsed "$start" "$(rig_now)")
  rig_record_start "$work/back.raw"
  wait "$play_pid"
  rc=$?
  play_pid=
  sleep 1.5
  rig_record_stop
  [ $rc -eq 0 ] || fail "drovane-play exited with $rc in the run without a server"
  cat "$work/none.err" | sed -n '2,$s/^/  later: /p'
  [ "$(grep -c 'cannot open' "$work/none.err")" -eq 1 ] || fail "the missing server was reported more than once"
  # The run ends 12 s after it began, so the sound came back 12 s minus what was heard after it.
  heard=$("$analyze" "$work/back.raw" | awk '/^heard_s/ { print $2 }')
  if [ -z "$heard" ]; then
    fail "no sound after the server appeared at ${server_at} s"
  else
    back=$(awk -v h="$heard" -v s="$server_at" 'BEGIN { printf "%.2f", 12 - h - s }')
    echo "server appeared at ${server_at} s; sound came back ${back} s later"
    rig_less "$back" 6.5 || fail "sound came back ${back} s after the server appeared"
  fi
  # The sweep kept time while silent, so it comes back part way up: plan from its first tone.
  first=$("$analyze" "$work/back.raw" | awk '/^first_tone_hz/ { printf "%.0f", $2 }')
  if ! "$analyze" "$work/back.raw" --from "${first:-16000}" --max-gaps "$server_gaps" --max-frequency-error 0.5 \
    --max-join-offset 0 --max-phase-jump 0.01 --max-faulty-joins "$server_gaps" >"$work/back.txt"; then
    grep FAIL "$work/back.txt"
    fail "the sound after coming back (from ${first:-?} Hz)"
  fi
  pipewire_excuse "$before"
  rig_server_stop
}

run_scenario() {
  # PipeWire runs its graph at the shortest cycle a client asks for, rounded down to a power of
  # two: the recorder asks for 22 ms (1056 frames), as the sox reference does, and so keeps the
  # session's cycle of 1024 frames that drovane-play asks for, as a desktop has it.
  if [ "$RIG_SERVER" = pipewire ]; then
    export RIG_RECORD_LATENCY_MS=22
  else
    export RIG_RECORD_LATENCY_MS=10
  fi
  case $1 in
    sound) sound ;;
    cycles) cycles ;;
    load) load ;;
    stalls) stalls ;;
    server-lost) server_lost ;;
    server-lost-noticed) server_lost noticed ;;
    no-server) no_server ;;
    *) echo "audio rig: unknown scenario $1" >&2; exit 2 ;;
  esac
}

for scenario in "${scenarios[@]}"; do run_scenario "$scenario"; done

if [ $failures -gt 0 ]; then
  echo "audio rig ($RIG_SERVER): $failures failure(s)"
  exit 1
fi
if [ $inconclusive -gt 0 ] && [ $failures -eq 0 ]; then
  echo "audio rig ($RIG_SERVER): skipped, the server itself lost sound"
  exit 77
fi
echo "audio rig ($RIG_SERVER): all checks passed"
