# Sourced by the install and package checks: checks one installed copy of Drovane the way a
# desktop, a software centre and man read it. The caller defines fail WHAT and ok WHAT.

# check_installed_tree TREE PREFIX VERSION SOURCE_DIR: the copy's files are now in TREE and were
# installed for PREFIX (the same folder, or PREFIX under a throwaway root).
check_installed_tree() {
  local tree=$1 prefix=$2 version=$3 source=$4
  local here id=io.github.drovane.Drovane
  here=$(dirname "${BASH_SOURCE[0]}")

  # Exactly the expected files: a file that goes missing, or one that no rule should install
  # (a test program, anything under etc/), shows here.
  local got
  got=$(cd "$tree" && find . \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort)
  if [ "$got" = "$(LC_ALL=C sort "$here/installed_files.txt")" ]; then
    ok "the installed files are the expected $(wc -l <"$here/installed_files.txt")"
  else
    fail "installed files differ from tests/install/installed_files.txt (< expected, > installed):"
    diff <(LC_ALL=C sort "$here/installed_files.txt") <(echo "$got") | grep '^[<>]' | sed 's/^/  /'
  fi
  local p
  for p in drovane drovane-play; do
    [ -x "$tree/bin/$p" ] || fail "bin/$p is not executable"
  done

  # The programs find their page at <folder of the program>/../share/drovane/page.
  if [ -f "$tree/bin/../share/drovane/page/index.html" ] && grep -q 'src="banner.gif"' "$tree/bin/../share/drovane/page/index.html" &&
    [ -f "$tree/bin/../share/drovane/page/banner.gif" ]; then
    ok "the page and its banner are where the programs look"
  else
    fail "no page with its banner at bin/../share/drovane/page"
  fi

  # The launcher: valid, starting the program where it was installed, with the theme's icon.
  local launcher=$tree/share/applications/$id.desktop
  if desktop-file-validate "$launcher"; then ok "desktop-file-validate"; else fail "desktop-file-validate"; fi
  local exec="$prefix/bin/drovane"
  case $prefix in *' '*) exec="\"$exec\"" ;; esac
  if grep -qxF "Exec=$exec" "$launcher"; then
    ok "the launcher starts $exec"
  else
    fail "the launcher's $(grep '^Exec=' "$launcher") does not start $exec"
  fi
  local icon size
  icon=$(sed -n 's/^Icon=//p' "$launcher")
  [ -f "$tree/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon named $icon, the launcher's"
  for size in 16 22 24 32 48 64 128 256; do
    local png=$tree/share/icons/hicolor/${size}x$size/apps/$icon.png
    local dims
    dims=$(python3 -c 'import struct, sys
d = open(sys.argv[1], "rb").read(24)
print("%dx%d" % struct.unpack(">II", d[16:24]) if d[:8] == b"\x89PNG\r\n\x1a\n" else "not a PNG")' "$png" 2>&1)
    [ "$dims" = "${size}x$size" ] || fail "the ${size}x$size icon is $dims"
  done
  cmp -s "$tree/share/icons/hicolor/scalable/apps/$id.svg" "$source/res/app_icon.svg" ||
    fail "the scalable icon is not res/app_icon.svg"

  # The AppStream data: valid, naming this launcher and these programs, at this version.
  local metainfo=$tree/share/metainfo/$id.metainfo.xml
  if appstreamcli validate --no-net --pedantic "$metainfo" >"$work/appstream.log" 2>&1; then
    ok "appstreamcli validate --no-net --pedantic"
  else
    fail "appstreamcli validate --no-net --pedantic:"
    sed 's/^/  /' "$work/appstream.log"
  fi
  local launchable
  launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
  [ -n "$launchable" ] && [ -f "$tree/share/applications/$launchable" ] ||
    fail "the AppStream data launches '$launchable', which is not installed"
  for p in $(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo"); do
    [ -x "$tree/bin/$p" ] || fail "the AppStream data provides $p, which is not installed"
  done
  [ "$(grep -c '<binary>' "$metainfo")" -eq 2 ] || fail "the AppStream data does not provide both programs"

  # The manual pages: no warning from man or groff, as lintian runs them.
  local page
  for page in drovane drovane-play; do
    local file=$tree/share/man/man1/$page.1.gz warnings
    warnings=$( { LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$file" >/dev/null; } 2>&1
      zcat "$file" | groff -Tutf8 -ww -man -z 2>&1)
    if [ -z "$warnings" ]; then
      ok "man --warnings and groff -ww: $page.1"
    else
      fail "$page.1 has warnings:"
      echo "$warnings" | sed 's/^/  /'
    fi
    zcat "$file" | grep -q "^\.TH .* \"Drovane $version\"" || fail "$page.1 is not the page of Drovane $version"
  done
  # Every option drovane-play's help names is in its manual.
  local option missing=()
  for option in $("$tree/bin/drovane-play" --help | grep -o -- '--[a-z]*' | sort -u); do
    zcat "$tree/share/man/man1/drovane-play.1.gz" | grep -qF -- "${option//-/\\-}" || missing+=("$option")
  done
  if [ ${#missing[@]} -eq 0 ]; then ok "drovane-play.1 documents every option of --help"; else
    fail "drovane-play.1 does not document ${missing[*]}"
  fi

  # One version everywhere.
  [ "$("$tree/bin/drovane-play" --version)" = "drovane-play $version" ] ||
    fail "the installed drovane-play --version says: $("$tree/bin/drovane-play" --version)"
  [ "$("$tree/bin/drovane" --version)" = "drovane $version" ] ||
    fail "the installed drovane --version says: $("$tree/bin/drovane" --version)"
  [ "$(zcat "$tree/share/doc/drovane/changelog.gz" | head -n1)" = "drovane ($version) unstable; urgency=medium" ] ||
    fail "the changelog's latest entry is not $version"
  [ "$(grep -o '<release version="[^"]*"' "$metainfo" | head -n1)" = "<release version=\"$version\"" ] ||
    fail "the AppStream data's latest release is not $version"
  head -n1 "$tree/share/doc/drovane/copyright" |
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in the machine-readable format"
  # One licence everywhere: MIT, which Debian's copyright format names Expat.
  grep -qx 'License: Expat' "$tree/share/doc/drovane/copyright" ||
    fail "the copyright file does not give the MIT (Expat) licence"
  grep -q '<project_license>MIT</project_license>' "$metainfo" ||
    fail "the AppStream data does not give the MIT licence"
}
