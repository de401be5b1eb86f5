#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs a build into an empty root as a package would (prefix /usr) and
# checks what a desktop finds there: every file in place and nothing else in
# bin/, valid menu entries and AppStream metadata naming each other, PNG icons
# of their folder's size, manual pages without formatter warnings.
#   check-install.sh BUILD_DIR ROOT
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_DIR ROOT" >&2; exit 2; }
case "$2" in /?*) ;; *) echo "ROOT must be an absolute path" >&2; exit 2 ;; esac
root=$2
rm -rf "$root"
DESTDIR=$root cmake --install "$1" --prefix /usr >/dev/null
share=$root/usr/share

commands=(vesnal vesnal-net vesnal-receive vesnal-popup vesnal-receiver-setup tempral)
expected=(/etc/xdg/autostart/vesnal-popup.desktop)
for command in "${commands[@]}"; do
    expected+=("/usr/bin/$command" "/usr/share/man/man1/$command.1.gz")
done
for app in vesnal tempral; do
    expected+=("/usr/share/applications/$app.desktop" "/usr/share/metainfo/rs.vesnal.$app.metainfo.xml"
        "/usr/share/doc/$app/copyright" "/usr/share/doc/$app/changelog.gz"
        "/usr/share/icons/hicolor/scalable/apps/$app.svg")
    for size in 16 32 48 64 128 256; do
        expected+=("/usr/share/icons/hicolor/${size}x$size/apps/$app.png")
    done
done

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
for file in "${expected[@]}"; do
    [ -s "$root$file" ] || fail "missing: $file"
done
# No test, benchmark or helper of the build lands in bin/.
for file in "$root"/usr/bin/*; do
    [[ " ${expected[*]} " == *" ${file#"$root"} "* ]] || fail "unexpected: ${file#"$root"}"
done

for page in "$share"/man/man1/*.1.gz; do
    warnings=$(zcat "$page" | LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z - 2>&1 >/dev/null) || fail "${page##*/} does not format"
    [ -z "$warnings" ] || fail "${page##*/}: $warnings"
done
for entry in "$share"/applications/*.desktop "$root"/etc/xdg/autostart/*.desktop; do
    desktop-file-validate "$entry" || fail "${entry#"$root"} is not a valid desktop entry"
    exec=$(sed -n '/^\[Desktop Entry\]/,/^\[/s/^Exec=//p' "$entry" | head -n 1)
    icon=$(sed -n '/^\[Desktop Entry\]/,/^\[/s/^Icon=//p' "$entry" | head -n 1)
    [ -x "$root/usr/bin/${exec%% *}" ] || fail "${entry#"$root"} starts '$exec', not installed"
    [ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "${entry#"$root"}: no icon '$icon'"
done
for png in "$share"/icons/hicolor/*x*/apps/*.png; do
    size=${png#"$share/icons/hicolor/"}
    read -r width height < <(od -An -tu4 --endian=big -j16 -N8 "$png")
    [ "${width}x$height" = "${size%%/*}" ] || fail "${png#"$root"} is ${width}x$height"
done
for metainfo in "$share"/metainfo/*.metainfo.xml; do
    id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo" | head -n 1)
    launches=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
    [ "${metainfo##*/}" = "$id.metainfo.xml" ] && [ "$launches" = "${id##*.}.desktop" ] ||
        fail "${metainfo#"$root"} holds the id '$id' and launches '$launches'"
    appstreamcli validate --no-net --no-color "$metainfo" >/dev/null ||
        fail "$(appstreamcli validate --no-net --no-color "$metainfo")"
done

[ $failures -eq 0 ] || { echo "$failures problem(s) in the installed tree under $root"; exit 1; }
echo "installed tree under $root: ${#expected[@]} files in place, all valid"
