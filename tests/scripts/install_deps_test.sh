#!/usr/bin/env bash
# scripts/install-deps against a fake apt-get: what it tells, installs and leaves off, per case.
set -u
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" "$work/nosudo"
ln -s /usr/bin/* "$work/nosudo/"; rm -f "$work/nosudo/sudo"
printf '#!/bin/sh\necho "deinstall ok config-files"\n' >"$work/bin/dpkg-query"
printf '#!/bin/sh\necho "$FAKE_UID"\n' >"$work/bin/id"
cat >"$work/bin/apt-get" <<'FAKE'
#!/bin/bash
echo "apt-get $*" >>"$FAKE_DIR/calls"
case "$*" in
  -s\ *) [ "$FAKE_REMOVES" != unknown ] || { echo "E: Unable to locate package libclang-rt-14-dev" >&2; exit 100; }
    for p in $FAKE_REMOVES; do echo "Remv $p [1]"; done ;;
  *update*) echo x >>"$FAKE_DIR/updates"
    [ "$(wc -l <"$FAKE_DIR/updates")" -gt "$FAKE_LOCKED" ] || { echo "E: Could not get lock. It is held by process 42 (apt)" >&2; exit 100; } ;;
  *install*) ln -s /usr/lib/systemd/user/pipewire-pulse.socket "$FAKE_DIR/units/new.socket" ;;
esac
FAKE
printf '#!/bin/sh\n' >"$work/bin/sleep"; chmod +x "$work"/bin/*
failures=0
#    case           uid  locked removes        path    status  told                                  units left
while read -r name uid locked removes path status told left; do
  dir="$work/$name"; mkdir -p "$dir/units"; ln -s /usr/lib/systemd/user/pulseaudio.socket "$dir/units/old.socket"
  out=$(FAKE_DIR=$dir FAKE_UID=$uid FAKE_LOCKED=$locked FAKE_REMOVES=${removes#-} DROVANE_USER_UNITS=$dir/units \
        PATH="$work/bin:$work/$path" bash scripts/install-deps test 2>&1); got=$?
  units=$(ls "$dir/units" | paste -sd,); installs=$(cat "$dir/calls" 2>/dev/null | grep -c " install -y")
  if [ $got -ne "$status" ] || ! grep -q -- "${told//_/ }" <<<"$out" || [ "$units" != "$left" ] || [ "$installs" -ne $((1 - status)) ]; then
    echo "FAIL $name: exit $got, units $units, installs $installs"; echo "$out"; failures=$((failures + 1))
  fi
done <<'CASES'
services       0    0      -              nosudo  0       services_off,_as_they_were:_pipewire-pulse.socket  old.socket
busy           0    2      -              nosudo  0       held_by_process_42_(apt));_waiting    old.socket
removes        0    0      pipewire-alsa  nosudo  1       would_remove_pipewire-alsa            old.socket
unknown        0    0      unknown        nosudo  1       Unable_to_locate_package_libclang-rt-14-dev  old.socket
no-sudo        1000 0      -              nosudo  1       apt-get_install_--no-install-recommends_--no-remove_cmake  old.socket
CASES
echo "$((5 - failures)) passed, $failures failed"
[ $failures -eq 0 ]
