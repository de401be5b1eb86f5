#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages that one use of the repository needs:
#   scripts/deps.sh [run]    building and running both programs
#   scripts/deps.sh test     also the tests: the Samba lab, the installed-tree check
#   scripts/deps.sh package  also the .deb packages and their check
# Packages already present are left alone, so a second run costs a second.
set -euo pipefail
run=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-serialport-dev qt6-svg-dev qt6-qpa-plugins libgl-dev
  libsmbclient-dev smbclient
  libpulse-dev
  libcanberra-dev sound-theme-freedesktop # the arrival sound of received messages
  fonts-dejavu-core fonts-liberation
  librsvg2-bin # renders the PNG icons from their SVG
)
test=(
  samba iproute2                     # the Samba lab in network namespaces
  dbus                               # a private session bus for the notification tests
  desktop-file-utils appstream man-db # validating menu entries, metadata, manuals
)
package=(dpkg-dev file lintian)
case "${1:-run}" in
  run) packages=("${run[@]}") ;;
  test) packages=("${run[@]}" "${test[@]}") ;;
  package) packages=("${run[@]}" "${test[@]}" "${package[@]}") ;;
  *) echo "usage: $0 [run|test|package]" >&2; exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq -o DPkg::Lock::Timeout=600 "${missing[@]}"
