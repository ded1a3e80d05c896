# Sourced by the audio rigs after pulse_server.sh: how soon each stop was heard, counted against a
# limit in one run. A rare late stop is counted, never taken again.

# rig_stop_delays SEGMENTS RECORDING STOPS OUT: for each stop request in STOPS ("N TIME" a line,
# TIME by the wall clock), the ms from it to the end of the first stretch of sound in SEGMENTS
# (rig-analyze --segments of RECORDING) heard after it, one a line in OUT. A stretch that a
# dropout split ends before the request, and is passed over.
rig_stop_delays() {
  local end
  awk '$1 == "segment" { print $4 - 1 }' "$1" | while read -r end; do
    rig_sample_time "$2" "$end" && echo
  done >"$4.ends"
  # The stop request is timed just before it is made: 5 ms of slack for the clocks' rounding.
  awk 'NR == FNR { e[++n] = $1; next }
    { for (i = 1; i <= n; ++i) if (e[i] >= $2 - 0.005) { printf "%.1f\n", (e[i] - $2) * 1000; break } }' \
    "$4.ends" "$3" >"$4"
}

# rig_stops_judged OUT LIMIT_MS AT_LEAST WHAT: prints how many of the stops in OUT were heard within
# LIMIT_MS, with the median and the worst; true when at least AT_LEAST of them were. A stop's way
# to the server can be late on a busy machine now and then; a slow stop is late every time.
rig_stops_judged() {
  local within total
  total=$(grep -c . "$1")
  within=$(awk -v l="$2" '$1 <= l { n++ } END { print n + 0 }' "$1")
  echo "$4 heard within $2 ms: $within of $total (limit: at least $3); median $(sort -g "$1" |
    awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }') ms, worst $(sort -g "$1" | tail -n 1) ms"
  [ "$within" -ge "$3" ]
}
