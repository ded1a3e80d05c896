# Times as decimal seconds since the epoch (date +%s.%N), and the arithmetic on them that the shell
# cannot do itself.
rig_now() { date +%s.%N; }
# rig_elapsed FROM [TO [DECIMALS]]: seconds from FROM to TO (now when empty), 2 decimals unless told.
rig_elapsed() {
  awk -v a="$1" -v b="${2:-$(rig_now)}" -v d="${3:-2}" 'BEGIN { printf("%." d "f", b - a) }'
}
# rig_less A B, rig_at_most A B: A < B, A <= B, for decimals.
rig_less() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }
rig_at_most() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a <= b) }'; }
