#!/usr/bin/env bash
# Builds the Debian package from the build tree with scripts/package-deb and checks it as dpkg,
# lintian and a user meet it: its control data and contents, an install into a throwaway root
# (never the real system), the installed programs at work, and a purge that leaves nothing but
# the user's settings.
# Usage: package_check.sh BUILD_DIR SOURCE_DIR VERSION
set -uo pipefail
build=$1
source=$2
version=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/installed_tree.sh"
. "$source/tools/rig/pulse_server.sh"

for tool in dpkg dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli man groff; do
  command -v "$tool" >/dev/null || { echo "package check: $tool is missing (run scripts/install-deps test)" >&2; exit 1; }
done
# dpkg needs root to give the files their owner; fakeroot lends it to an ordinary user.
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v fakeroot >/dev/null || { echo "package check: fakeroot is missing (run scripts/install-deps test)" >&2; exit 1; }
  as_root=(fakeroot)
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/drovane-package-check.XXXXXX")
program_pid=
cleanup() {
  # `timeout` passes the signal on to the program.
  [ -n "$program_pid" ] && kill -TERM "$program_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }
real_status() { dpkg-query -W -f='${Status} ${Version}' drovane 2>/dev/null; }
real_before=$(real_status)

# --- the package ---------------------------------------------------------------------------------
if ! "$source/scripts/package-deb" "$build" >"$work/package.log" 2>&1; then
  cat "$work/package.log"
  echo "FAIL: scripts/package-deb $build"
  exit 1
fi
sed 's/^/  /' "$work/package.log"
deb=$(head -n1 "$work/package.log")
field() { dpkg-deb -f "$deb" "$1"; }

echo "== dpkg-deb --info"
dpkg-deb --info "$deb" >"$work/info.txt" || fail "dpkg-deb --info"
before=$failures
[ "$(field Package)" = drovane ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), expected $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture: $(field Architecture)"
[ "$(field Homepage)" = https://github.com/drovane/drovane ] || fail "Homepage: $(field Homepage)"
[ "$failures" -eq "$before" ] && ok "drovane $version for $(field Architecture)"
grep -q '^ *[0-9]* bytes, *[0-9]* lines *md5sums' "$work/info.txt" || fail "no md5sums in the control data"
# Depends must name exactly the packages of the libraries the programs link, each with a lowest
# version: computed from the binaries, neither guessed nor stale.
dpkg-deb -x "$deb" "$work/unpacked"
needed=()
for lib in $(for p in drovane drovane-play; do
  readelf -d "$work/unpacked/usr/bin/$p" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'
done | sort -u); do
  path=$(ldconfig -p | awk -v l="$lib" '$1 == l && /x86-64|x86_64|64bit/ { print $NF; exit }')
  [ -n "$path" ] || path=$(ldconfig -p | awk -v l="$lib" '$1 == l { print $NF; exit }')
  owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")" 2>/dev/null || dpkg -S "/usr$path" 2>/dev/null)
  owner=${owner%%:*}
  [ -n "$owner" ] || { fail "no package holds $lib ($path)"; continue; }
  needed+=("$owner")
done
expected=$(printf '%s\n' "${needed[@]}" | sort -u)
depends=$(field Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//' | sort -u)
if [ "$depends" = "$expected" ]; then
  ok "Depends names the $(echo "$expected" | wc -l) packages of the linked libraries"
else
  fail "Depends differs from the packages of the linked libraries (< linked, > Depends):"
  diff <(echo "$expected") <(echo "$depends") | grep '^[<>]' | sed 's/^/  /'
fi

# The Hangul font and Qt's Wayland plugin are recommended: the program runs without either.
[ "$(field Recommends)" = "fonts-nanum, qt6-wayland" ] && ok "Recommends fonts-nanum, qt6-wayland" \
  || fail "Recommends: $(field Recommends)"

echo "== dpkg-deb --contents"
dpkg-deb --contents "$deb" >"$work/contents.txt" || fail "dpkg-deb --contents"
before=$failures
awk '$2 != "root/root"' "$work/contents.txt" | grep . && fail "entries not owned by root/root"
awk '$6 !~ /^\.\/usr\// && $6 != "./usr/"' "$work/contents.txt" | grep . && fail "entries outside /usr (/etc/xdg/autostart included)"
awk '$1 ~ /^d/ && $1 != "drwxr-xr-x"' "$work/contents.txt" | grep . && fail "folders that are not 755"
awk '$1 ~ /^-/ && $6 ~ /^\.\/usr\/bin\// && $1 != "-rwxr-xr-x"' "$work/contents.txt" | grep . && fail "programs that are not 755"
awk '$1 ~ /^-/ && $6 !~ /^\.\/usr\/bin\// && $1 != "-rw-r--r--"' "$work/contents.txt" | grep . && fail "data files that are not 644"
for p in drovane drovane-play; do
  readelf -S "$work/unpacked/usr/bin/$p" | grep -q '\.symtab' && fail "usr/bin/$p is not stripped"
done
[ "$failures" -eq "$before" ] && ok "everything under /usr, owned by root, 755 and 644, programs stripped"

echo "== lintian"
# Errors and warnings fail; the informational tags are shown for the record.
if lintian --no-cfg --fail-on error,warning --display-info "$deb" >"$work/lintian.txt" 2>&1; then
  ok "lintian: no error and no warning"
else
  fail "lintian:"
fi
grep -v 'running with root privileges' "$work/lintian.txt" | sed 's/^/  /'

# --- installed into a throwaway root -------------------------------------------------------------
echo "== dpkg -i into a throwaway root"
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
: >"$root/var/lib/dpkg/status"
: >"$root/var/lib/dpkg/available"
dpkg_root() { "${as_root[@]}" dpkg --root="$root" --log="$work/dpkg.log" --force-not-root "$@"; }
# The libraries it depends on are the real system's, not the throwaway root's.
if dpkg_root --force-depends -i "$deb" >"$work/dpkg-i.log" 2>&1; then
  ok "dpkg -i"
else
  fail "dpkg -i:"
  sed 's/^/  /' "$work/dpkg-i.log"
fi
[ "$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Status}' drovane)" = "install ok installed" ] ||
  fail "dpkg does not list drovane as installed in the throwaway root"
check_installed_tree "$root/usr" /usr "$version" "$source"

echo "== the installed programs"
# Private settings, runtime folder and a sound server that is not there; ALSA knows no device,
# so nothing reaches real speakers and nothing touches the user's settings.
rig_pulse_env "$work/env"
export QT_QPA_PLATFORM=offscreen
config=$XDG_CONFIG_HOME
play=$root/usr/bin/drovane-play
if "$play" sweep --seconds 1 --wav "$work/sweep.wav" 2>"$work/play.err"; then
  # A 44-byte header, then one second of 32-bit samples at 48 kHz and the few milliseconds of the
  # fade that ends it.
  frames=$((($(stat -c %s "$work/sweep.wav") - 44) / 4))
  [ "$frames" -ge 48000 ] && [ "$frames" -le 48480 ] && ok "installed drovane-play rendered 1 s of the sweep" ||
    fail "the rendered sweep has $frames frames"
else
  fail "installed drovane-play sweep --seconds 1 --wav: exit $?"
  sed 's/^/  /' "$work/play.err"
fi
"$play" settings | grep -qxF "Settings file: $config/drovane/registry.ini" ||
  fail "drovane-play settings does not read $config/drovane/registry.ini"
[ -z "$(ls -A "$config" | grep -v '^client.conf$\|^alsa.conf$')" ] || fail "drovane-play wrote into the settings folder"

# The window program starts from its installed path, stores its settings at the start of the
# sweep, and ends normally on SIGTERM. `timeout` ends it even if this script is killed.
timeout -s KILL 60 "$root/usr/bin/drovane" >"$work/drovane.log" 2>&1 &
program_pid=$!
for i in $(seq 300); do [ -s "$config/drovane/registry.ini" ] && break; sleep 0.05; done
if [ -s "$config/drovane/registry.ini" ]; then
  ok "installed drovane started and stored its settings"
else
  fail "installed drovane stored no settings within 15 s"
fi
kill -TERM "$program_pid"
wait "$program_pid"
rc=$?
program_pid=
[ "$rc" -eq 0 ] && ok "drovane ended with 0 on SIGTERM" || { fail "drovane ended with $rc on SIGTERM"; cat "$work/drovane.log"; }
cp "$config/drovane/registry.ini" "$work/settings.before-removal"

echo "== dpkg --purge"
if dpkg_root --purge drovane >"$work/dpkg-r.log" 2>&1; then ok "dpkg --purge"; else
  fail "dpkg --purge:"
  sed 's/^/  /' "$work/dpkg-r.log"
fi
left=$(cd "$root" && find . -mindepth 1 -not -path './var' -not -path './var/lib' -not -path './var/lib/dpkg' -not -path './var/lib/dpkg/*')
[ -z "$left" ] && ok "nothing of the package is left in the root" || { fail "left after purge:"; echo "$left" | sed 's/^/  /'; }
ls "$root/var/lib/dpkg/info" | grep -q '^drovane\.' && fail "dpkg still keeps files of drovane"
cmp -s "$config/drovane/registry.ini" "$work/settings.before-removal" && ok "the user's settings stay" ||
  fail "the user's settings changed or went with the package"

[ "$(real_status)" = "$real_before" ] || fail "the real system's drovane changed: '$real_before' -> '$(real_status)'"
echo "package check: $failures failure(s)"
exit $((failures > 0))
