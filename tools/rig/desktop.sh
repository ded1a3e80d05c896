# Sourced by the GUI rig and the start-up benchmark: a private X server (first free display) with
# openbox and an XEmbed tray, each started and stopped by process id and written into the rig's
# ledger (ledger.sh).
. "$(dirname "${BASH_SOURCE[0]}")/ledger.sh"

# rig_desktop_env: the environment of a plain X11 desktop session, whatever the caller's holds:
# Qt on X11 at 96 dpi without scaling, themes or styles of the caller's desktop.
rig_desktop_env() {
  export QT_QPA_PLATFORM=xcb
  unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS \
    QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI QT_DEBUG_PLUGINS \
    WAYLAND_DISPLAY XDG_SESSION_TYPE XDG_CURRENT_DESKTOP DESKTOP_SESSION || true
  export LC_ALL=C.UTF-8
}

# rig_desktop_start DIR: starts Xvfb and openbox, exports DISPLAY; sets RIG_XVFB_PID, RIG_WM_PID.
rig_desktop_start() {
  local dir=$1 i
  rig_desktop_env
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
  RIG_XVFB_PID=$!
  rig_track_pid "$RIG_XVFB_PID"
  for i in $(seq 600); do [ -s "$dir/display" ] && break; sleep 0.05; done
  if ! [ -s "$dir/display" ]; then
    echo "Xvfb did not start:" >&2
    cat "$dir/xvfb.log" >&2
    return 1
  fi
  export DISPLAY=:$(head -n1 "$dir/display")
  openbox >"$dir/openbox.log" 2>&1 &
  RIG_WM_PID=$!
  rig_track_pid "$RIG_WM_PID"
}

# rig_tray_start DIR: starts trayer at the bottom right; sets RIG_TRAY_PID once its panel is up.
rig_tray_start() {
  local dir=$1 i
  trayer --edge bottom --align right --widthtype pixel --width 120 --height 26 \
    --SetDockType true >"$dir/trayer.log" 2>&1 &
  RIG_TRAY_PID=$!
  rig_track_pid "$RIG_TRAY_PID"
  for i in $(seq 600); do
    xwininfo -root -tree 2>/dev/null | grep -q '"panel": ("panel" "trayer")' && return 0
    sleep 0.05
  done
  echo "trayer did not start" >&2
  return 1
}

# rig_desktop_stop: stops the tray, the window manager and the X server by their ids.
rig_desktop_stop() {
  local p
  for p in ${RIG_TRAY_PID:-} ${RIG_WM_PID:-} ${RIG_XVFB_PID:-}; do kill -TERM "$p" 2>/dev/null; done
  for p in ${RIG_TRAY_PID:-} ${RIG_WM_PID:-} ${RIG_XVFB_PID:-}; do wait "$p" 2>/dev/null; done
  RIG_TRAY_PID= RIG_WM_PID= RIG_XVFB_PID=
}
