#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# vesnal-receiver-setup: makes this Linux computer receive the messages that
# Vesnal (or "net send") sends, by Samba running vesnal-receive for each one.
#
#   vesnal-receiver-setup enable [--yes]   set it up (asks before allowing SMB1)
#   vesnal-receiver-setup disable          undo it
#   vesnal-receiver-setup status           show what is set
#
# Options: --config FILE (default /etc/samba/smb.conf; a symbolic link is
# followed and its target changed), --no-restart (leave smbd and nmbd
# alone), and the spool's limits, which go into the message command:
# --max-records N, --max-size N[K|M|G], --sender-rate N/SECONDS,
# --total-rate N/SECONDS (without them: the values the file has, else
# 1000, 16M, 20/60 and 60/60). VESNAL_SPOOL names the spool (default
# /var/spool/vesnal), VESNAL_RECEIVE the program (default: vesnal-receive
# beside this script).
#
# enable puts its settings into [global] as one marked block and turns the
# lines that set the same things into comments with a mark; disable removes
# the block and the marks, which gives back the file byte for byte. Every
# check comes before anything is written. Before each change the file is
# copied to FILE.vesnal-backup (then .vesnal-backup.2, .3, ...), unless a
# backup holds it already; no backup is ever overwritten.
set -euo pipefail

conf=/etc/samba/smb.conf
restart=yes
new="" # the new file while it is being made
yes=no
spool=${VESNAL_SPOOL:-/var/spool/vesnal}
receive=${VESNAL_RECEIVE:-$(dirname "$(readlink -f "$0")")/vesnal-receive}

BEGIN='# vesnal-receiver-setup: begin (vesnal-receiver-setup disable removes this block)'
END='# vesnal-receiver-setup: end'
MARK=';vesnal-receiver-setup: '
SAFE_PATH='^/[A-Za-z0-9/._+-]*$' # paths that need no quoting in the message command
# The limits, as vesnal-receive takes them (it refuses anything else).
declare -A limits=() defaults=([max-records]=1000 [max-size]=16M [sender-rate]=20/60
    [total-rate]=60/60)
LIMITS="max-records max-size sender-rate total-rate"

usage() {
    echo "usage: $0 enable|disable|status [--yes] [--config FILE] [--no-restart]" \
        "[--max-records N] [--max-size N[K|M|G]] [--sender-rate N/S] [--total-rate N/S]" >&2
    exit 2
}

die() {
    echo "vesnal-receiver-setup: $*" >&2
    exit 1
}

