#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs a build into an empty root as a package would (prefix /usr) and
# checks what a desktop finds there: every file in place, the menu entries
# and the AppStream metadata valid, entries, icons and metadata naming each
# other, the PNG icons of the size their folder says, the manual pages free
# of formatter warnings.
#
#   check-install.sh BUILD_DIR ROOT
set -euo pipefail

# Programs with a menu entry, an icon and metadata; entries started at login
# (each naming an installed program and icon); commands with a manual page;
# packages with copyright and changelog.
apps=(vesnal tempral)
autostart=(vesnal-popup)
commands=(vesnal vesnal-net vesnal-receive vesnal-popup vesnal-receiver-setup tempral)
packages=(vesnal tempral)
sizes=(16 32 48 64 128 256)

[ $# -eq 2 ] || { echo "usage: $0 BUILD_DIR ROOT" >&2; exit 2; }
build=$1
root=$2
case "$root" in /?*) ;; *) echo "ROOT must be an absolute path" >&2; exit 2 ;; esac
rm -rf "$root"
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr
share=$usr/share

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
need() { # FILE
    [ -f "$1" ] && [ -s "$1" ] || fail "missing: ${1#"$root"}"
}
# Width and height of a PNG, from its header.
png_size() {
    local b
    read -r -a b < <(od -An -tu1 -j16 -N8 "$1")
    echo "$(((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3]))x$(((b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7]))"
}
# The value of KEY in the [Desktop Entry] group of a desktop file.
entry_value() { # FILE KEY
    sed -n "/^\[Desktop Entry\]/,/^\[/s/^$2=//p" "$1" | head -n 1
}
check_entry() { # FILE
    local exec icon
    need "$1"
    [ -f "$1" ] || return 0
    desktop-file-validate "$1" || fail "${1#"$root"} is not a valid desktop entry"
    exec=$(entry_value "$1" Exec)
    [ -x "$usr/bin/${exec%% *}" ] || fail "${1#"$root"} starts '$exec', which is not installed"
    icon=$(entry_value "$1" Icon)
    [ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] ||
        fail "${1#"$root"} shows the icon '$icon', which is not installed"
}

for command in "${commands[@]}"; do
    [ -x "$usr/bin/$command" ] || fail "missing: /usr/bin/$command"
    page=$share/man/man1/$command.1.gz
    need "$page"
    [ -f "$page" ] || continue
    warnings=$(zcat "$page" | LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z - 2>&1 >/dev/null) || fail "$command.1 does not format"
    [ -z "$warnings" ] || fail "$command.1: $warnings"
done

for app in "${apps[@]}"; do
    check_entry "$share/applications/$app.desktop"
    need "$share/icons/hicolor/scalable/apps/$app.svg"
    for size in "${sizes[@]}"; do
        png=$share/icons/hicolor/${size}x${size}/apps/$app.png
        need "$png"
        [ -f "$png" ] || continue
        [ "$(png_size "$png")" = "${size}x${size}" ] ||
            fail "${png#"$root"} is $(png_size "$png"), not ${size}x${size}"
    done
    # The metadata that launches this entry.
    metainfo=$(grep -l "<launchable type=\"desktop-id\">$app.desktop</launchable>" \
        "$share"/metainfo/*.metainfo.xml 2>/dev/null | head -n 1 || true)
    if [ -z "$metainfo" ]; then
        fail "no metadata in /usr/share/metainfo launches $app.desktop"
        continue
    fi
    id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo" | head -n 1)
    [ "$(basename "$metainfo")" = "$id.metainfo.xml" ] ||
        fail "${metainfo#"$root"} holds the id '$id'"
    appstreamcli validate --no-net --no-color "$metainfo" >/dev/null ||
        fail "$(appstreamcli validate --no-net --no-color "$metainfo")"
done

for app in "${autostart[@]}"; do
    check_entry "$root/etc/xdg/autostart/$app.desktop"
done

for package in "${packages[@]}"; do
    need "$share/doc/$package/copyright"
    need "$share/doc/$package/changelog.gz"
done

# Nothing else lands in bin/: no test, benchmark or helper of the build.
for file in "$usr"/bin/*; do
    name=$(basename "$file")
    [[ " ${commands[*]} " == *" $name "* ]] || fail "unexpected: /usr/bin/$name"
done

if [ $failures -gt 0 ]; then
    echo "$failures problem(s) in the installed tree under $root"
    exit 1
fi
echo "installed tree under $root: ${#commands[@]} commands, ${#apps[@]} desktop programs, all in place"
