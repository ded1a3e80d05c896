#!/usr/bin/env bash
# Installs the build tree with `cmake --install` under a private prefix with a space in its name,
# and checks what it holds.
# Usage: install_tree_check.sh BUILD_DIR SOURCE_DIR VERSION
set -uo pipefail
build=$1
source=$2
version=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/installed_tree.sh"

for tool in desktop-file-validate appstreamcli man groff; do
  command -v "$tool" >/dev/null || { echo "install check: $tool is missing (run scripts/install-deps test)" >&2; exit 1; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/drovane-install-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

prefix="$work/a prefix"
if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi
check_installed_tree "$prefix" "$prefix" "$version" "$source"

echo "install check: $failures failure(s)"
exit $((failures > 0))
