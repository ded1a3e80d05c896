# Sourced by the Windows rigs: a private Wine prefix with its own server, fonts that render
# Hangul, and nothing written into the Linux desktop's menus. Every process started is recorded in
# the rig's ledger (tools/rig/ledger.sh) and stopped by its id.

# rig_wine_env DIR: the environment of Wine programs in the prefix DIR/prefix.
rig_wine_env() {
  export WINEPREFIX=$1/prefix
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  unset WINESERVER WINELOADER || true
  # Wine takes the user's interface language from the locale: English, whatever the caller's is.
  # A run in another language starts its programs in a locale of its own (rig_wine_locale).
  export LC_ALL=C.UTF-8
  unset LANGUAGE || true
  # The program plays as it starts: unless the rig runs a sound server of its own, Wine finds
  # none, nor a sound card, so nothing reaches the speakers of the machine the tests run on.
  if [ -z "${RIG_PULSE_DIR:-}" ]; then
    mkdir -p "$1"
    : >"$1/no-sound.conf"
    export PULSE_SERVER=unix:$1/no-sound-server ALSA_CONFIG_PATH=$1/no-sound.conf
  fi
}

# rig_wine_locale DIR NAME: compiles the locale NAME (say ko_KR.UTF-8) into DIR, for programs
# started with LOCPATH=DIR LC_ALL=NAME: Wine speaks its language, and names X11 windows in its
# character set. The machine's own locales are left as they are.
rig_wine_locale() {
  mkdir -p "$1" && localedef -i "${2%%.*}" -f "${2##*.}" "$1/$2" >/dev/null 2>&1 && [ -d "$1/$2" ]
}

# rig_wine_start DIR: makes the prefix and starts its server; sets RIG_WINESERVER_PID.
rig_wine_start() {
  local dir=$1 fonts=/usr/share/wine/fonts
  rig_wine_env "$dir"
  mkdir -p "$WINEPREFIX"
  # A server of our own, persistent until stopped, so that every program finds it running.
  RIG_WINESERVER_STARTED=$(date +%s.%N)
  wineserver -f -p >"$dir/wineserver.log" 2>&1 &
  RIG_WINESERVER_PID=$!
  rig_track_pid "$RIG_WINESERVER_PID"
  if ! wineboot -i </dev/null >"$dir/wineboot.log" 2>&1; then
    echo "wineboot failed:" >&2
    tail "$dir/wineboot.log" >&2
    return 1
  fi
  # Tahoma is the dialogs' font, its bold the window captions'; Marlett draws the caption's
  # buttons; NanumGothic goes into the prefix for Korean runs. Hangul comes from NanumGothic through the font links, which Wine looks up by the
  # realised font's name: the bold caption font is "Tahoma Bold" and needs a link of its own. The
  # .reg file is UTF-16 with a byte-order mark: regedit misreads hex(7) lists in ASCII files.
  cp "$fonts"/tahoma*.ttf "$fonts"/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" || return 1
  python3 - "$dir/fontlink.reg" <<'PY'
import sys
def links(*fonts):
    data = "".join(f + "\0" for f in fonts) + "\0"
    return ",".join("%02x" % b for b in data.encode("utf-16-le"))
regular = links("NanumGothic.ttf,NanumGothic")
bold = links("NanumGothicBold.ttf,NanumGothic Bold", "NanumGothic.ttf,NanumGothic")
lines = ["Windows Registry Editor Version 5.00", "",
         "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]"]
lines += ['"%s"=hex(7):%s' % (face, regular) for face in ("Tahoma", "MS Shell Dlg", "MS Shell Dlg 2")]
lines += ['"Tahoma Bold"=hex(7):%s' % bold]
# Under a Korean locale Wine takes Gulim for the dialogs, as Korean Windows does: NanumGothic
# stands in for it.
lines += ["", "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]",
          '"Gulim"="NanumGothic"', '"GulimChe"="NanumGothicCoding"']
with open(sys.argv[1], "wb") as f:
    f.write("\r\n".join(lines + [""]).encode("utf-16"))
PY
  wine regedit /S "$dir/fontlink.reg" </dev/null >/dev/null 2>&1
}

# rig_wine_stop: ends every program of the prefix, then its server, by the server's id.
rig_wine_stop() {
  [ -z "${RIG_WINE_SAVES_PID:-}" ] || kill "$RIG_WINE_SAVES_PID" 2>/dev/null
  RIG_WINE_SAVES_PID=
  [ -n "${RIG_WINESERVER_PID:-}" ] || return 0
  wineserver -k >/dev/null 2>&1
  local i
  for i in $(seq 100); do kill -0 "$RIG_WINESERVER_PID" 2>/dev/null || break; sleep 0.05; done
  kill -KILL "$RIG_WINESERVER_PID" 2>/dev/null
  wait "$RIG_WINESERVER_PID" 2>/dev/null
  RIG_WINESERVER_PID=
}

# Every 30 s from its start the Wine server writes what changed of its registry, and answers no
# program meanwhile: a sound stream runs dry for up to 50 ms. A Wine program that starts changes
# the registry (Wine writes the display's modes), so the save after it stalls; with no program
# started since, a save has nothing to write and takes no time.
# rig_wine_watch_saves FILE: records the start and end of every save into FILE.
rig_wine_watch_saves() {
  RIG_WINE_SAVES=$1
  : >"$1"
  "$(dirname "${BASH_SOURCE[0]}")/wine_registry_saves.py" "$WINEPREFIX" "$1" &
  RIG_WINE_SAVES_PID=$!
  rig_track_pid "$RIG_WINE_SAVES_PID"
}

# rig_wine_between_saves SECONDS: returns once the server's next save is more than SECONDS away,
# waiting for the next one to pass if need be. Saves come 30 s apart, counted from the last one
# seen, or from the server's start.
rig_wine_between_saves() {
  local last wait
  last=$(awk 'END { print $1 }' "$RIG_WINE_SAVES")
  wait=$(awk -v p="${last:-$RIG_WINESERVER_STARTED}" -v now="$(date +%s.%N)" -v need="$1" 'BEGIN {
    next_save = p + 30 * (int((now - p) / 30) + 1)
    print (next_save - now >= need + 0.5) ? 0 : next_save - now + 0.5 }')
  sleep "$wait"
}
