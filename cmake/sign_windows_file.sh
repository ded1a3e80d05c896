#!/usr/bin/env bash
# Signs a Windows program in place with osslsigncode (Authenticode, SHA-256). The signed copy is
# written into a folder beside the file and renamed over it, so that a failed signing leaves the
# file as it was and nothing half-written.
#   sign_windows_file.sh --cert FILE [--key FILE] --name NAME [--url URL] [--timestamp URL] PROGRAM
# --cert is a PEM certificate (with its chain) and --key its PEM private key, or --cert alone is a
# PKCS#12 file. A password of the key or of the PKCS#12 file comes from the environment variable
# DROVANE_SIGN_PASSWORD, which osslsigncode reads from a pipe: it is on no command line. NAME is
# what Windows shows as the program's name, URL its page; only with --timestamp is a server asked.
set -euo pipefail
me=$(basename "$0")
cert='' key='' name='' url='' timestamp=''
while [ $# -gt 1 ]; do
  case $1 in
    --cert) cert=$2 ;;
    --key) key=$2 ;;
    --name) name=$2 ;;
    --url) url=$2 ;;
    --timestamp) timestamp=$2 ;;
    *) echo "$me: unknown option $1" >&2; exit 2 ;;
  esac
  shift 2
done
if [ $# -ne 1 ] || [ -z "$cert" ] || [ -z "$name" ]; then
  echo "usage: $me --cert FILE [--key FILE] --name NAME [--url URL] [--timestamp URL] PROGRAM" >&2
  exit 2
fi
file=$1
for f in "$cert" ${key:+"$key"}; do
  if [ ! -f "$f" ] || [ ! -r "$f" ]; then
    echo "$me: cannot read the signing certificate or key $f" >&2
    exit 1
  fi
done

args=(-h sha256 -n "$name")
if [ -n "$key" ]; then args+=(-certs "$cert" -key "$key"); else args+=(-pkcs12 "$cert"); fi
if [ -n "${DROVANE_SIGN_PASSWORD+set}" ]; then args+=(-readpass /dev/stdin); fi
if [ -n "$url" ]; then args+=(-i "$url"); fi
if [ -n "$timestamp" ]; then args+=(-ts "$timestamp"); fi

# osslsigncode writes only a file that does not exist yet: a private folder beside the program,
# on the same file system, so that the rename is atomic.
tmp=$(mktemp -d "$file.signing.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
# Its messages (on standard output in Debian 12's 2.5) are shown only when it fails.
if ! out=$(printf '%s' "${DROVANE_SIGN_PASSWORD-}" |
  osslsigncode sign "${args[@]}" -in "$file" -out "$tmp/signed" 2>&1); then
  printf '%s\n' "$out" >&2
  echo "$me: could not sign $file" >&2
  exit 1
fi
chmod --reference="$file" "$tmp/signed"
mv -f "$tmp/signed" "$file"
