#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# vesnal-receiver-setup: makes this Linux computer receive the messages that
# Vesnal (or "net send") sends, by Samba running vesnal-receive for each one.
#
#   vesnal-receiver-setup enable [--yes]   set it up (asks before allowing SMB1)
#   vesnal-receiver-setup disable          undo it
#   vesnal-receiver-setup status           show what is set
#
# Options: --config FILE (default /etc/samba/smb.conf), --no-restart (leave
# smbd and nmbd alone). VESNAL_SPOOL names the spool (default
# /var/spool/vesnal), VESNAL_RECEIVE the program (default: vesnal-receive
# beside this script).
#
# enable puts its settings into [global] as one marked block and turns the
# lines that set the same things into comments with a mark; disable removes
# the block and the marks, which gives back the file byte for byte. Before
# each change the file is copied to FILE.vesnal-backup.
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

usage() {
    echo "usage: $0 enable|disable|status [--yes] [--config FILE] [--no-restart]" >&2
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
    *) usage ;;
    esac
    shift
done
backup=$conf.vesnal-backup

# The file without anything enable put into it.
without_setup() {
    awk -v begin="$BEGIN" -v end="$END" -v mark="$MARK" '
        $0 == begin { inblock = 1; next }
        inblock { if ($0 == end) inblock = 0; next }
        index($0, mark) == 1 { print substr($0, length(mark) + 1); next }
        { print }' "$1"
}

message_command() {
    local run=$receive
    # smbd quotes the words of the command, so the variable goes through env.
    [ "$spool" = /var/spool/vesnal ] || run="env VESNAL_SPOOL=$spool $run"
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
        { lines[NR] = $0 }
        END {
            for (i = 1; i <= NR; i++) if (lines[i] ~ /^[ \t]*\[[ \t]*[Gg][Ll][Oo][Bb][Aa][Ll][ \t]*\]/) hasglobal = 1
            if (!hasglobal) block(1)
            global = 1 # lines before the first section count as global
            for (i = 1; i <= NR; i++) {
                line = lines[i]
                if (line ~ /^[ \t]*\[/) {
                    global = line ~ /^[ \t]*\[[ \t]*[Gg][Ll][Oo][Bb][Aa][Ll][ \t]*\]/
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

# Puts NEW-FILE in place of the configuration, with its owner and mode,
# after a backup of the configuration as it was.
replace_conf() { # NEW-FILE
    cp -p "$conf" "$backup"
    chmod --reference="$conf" "$1"
    chown --reference="$conf" "$1" 2>/dev/null || true
    mv -f "$1" "$conf"
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

# The spool: the guest user (who runs the message command) creates records,
# every local user reads them, nobody else may create or delete any.
make_spool() {
    local guest group
    [ -L "$spool" ] && die "$spool is a symbolic link; not touching it"
    mkdir -p "$spool"
    chmod 0755 "$spool"
    guest=$(setting "$conf" "guest account")
    group=$(id -gn "$guest" 2>/dev/null) || die "the guest account \"$guest\" does not exist"
    if [ "$(id -u)" -eq 0 ]; then
        chown "$guest:$group" "$spool"
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

enable() {
    [ -f "$conf" ] || die "$conf does not exist (is Samba installed?)"
    [ -x "$receive" ] || die "$receive is not an executable program (VESNAL_RECEIVE names it)"
    [[ "$receive" =~ $SAFE_PATH && "$spool" =~ $SAFE_PATH ]] ||
        die "the paths of vesnal-receive and the spool may hold only letters, digits and / . _ + -"
    new=$(mktemp "$conf.XXXXXX")
    trap 'rm -f "$new"' EXIT
    without_setup "$conf" | with_setup >"$new"
    if cmp -s "$new" "$conf"; then
        make_spool
        echo "already enabled in $conf; nothing changed"
        return 0
    fi
    check "$new" || die "$conf was not changed"
    confirm
    replace_conf "$new"
    make_spool
    echo "enabled in $conf (the earlier file is $backup); messages go to $spool"
    restart_samba
}

disable() {
    [ -f "$conf" ] || die "$conf does not exist"
    new=$(mktemp "$conf.XXXXXX")
    trap 'rm -f "$new"' EXIT
    without_setup "$conf" >"$new"
    if cmp -s "$new" "$conf"; then
        echo "not enabled in $conf; nothing changed"
        return 0
    fi
    replace_conf "$new"
    echo "disabled in $conf; the spool $spool and its messages stay"
    restart_samba
}

status() {
    [ -f "$conf" ] || die "$conf does not exist"
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
