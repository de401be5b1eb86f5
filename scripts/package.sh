#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds one .deb package per program into build/packages/ ($BUILD_DIR):
#   scripts/package.sh           build the packages
#   scripts/package.sh --check   then check them as a user's machine would:
#       lintian without errors or warnings, both installed with apt, every
#       program of the menu entries started from /usr/bin (offscreen, without
#       a network, with a settings folder of its own) and still running after
#       3 s; packages that were not installed before are removed again.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
check=0
case "${1:-}" in
  "") ;;
  --check) check=1 ;;
  *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac

"$top/scripts/deps.sh" package
"$top/scripts/build.sh"
rm -f "$build"/packages/*.deb
for config in "$build"/packages/*/CPackConfig.cmake; do
  cpack -G DEB --config "$config" | grep 'package:' || { echo "cpack failed for $config" >&2; exit 1; }
done
debs=("$build"/packages/*.deb)
[ $check -eq 1 ] || exit 0

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
echo "== lintian"
lintian_ok=1
lintian --fail-on error,warning "${debs[@]}" >"$scratch/lintian" 2>&1 || lintian_ok=0
grep -v 'root privileges' "$scratch/lintian" || true
[ $lintian_ok -eq 1 ] || { echo "lintian found errors or warnings" >&2; exit 1; }

names=()
for deb in "${debs[@]}"; do names+=("$(dpkg-deb -f "$deb" Package)"); done
fresh=()
for name in "${names[@]}"; do
  dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'install ok installed' || fresh+=("$name")
done
cleanup() {
  if [ ${#fresh[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq -o DPkg::Lock::Timeout=600 "${fresh[@]}" >/dev/null || true
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT

echo "== apt-get install ${names[*]}"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=600 "${debs[@]}" >"$scratch/apt.log" 2>&1 ||
  { cat "$scratch/apt.log" >&2; exit 1; }

# Starts one installed program as a user would, but offscreen, in a network
# namespace of its own (only a loopback: SMB browsing reaches no real
# network) and on a serial port that does not exist.
failed=0
start() { # PROGRAM
  local program=/usr/bin/$1 home=$scratch/$1 pid status i
  mkdir -p "$home/config" "$home/run" "$home/.smb"
  chmod 700 "$home/run"
  # Samba's client library keeps a name cache and lock files; with its own
  # folders the check leaves the machine's /run/samba and /var/cache/samba
  # as they were.
  mkdir -p "$home"/samba/{lock,cache,state,private,ncalrpc}
  cat >"$home/.smb/smb.conf" <<CONF
[global]
lock directory = $home/samba/lock
cache directory = $home/samba/cache
state directory = $home/samba/state
private dir = $home/samba/private
ncalrpc dir = $home/samba/ncalrpc
CONF
  if ldd "$program" | grep -q 'not found'; then
    echo "FAIL: $program misses libraries:"; ldd "$program" | grep 'not found'
    failed=1
    return
  fi
  unshare --net sh -c 'ip link set lo up && exec "$@"' sh env -i PATH=/usr/bin:/bin HOME="$home" XDG_CONFIG_HOME="$home/config" \
    XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM=offscreen \
    TEMPRAL_PORTS=/dev/tempral-package-check-no-such-port \
    "$program" >"$home/output" 2>&1 &
  pid=$!
  sleep 3
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid" && status=0 || status=$?
    echo "FAIL: $program ended within 3 s (status $status):"
    cat "$home/output"
    failed=1
    return
  fi
  kill -TERM "$pid"
  for i in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "note: $program did not end within 5 s of SIGTERM; killed"
    kill -KILL "$pid"
  fi
  wait "$pid" 2>/dev/null || true
  echo "ok: $program started and ran for 3 s"
}
if ! unshare --net true 2>/dev/null; then
  echo "skipped: starting the programs needs a network namespace of its own (root)"
  exit 0
fi
for desktop in /usr/share/applications/*.desktop; do
  owner=$(dpkg -S "$desktop" 2>/dev/null | cut -d: -f1)
  [[ " ${names[*]} " == *" $owner "* ]] || continue
  start "$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop" | head -n 1)"
done
[ $failed -eq 0 ] || exit 1
echo "packages checked: ${names[*]}"
