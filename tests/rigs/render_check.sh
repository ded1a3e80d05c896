#!/usr/bin/env bash
# Renders sweeps with drovane-play --wav (no sound server) and measures them: one full default
# pass must be exactly 401 tones of 24000 samples, in tune, joined without a click.
# Usage: render_check.sh DROVANE_PLAY RIG_ANALYZE
set -uo pipefail
play=$1
analyze=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/drovane-render-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
# drovane-play fills in values not given from the user's stored settings: keep those out.
export XDG_CONFIG_HOME=$work/config
defaults=(--from 16000 --to 20000 --delay 500 --step 10)
failures=0

echo "== one full default pass: 200.5 s"
if "$play" sweep "${defaults[@]}" --seconds 200.5 --wav "$work/pass.wav"; then
  "$analyze" "$work/pass.wav" --tones 401 --stop-frame 9624000 --max-join-offset 0 \
    --max-frequency-error 0.01 --max-phase-jump 1e-6 --max-join-residual-db -100 \
    --max-low-band-db -90 --max-gaps 0 || failures=$((failures + 1))
else
  echo "FAIL: drovane-play could not render the pass"
  failures=$((failures + 1))
fi

echo "== 37 ms tones in 30 Hz steps"
if "$play" sweep --from 16010 --to 20000 --step 30 --delay 37 --seconds 4 --wav "$work/joins.wav"; then
  "$analyze" "$work/joins.wav" --from 16010 --step 30 --delay 37 --stop-frame 192000 \
    --max-join-offset 0 --max-frequency-error 0.01 --max-phase-jump 1e-6 \
    --max-join-residual-db -100 --max-low-band-db -90 --max-gaps 0 || failures=$((failures + 1))
else
  echo "FAIL: drovane-play could not render the joins"
  failures=$((failures + 1))
fi
echo "== 4 kHz steps, as when the sweep wraps from its top to its bottom"
if "$play" sweep --from 16000 --to 20000 --step 4000 --delay 50 --seconds 2 --wav "$work/wrap.wav"; then
  "$analyze" "$work/wrap.wav" --from 16000 --to 20000 --step 4000 --delay 50 --stop-frame 96000 \
    --max-join-offset 0 --max-frequency-error 0.01 --max-phase-jump 1e-6 \
    --max-join-residual-db -100 --max-low-band-db -90 --max-gaps 0 || failures=$((failures + 1))
else
  echo "FAIL: drovane-play could not render the wrap"
  failures=$((failures + 1))
fi
exit $((failures > 0))
