# Sourced by the rigs of real tray hosts: what the host reads of the program's tray menu, and
# whether the sweep sounds at the private null sink (pulse_server.sh). $app_pid is the program.
RIG_TRAY_MENU=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/tray_menu.py

item_registered() { /usr/bin/python3 "$RIG_TRAY_MENU" "$app_pid" >/dev/null 2>&1; }
# menu_is "start=S stop=T": the exported menu holds the tray menu's items, with Start's and Stop's
# check marks S and T.
menu_is() {
  local start stop
  read -r start stop <<<"${1//[a-z=]/}"
  [ "$(/usr/bin/python3 "$RIG_TRAY_MENU" "$app_pid" 2>/dev/null)" = \
    "_Open|_About Drovane...|---|_Start:$start|S_top:$stop|---|Test Sound|Stop Test|---|E_xit" ]
}
# level: the RMS level of what the null sink plays over 0.4 s.
level() {
  timeout -s INT 0.4 parec -d rig.monitor --format=float32le --rate=48000 --channels=1 --raw \
    --latency-msec=10 2>/dev/null |
    sox -t raw -e floating-point -b 32 -r 48000 -c 1 - -n stat 2>&1 | awk '/^RMS +amplitude/ { print $3 }'
}
# The sweep plays at about -12 dBFS (an RMS of 0.18); silence is all but nothing.
sweep_playing() { awk -v l="$(level)" 'BEGIN { exit !(l > 0.05) }'; }
sweep_silent() { awk -v l="$(level)" 'BEGIN { exit !(l != "" && l < 0.001) }'; }