[ $# -ge 1 ] || usage
cmd=$1
shift
while [ $# -gt 0 ]; do
    case "$1" in
    --yes) yes=yes ;;
    --no-restart) restart=no ;;
    --config)
        [ $# -ge 2 ] || usage
        conf=$2
        shift
        ;;
    --max-records | --max-size | --sender-rate | --total-rate)
        [ $# -ge 2 ] || usage
        limits[${1#--}]=$2
        shift
        ;;
    *) usage ;;
    esac
    shift
done

# Whether VALUE is what vesnal-receive takes for the limit NAME.
valid_limit() { # NAME VALUE
    local v=$2 unit
    case "$1" in
    max-records) [[ "$v" =~ ^[0-9]{1,8}$ ]] && ((10#$v >= 1 && 10#$v <= 10000000)) ;;
    max-size)
        [[ "$v" =~ ^([0-9]{1,12})([KMG]?)$ ]] || return 1
        case "${BASH_REMATCH[2]}" in K) unit=10 ;; M) unit=20 ;; G) unit=30 ;; *) unit=0 ;; esac
        v=$((10#${BASH_REMATCH[1]} << unit))
        ((v >= 1 && v <= 1 << 40))
        ;;
    *)
        [[ "$v" =~ ^([0-9]{1,7})/([0-9]{1,5})$ ]] &&
            ((10#${BASH_REMATCH[1]} >= 1 && 10#${BASH_REMATCH[1]} <= 1000000)) &&
            ((10#${BASH_REMATCH[2]} >= 1 && 10#${BASH_REMATCH[2]} <= 86400))
        ;;
    esac
}

# The file without anything enable put into it.
without_setup() {
    awk -v begin="$BEGIN" -v end="$END" -v mark="$MARK" '
        $0 == begin { inblock = 1; next }
        inblock { if ($0 == end) inblock = 0; next }
        index($0, mark) == 1 { print substr($0, length(mark) + 1); next }
        { print }' "$1"
}

# The limits: as given, else as the file's message command has them (when
# the setup is in it), else the defaults.
choose_limits() {
    local name current=""
    grep -qxF "$BEGIN" "$conf" && current=$(setting "$conf" "message command")
    for name in $LIMITS; do
        if [ -z "${limits[$name]:-}" ]; then
            limits[$name]=${defaults[$name]}
            [[ " $current " =~ \ --$name=([^ ]+)\  ]] && limits[$name]=${BASH_REMATCH[1]}
        fi
        valid_limit "$name" "${limits[$name]}" || die "--$name ${limits[$name]}: not a valid value"
    done
}

message_command() {
    local run=$receive name
    # smbd quotes the words of the command, so the variable goes through env.
    [ "$spool" = /var/spool/vesnal ] || run="env VESNAL_SPOOL=$spool $run"
    # %I: the sender's address, by which a flood is held back.
    run="$run --address=%I"
    for name in $LIMITS; do run="$run --$name=${limits[$name]}"; done
    echo "$run %s %f %L &"
}

# The file of standard input (free of earlier setup) with the setup in it.
# Parameter names in smb.conf ignore case and blanks; "min protocol" is the
# old name of "server min protocol". A line ending in "\" goes on in the
# next line, which is marked with it.
with_setup() {
    awk -v begin="$BEGIN" -v end="$END" -v mark="$MARK" -v command="$(message_command)" '
        function block(header) {
            print begin
            if (header) print "[global]"
            print "   message command = " command
            print "   server min protocol = NT1"
            print "   disable netbios = no"
            print "   dos charset = CP852"
            print end
            done = 1
        }
        function ours(line,  key) {
            if (line !~ /^[ \t]*[^#;[ \t][^=]*=/) return 0
            key = tolower(substr(line, 1, index(line, "=") - 1))
            gsub(/[ \t]/, "", key)
            return key == "messagecommand" || key == "serverminprotocol" ||
                   key == "minprotocol" || key == "disablenetbios" || key == "doscharset"
        }
        BEGIN { # Samba reads [globals] as [global] too, in any letter case
            globalpattern = "^[ \t]*\\[[ \t]*[Gg][Ll][Oo][Bb][Aa][Ll][Ss]?[ \t]*\\]"
        }
        { lines[NR] = $0 }
        END {
            for (i = 1; i <= NR; i++) if (lines[i] ~ globalpattern) hasglobal = 1
            if (!hasglobal) block(1)
            global = 1 # lines before the first section count as global
            for (i = 1; i <= NR; i++) {
                line = lines[i]
                if (line ~ /^[ \t]*\[/) {
                    global = line ~ globalpattern
                    continued = 0
                    print line
                    if (global && !done) block(0)
                    continue
                }
                if (global && (continued || ours(line))) {
                    print mark line
                    continued = line ~ /\\$/
                    continue
                }
                continued = 0
                print line
            }
        }'
}

# One effective setting of FILE, as Samba reads it.
setting() { # FILE NAME
    testparm -s --parameter-name="$2" "$1" 2>/dev/null
}

# Whether FILE passes testparm and holds the setup's values.
check() { # FILE
    testparm -s "$1" >/dev/null 2>&1 || {
        echo "testparm does not accept the new file:" >&2
        testparm -s "$1" 2>&1 >/dev/null | tail -n 5 >&2
        return 1
    }
    local name want got
    while IFS='|' read -r name want; do
        got=$(setting "$1" "$name")
        if [ "${got,,}" != "${want,,}" ]; then
            echo "after the change Samba would still read \"$name = $got\" (an include?)" >&2
            return 1
        fi
    done <<EOF
message command|$(message_command)
server min protocol|NT1
disable netbios|No
dos charset|CP852
EOF
}

# Whether the marks of FILE are whole: each begin mark has its end mark
# after it, before any other mark. Otherwise (a block an administrator cut
# by hand) nothing is touched: where the block ends cannot be known.
check_marks() { # FILE
    awk -v begin="$BEGIN" -v end="$END" '
        $0 == begin { if (inblock) bad = 1; inblock = 1 }
        $0 == end { if (!inblock) bad = 1; inblock = 0 }
        END { exit bad || inblock }' "$1" ||
        die "the marks of vesnal-receiver-setup in $1 are not whole (\"$BEGIN\" and" \
            "\"$END\" must come in pairs, in that order); mend the file by hand; nothing was changed"
}

# Whether the setup is in FILE: its block, or a line it marked.
has_setup() { # FILE
    grep -qxF "$BEGIN" "$1" || grep -qF "$MARK" "$1"
}

# A copy of the configuration as it is, under a name no earlier backup has,
# unless one of them holds it already.
back_up() {
    local name=$conf.vesnal-backup n=1
    while [ -e "$name" ] || [ -L "$name" ]; do
        if cmp -s "$conf" "$name"; then
            backup=$name
            return 0
        fi
        n=$((n + 1))
        [ $n -le 999 ] || die "999 backups of $conf exist; nothing was changed"
        name=$conf.vesnal-backup.$n
    done
    cp -p -- "$conf" "$name"
    backup=$name
}

# Puts NEW-FILE in place of the configuration, with its owner and mode,
# after a backup of the configuration as it was.
replace_conf() { # NEW-FILE
    back_up
    chmod --reference="$conf" "$1"
    chown --reference="$conf" "$1" 2>/dev/null || true
    mv -f -- "$1" "$conf"
}

explain_smb1() {
    cat <<'TEXT'
Messages between computers exist only in SMB1, the first version of Windows
file sharing; Samba has refused it since version 4.11. To receive them, smbd
must accept SMB1 again:  server min protocol = NT1
SMB1 is old and weaker than SMB2 and SMB3 (no encryption, attacks known for
years), and smbd then offers it to every client, for this computer's shares
too. Allow it only on a local network you trust; "vesnal-receiver-setup
disable" switches it off again.
TEXT
}

confirm() {
    explain_smb1
    [ "$yes" = yes ] && return 0
    local answer=""
    printf 'Type yes to allow SMB1 and go on: '
    read -r -t 600 answer || true
    [ "$answer" = yes ] || die "nothing was changed"
}

# Whether the spool can be made, and later used, without ever following a
# link that someone else put in its way: no part of its path is a symbolic
# link, and every folder above it belongs to root (or to this user) and no
# one else may write it. A folder others may write is passed only when it
# is sticky (as /tmp is) and the next part is there already and ours, so
# that nobody else can take its place.
check_spool_path() {
    local parent=/ path part owner mode me parts
    me=$(id -u)
    IFS=/ read -ra parts <<<"${spool#/}"
    for part in "${parts[@]}"; do
        [ -n "$part" ] || continue
        [ "$part" != . ] && [ "$part" != .. ] || die "the spool path $spool holds . or .."
        path=${parent%/}/$part
        [ -L "$path" ] && die "$path is a symbolic link; not making the spool through it"
        read -r owner mode < <(stat -c '%u %a' -- "$parent")
        if [ "$owner" != 0 ] && [ "$owner" != "$me" ]; then
            die "$parent belongs to another user, who could change the way to the spool $spool"
        fi
        if ((8#$mode & 8#022)) && { ! ((8#$mode & 8#1000)) || ! [ -d "$path" ] ||
            ! [[ "$(stat -c %u -- "$path")" =~ ^(0|$me)$ ]]; }; then
            die "$parent may be written by others, who could put something in the way of" \
                "the spool $spool; choose a spool under folders only root may change"
        fi
        [ -e "$path" ] || return 0
        [ -d "$path" ] || die "$path is not a folder"
        parent=$path
    done
}

# The guest user, as the new file NEW-FILE names it (the message command
# runs as that user), and its group.
check_guest() { # NEW-FILE
    guest=$(setting "$1" "guest account")
    group=$(id -gn -- "$guest" 2>/dev/null) ||
        die "the guest account \"$guest\" does not exist; nothing was changed"
}

# The spool: the guest user (who runs the message command) creates records,
# every local user reads them, nobody else may create or delete any.
make_spool() {
    mkdir -p -- "$spool"
    chmod 0755 -- "$spool"
    if [ "$(id -u)" -eq 0 ]; then
        chown -h -- "$guest:$group" "$spool"
    else
        echo "not root: $spool keeps its owner; it must belong to $guest" >&2
    fi
}

restart_samba() {
    [ "$restart" = yes ] || return 0
    local unit
    for unit in smbd nmbd; do
        if command -v systemctl >/dev/null 2>&1 && systemctl is-active --quiet "$unit"; then
            echo "restarting $unit"
            timeout 90 systemctl restart "$unit" || die "$unit did not restart"
        else
            echo "$unit does not run under systemd here: start it yourself to receive messages"
        fi
    done
}

# The configuration file itself: a symbolic link is followed, so that the
# file it points to is changed (keeping the link) rather than replaced.
find_conf() {
    local target
    target=$(readlink -f -- "$conf") && [ -f "$target" ] ||
        die "$conf does not exist (is Samba installed?)"
    conf=$target
}

enable() {
    find_conf
    [ -x "$receive" ] || die "$receive is not an executable program (VESNAL_RECEIVE names it)"
    [[ "$receive" =~ $SAFE_PATH && "$spool" =~ $SAFE_PATH ]] ||
        die "the paths of vesnal-receive and the spool may hold only letters, digits and / . _ + -"
    check_marks "$conf"
    choose_limits
    check_spool_path
    new=$(mktemp "$conf.XXXXXX")
    trap 'rm -f "$new"' EXIT
    without_setup "$conf" | with_setup >"$new"
    check "$new" || die "$conf was not changed"
    check_guest "$new"
    if cmp -s "$new" "$conf"; then
        make_spool
        echo "already enabled in $conf; nothing changed"
        return 0
    fi
    confirm
    make_spool
    replace_conf "$new"
    echo "enabled in $conf (the earlier file is $backup); messages go to $spool"
    restart_samba
}

disable() {
    find_conf
    check_marks "$conf"
    if ! has_setup "$conf"; then
        echo "not enabled in $conf; nothing changed"
        return 0
    fi
    new=$(mktemp "$conf.XXXXXX")
    trap 'rm -f "$new"' EXIT
    without_setup "$conf" >"$new"
    replace_conf "$new"
    echo "disabled in $conf (the earlier file is $backup); the spool $spool and its messages stay"
    restart_samba
}

status() {
    find_conf
    local state=disabled name command where
    grep -qxF "$BEGIN" "$conf" && state=enabled
    echo "receiving messages: $state ($conf)"
    for name in "message command" "server min protocol" "disable netbios" "dos charset" "guest account"; do
        echo "  $name = $(setting "$conf" "$name")"
    done
    command=$(setting "$conf" "message command")
    [[ "$command" =~ VESNAL_SPOOL=([^ ]+) ]] && spool=${BASH_REMATCH[1]}
    if [ -d "$spool" ]; then
        echo "  spool $spool: $(stat -c '%U:%G %a' "$spool")"
    else
        echo "  spool $spool: missing"
    fi
    for name in smbd nmbd; do
        where=$(systemctl is-active "$name" 2>/dev/null) || true
        echo "  $name: ${where:-not run by systemd}"
    done
    [ "$state" = enabled ]
}

case "$cmd" in
enable | disable | status) "$cmd" ;;
*) usage ;;
esac
