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
  rig_wine_server "$dir"
  if ! wineboot -i </dev/null >"$dir/wineboot.log" 2>&1; then
    echo "wineboot failed:" >&2
    tail "$dir/wineboot.log" >&2
    return 1
  fi
  # Tahoma is the dialogs' font, its bold the window captions' under Wine 8 (Wine 10's is plain
  # Tahoma); Marlett draws the caption's buttons. Hangul comes from the font links, which Wine looks
  # up by the realised font's name ("Tahoma Bold" needs a link of its own) and resolves by file and
  # family name. A program that starts in another code page makes Wine write its own links for
  # Tahoma, as Windows has them: to GULIM.TTC, family Gulim. So NanumGothic stands in for Gulim
  # under both names: the file, copied into the prefix, and the family, as a replacement (a font
  # substitute would not do: Wine names the family in the user's language, 나눔고딕 under Korean,
  # and a link's family must match that name). The .reg file is UTF-16 with a byte-order mark:
  # regedit misreads hex(7) lists in ASCII files.
  cp "$fonts"/tahoma*.ttf "$fonts"/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" || return 1
  cp /usr/share/fonts/truetype/nanum/NanumGothic.ttf "$WINEPREFIX/drive_c/windows/Fonts/gulim.ttc" || return 1
  python3 - "$dir/fontlink.reg" <<'PY'
import sys
def links(*fonts):
    data = "".join(f + "\0" for f in fonts) + "\0"
    return ",".join("%02x" % b for b in data.encode("utf-16-le"))
gulim = links("GULIM.TTC,Gulim")
# A file alone names no family: it is found under any language.
bold = links("NanumGothicBold.ttf", "GULIM.TTC,Gulim")
lines = ["Windows Registry Editor Version 5.00", "",
         "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]"]
lines += ['"%s"=hex(7):%s' % (face, gulim) for face in ("Tahoma", "MS Shell Dlg", "MS Shell Dlg 2")]
lines += ['"Tahoma Bold"=hex(7):%s' % bold]
# Under a Korean locale Wine takes Gulim for the dialogs, as Korean Windows does.
lines += ["", "[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]",
          '"Gulim"="NanumGothic"', '"GulimChe"="NanumGothicCoding"']
with open(sys.argv[1], "wb") as f:
    f.write("\r\n".join(lines + [""]).encode("utf-16"))
PY
  wine regedit /S "$dir/fontlink.reg" </dev/null >/dev/null 2>&1
}

# rig_wine_server DIR: a server of our own, persistent until stopped, so that every program finds
# it running; sets RIG_WINESERVER_PID.
rig_wine_server() {
  RIG_WINESERVER_STARTED=$(date +%s.%N)
  wineserver -f -p >>"$1/wineserver.log" 2>&1 &
  RIG_WINESERVER_PID=$!
  rig_track_pid "$RIG_WINESERVER_PID"
}

# rig_wine_dpi DIR DPI: the screen's density from now on, as a new session of Windows takes it
# after a change of scale: every program of the prefix ends and the server starts anew. Wine 8
# reads the density as each program starts, Wine 10 its monitor's density as the server starts:
# without a new server a program aware of each monitor's density (GetDpiForWindow) finds the old
# density while the system's (LOGPIXELSY) is DPI.
rig_wine_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$2" /f >/dev/null 2>&1
  rig_wine_stop
  rig_wine_server "$1"
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
