# Sourced by the GUI rig and the start-up benchmark: a private X server (first free display) with
# openbox and an XEmbed tray, each started and stopped by process id and written into the rig's
# ledger (ledger.sh).
. "$(dirname "${BASH_SOURCE[0]}")/ledger.sh"

# rig_desktop_env: the environment of a plain X11 desktop session, whatever the caller's holds:
# Qt on X11 at 96 dpi without scaling, themes or styles of the caller's desktop; the tools in the C
# locale, the program in the language RIG_LANGUAGE names (Korean unless told).
rig_desktop_env() {
  export QT_QPA_PLATFORM=xcb
  unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS \
    QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI QT_DEBUG_PLUGINS \
    WAYLAND_DISPLAY XDG_SESSION_TYPE XDG_CURRENT_DESKTOP DESKTOP_SESSION || true
  export LC_ALL=C.UTF-8 LANGUAGE=${RIG_LANGUAGE:-ko}
}

# rig_desktop_start DIR: starts Xvfb (a screen of RIG_SCREEN, 1024x768 unless told) and openbox,
# exports DISPLAY; sets RIG_XVFB_PID, RIG_WM_PID.
rig_desktop_start() {
  local dir=$1 i
  rig_desktop_env
  Xvfb -displayfd 3 -screen 0 "${RIG_SCREEN:-1024x768}x24" -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
  RIG_XVFB_PID=$!
  rig_track_pid "$RIG_XVFB_PID"
  for i in $(seq 600); do [ -s "$dir/display" ] && break; sleep 0.05; done
  if ! [ -s "$dir/display" ]; then
    echo "Xvfb did not start:" >&2
    cat "$dir/xvfb.log" >&2
    return 1
  fi
  export DISPLAY=:$(head -n1 "$dir/display")
  # A window mapped before the window manager runs is never given the focus: wait until openbox
  # has announced itself on the root window, for as long as it runs (30 s at most). On a busy
  # machine it has once exited at start, failing to open the display that Xvfb had just reported
  # ready: an openbox that exits so is started once more, and the log says so. Nothing the rigs
  # check has begun yet, and the display is its own from then on.
  local attempt
  for attempt in first second; do
    openbox >"$dir/openbox.log" 2>&1 &
    RIG_WM_PID=$!
    rig_track_pid "$RIG_WM_PID"
    rig_wm_announced && return 0
    if kill -0 "$RIG_WM_PID" 2>/dev/null; then
      echo "openbox did not announce itself within 30 s:" >&2
      cat "$dir/openbox.log" >&2
      return 1
    fi
    echo "openbox exited at its $attempt start:" >&2
    cat "$dir/openbox.log" >&2
    wait "$RIG_WM_PID" 2>/dev/null
    [ $attempt = second ] || echo "openbox: started once more" >&2
  done
  return 1
}

# rig_wm_announced: polls until the window manager RIG_WM_PID has announced itself on the root
# window; false when it exits first or after 30 s.
rig_wm_announced() {
  local deadline=$((SECONDS + 30))
  while [ $SECONDS -lt $deadline ]; do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    kill -0 "$RIG_WM_PID" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}

# rig_tray_start DIR: starts trayer at the bottom right; sets RIG_TRAY_PID once its panel is up.
# Like openbox, trayer has once exited at start on a busy machine: one that exits so is started
# once more, and its log is printed either way.
rig_tray_start() {
  local dir=$1 attempt deadline
  for attempt in first second; do
    trayer --edge bottom --align right --widthtype pixel --width 120 --height 26 \
      --SetDockType true >"$dir/trayer.log" 2>&1 &
    RIG_TRAY_PID=$!
    rig_track_pid "$RIG_TRAY_PID"
    deadline=$((SECONDS + 30))
    while [ $SECONDS -lt $deadline ] && kill -0 "$RIG_TRAY_PID" 2>/dev/null; do
      xwininfo -root -tree 2>/dev/null | grep -q '"panel": ("panel" "trayer")' && return 0
      sleep 0.05
    done
    if kill -0 "$RIG_TRAY_PID" 2>/dev/null; then
      echo "trayer did not show its panel within 30 s:" >&2
      cat "$dir/trayer.log" >&2
      return 1
    fi
    wait "$RIG_TRAY_PID" 2>/dev/null
    echo "trayer exited at its $attempt start (status $?):" >&2
    cat "$dir/trayer.log" >&2
    [ $attempt = second ] || echo "trayer: started once more" >&2
  done
  return 1
}

# rig_desktop_stop: stops the tray, the window manager and the X server by their ids.
rig_desktop_stop() {
  local p
  for p in ${RIG_TRAY_PID:-} ${RIG_WM_PID:-} ${RIG_XVFB_PID:-}; do kill -TERM "$p" 2>/dev/null; done
  for p in ${RIG_TRAY_PID:-} ${RIG_WM_PID:-} ${RIG_XVFB_PID:-}; do wait "$p" 2>/dev/null; done
  RIG_TRAY_PID= RIG_WM_PID= RIG_XVFB_PID=
}

# rig_banner_loop GEOMETRY SECONDS FILE: takes pictures of the screen's rectangle GEOMETRY
# (WxH+X+Y) for SECONDS, one a line "time checksum" in FILE, and prints "PICTURES DISTINCT PERIOD":
# how many pictures, how many different ones, and the median time from a picture coming up to its
# coming up again (a whole loop of an animation), or "none".
rig_banner_loop() {
  local geometry=$1 seconds=$2 file=$3 end t sum
  : >"$file"
  end=$(awk -v t="$(date +%s.%N)" -v s="$seconds" 'BEGIN { printf "%.3f", t + s }')
  while awk -v a="$(date +%s.%N)" -v b="$end" 'BEGIN { exit !(a < b) }'; do
    t=$(date +%s.%N)
    sum=$(import -window root -crop "$geometry" -depth 8 rgb:- 2>/dev/null | md5sum | cut -c1-12)
    echo "$t $sum" >>"$file"
  done
  local pictures distinct period
  pictures=$(wc -l <"$file")
  distinct=$(cut -d' ' -f2 "$file" | sort -u | wc -l)
  period=$(awk '$2 != last { n++; t[n] = $1; s[n] = $2; last = $2 }
    END { for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j) if (s[j] == s[i]) {
            printf "%.3f\n", t[j] - t[i]; break } }' "$file" | sort -n |
    awk '{ d[NR] = $1 } END { if (NR) printf "%.2f", d[int((NR + 1) / 2)]; else print "none" }')
  echo "$pictures $distinct $period"
}
