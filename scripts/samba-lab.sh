#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A Samba test network made of network namespaces of its own, joined by a
# bridge (br0, inside vesnal-lab-srv); its hosts and addresses are in
# docs/testing.md ("The Samba lab").
#
#   samba-lab.sh up DIR               build the lab, state and logs under DIR
#   samba-lab.sh down DIR             end its daemons (by pid) and remove it
#   samba-lab.sh run DIR cli|iso|rx PROG [ARGS]   run a test program inside
#                                     (HOME=DIR/home, DIR/home-iso, DIR/home-rx)
#   samba-lab.sh host-unchanged DIR   after down: the machine's own Samba
#                                     folders as up found them (a test)
#
# While up, DIR links to a short folder /tmp/vlab.XXXXXX holding all the
# lab's Samba state: unix sockets (below the lock and ncalrpc folders) must
# stay within 108 bytes whatever the checkout path, and no Samba program of
# the lab, daemon or client, may write into the machine's own folders.
# Without root or without "ip netns" the lab cannot exist: up and down do
# nothing, and run exits 77, which the test suite reports as skipped.
set -euo pipefail

SRV=vesnal-lab-srv
CLI=vesnal-lab-cli
ISO=vesnal-lab-iso
SKIP=77
# One lab per machine (the namespace names are fixed): the lock guards the
# short steps of up and down, the owner file names the DIR of the lab that
# is up, so that a second test run waits for the first instead of pulling
# its namespaces away. Neither outlives the run: the lock file goes when the
# lock is released, the owner file when the lab is taken down.
LOCK=/run/vesnal-lab.lock
OWNER=/run/vesnal-lab.owner
WAIT_FOR_OTHER=600 # seconds a second run waits for the lab
STALE_AFTER=900    # a lab older than this was abandoned
HOST_SAMBA=(/run/samba /var/cache/samba /var/lib/samba)

usage() {
    echo "usage: $0 up|down|host-unchanged DIR | run DIR cli|iso|rx PROGRAM [ARGS...]" >&2
    exit 2
}

[ $# -ge 2 ] || usage
cmd=$1
dir=$2
shift 2

can_run() {
    [ "$(id -u)" -eq 0 ] && command -v ip >/dev/null && ip netns list >/dev/null 2>&1 &&
        command -v nmbd >/dev/null && command -v smbd >/dev/null
}

# Whether a process runs (a zombie has ended, it only waits to be reaped).
alive() {
    local state
    state=$(ps -o stat= -p "$1" 2>/dev/null) && [ -n "$state" ] && [ "${state:0:1}" != Z ]
}

# Ends one process by its pid: TERM, then KILL after 5 s.
end_pid() {
    local pid=$1 i
    [[ "$pid" =~ ^[1-9][0-9]*$ ]] && alive "$pid" && kill -TERM "$pid" 2>/dev/null || return 0
    kill -CONT "$pid" 2>/dev/null || true # a daemon a test left stopped
    for i in $(seq 50); do
        alive "$pid" || return 0
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
}

# Removes every namespace of a lab (vesnal-lab-*), after ending every
# process still inside (smbd's children, a daemon of an earlier lab whose
# DIR is gone), and the veths an interrupted "up" left in this namespace.
clean_namespaces() {
    local ns pid link
    for ns in $(ip netns list | grep -o '^vesnal-lab-[a-z0-9-]*'); do
        for pid in $(ip netns pids "$ns" 2>/dev/null); do end_pid "$pid"; done
        ip netns del "$ns" 2>/dev/null || true
    done
    for link in vlab-iso vlab-void $(ip -o link show | grep -o ' vl[0-9a-f]\{8\}\(-b\)\?@' | tr -d ' @'); do
        ip link del "$link" 2>/dev/null || true
    done
}

# The lock file goes with the lock: a run that waited on a file removed
# meanwhile locks again, the one now in its place.
lock() {
    local deadline=$((SECONDS + 120))
    while exec 9>"$LOCK" && flock -w $((deadline - SECONDS)) 9; do
        if [ "$(stat -L -c %d:%i /proc/$$/fd/9)" = "$(stat -c %d:%i "$LOCK" 2>/dev/null)" ]; then
            trap unlock EXIT
            return 0
        fi
    done
    echo "could not take the lock $LOCK within 120 s" >&2
    exit 1
}

unlock() {
    trap - EXIT
    rm -f "$LOCK"
    exec 9>&-
}

# The short folder goes; DIR becomes a plain folder with the logs and what
# the clean-up still reads.
drop_lab_folder() {
    local lab
    lab=$(readlink "$dir") && [[ "$lab" =~ ^/tmp/vlab\.[A-Za-z0-9]{6}$ ]] || return 0
    rm -f "$dir"
    mkdir -p "$dir"
    cp -a "$lab"/{.vesnal-lab,log,host-samba,netns-made} "$dir/" 2>/dev/null || true
    rm -rf "$lab"
}

# The machine's own Samba state: each file and folder, its size and time.
host_samba_state() {
    find "${HOST_SAMBA[@]}" -printf '%p %y %s %T@\n' 2>/dev/null | sort || true
}

# Whether the lab belongs to another DIR whose test run still uses it.
other_owner_busy() {
    local other
    [ -f "$OWNER" ] && other=$(cat "$OWNER") && [ "$other" != "$dir" ] && [ -f "$other/lab-up" ] &&
        [ $(($(date +%s) - $(cat "$other/lab-up"))) -lt $STALE_AFTER ] &&
        alive "$(cat "$other/pids/PC-01-nmbd.pid" 2>/dev/null)"
}

# Ends the lab's daemons by their pids, removes its namespaces and short
# folder, and gives the machine-wide state back.
teardown() {
    local file
    for file in "$dir"/pids/*.pid; do
        [ -f "$file" ] || continue
        end_pid "$(cat "$file")"
        rm -f "$file"
    done
    clean_namespaces
    rm -f "$dir/lab-up" "$dir/receivers" "$OWNER"
    drop_lab_folder
    # "ip netns add" makes /run/netns (a mount of its own) where there was
    # none; a lab that found none removes it again once it is empty.
    if [ -f "$dir/netns-made" ] && [ -z "$(ls -A /run/netns 2>/dev/null)" ]; then
        umount -n /run/netns 2>/dev/null || true # -n: no record in /run/mount
        rmdir /run/netns 2>/dev/null || true
    fi
    unlock
}

down() {
    lock
    if other_owner_busy; then
        echo "the lab is in use by $(cat "$OWNER"); leaving it" >&2
        rm -f "$dir/lab-up"
        drop_lab_folder
        return 0
    fi
    teardown
}

# The smb.conf lines that keep a Samba program's state in FOLDER (made here).
state_folders() {
    mkdir -p "$1"/{private,lock,state,cache,ncalrpc}
    printf '%s\n' "private dir = $1/private" "lock directory = $1/lock" \
        "state directory = $1/state" "cache directory = $1/cache" "ncalrpc dir = $1/ncalrpc"
}

# The message command that lands each message whole in the inbox as
# PREFIX<sender>-<number>.msg (the sender as smbd passes it: PC-02 arrives
# as PC_02). It runs as the guest user.
inbox_command() {
    echo "message command = /bin/sh -c 'f=$lab/inbox/${1:-}%f-\$\$; cat %s >\"\$f.part\" && mv \"\$f.part\" \"\$f.msg\"; rm -f %s' &"
}

# A Samba host: NAMESPACE NAME ADDRESS, then the lines that make it what it
# is (browser role, protocol, code page, message command, shares) on
# standard input. Its state stays under LAB/hosts/NAME; its nmbd and smbd
# start in NAMESPACE.
start_host() {
    local ns=$1 name=$2 h=$lab/hosts/$2 daemon
    mkdir -p "$h/pid" "$h/nmbd" "$h/tmp"
    # smbd keeps each message it receives in a file of $TMPDIR until the
    # message command has run: the host's own, so a test sees what is left.
    chmod 1777 "$h/tmp"
    {
        cat <<CONF
[global]
netbios name = $name
workgroup = RADNAGRUPA
interfaces = $3
bind interfaces only = yes
smb ports = 139
disable netbios = no
$(state_folders "$h")
pid directory = $h/pid
nmbd:socket dir = $h/nmbd
log file = $lab/log/$name.%m
load printers = no
CONF
        cat
    } >"$h/smb.conf"
    # A session of its own: the daemons signal their whole process group when
    # they stop, which must never reach the test runner. (A background job of
    # this script leads no group, so setsid does not fork: $! is the daemon.)
    for daemon in nmbd smbd; do
        setsid ip netns exec "$ns" env TMPDIR="$h/tmp" $daemon -s "$h/smb.conf" --foreground \
            --no-process-group --debug-stdout </dev/null >"$dir/log/$name-$daemon.out" 2>&1 9>&- &
        echo $! >"$dir/pids/$name-$daemon.pid"
    done
}

# A client home: HOMEDIR ADDRESS [NAME]. libsmbclient reads HOMEDIR/.smb/smb.conf;
# smbclient and nmblookup read the machine's smb.conf, and in the lab, by
# $SMB_CONF_PATH, HOMEDIR/.smb/tools.conf: the same file with the state
# folders of this home after it (a [global] again: the machine's file ends
# in shares).
write_client_conf() {
    local state machine=/etc/samba/smb.conf
    mkdir -p "$1/.smb" "$1/.config"
    state=$(state_folders "$1/.smb/state")
    cat >"$1/.smb/smb.conf" <<CONF
[global]
client min protocol = NT1
name resolve order = bcast
interfaces = $2
workgroup = RADNAGRUPA
netbios name = ${3:-PC-02}
$state
CONF
    [ -f $machine ] || machine=/dev/null
    printf '[global]\ninclude = %s\n[global]\n%s\n' $machine "$state" >"$1/.smb/tools.conf"
}

# A namespace joined to the lab's bridge with one address: NAMESPACE ADDRESS.
join_bridge() {
    local ns=$1 link
    link=vl$(echo "$ns" | md5sum | cut -c1-8)
    [ "$ns" = "$SRV" ] || ip netns add "$ns"
    ip link add "$link" type veth peer name "$link-b"
    ip link set "$link" netns "$ns"
    ip link set "$link-b" netns $SRV
    ip -n $SRV link set "$link-b" master br0
    ip -n $SRV link set "$link-b" up
    ip -n "$ns" addr add "$2" brd + dev "$link"
    ip -n "$ns" link set lo up
    ip -n "$ns" link set "$link" up
}

# Waits until smbd of HOST takes connections on ADDRESS:139 from the client
# side (10 s at most, each try 1 s: an address nobody holds makes a connect
# wait for the neighbour lookup), and checks that both of its daemons stayed
# up; then until nmbd answers a NetBIOS name query for it, as senders find
# a receiver, which it does a few seconds after its start (20 s at most).
host_ready() { # HOST ADDRESS
    local i name answers= deadline=$((SECONDS + 10))
    while [ -z "$answers" ] && [ $SECONDS -lt $deadline ]; do
        timeout 1 ip netns exec $CLI bash -c "exec 3<>/dev/tcp/$2/139" 2>/dev/null && answers=yes
        [ -n "$answers" ] || sleep 0.1
    done
    for name in nmbd smbd; do
        if ! [ -d "/proc/$(cat "$dir/pids/$1-$name.pid")" ]; then
            echo "$name of $1 did not stay up; its output:" >&2
            tail -n 30 "$dir/log/$1-$name.out" >&2
            return 1
        fi
    done
    [ -n "$answers" ] || { echo "smbd of $1 does not answer on $2:139" >&2; return 1; }
    for i in $(seq 40); do
        ip netns exec $CLI nmblookup -s "$lab/home/.smb/smb.conf" "$1" 2>/dev/null |
            grep -q "^${2//./\\.} $1<00>" && return 0
        sleep 0.5
    done
    echo "nobody answers for the name $1 after 20 s" >&2
    return 1
}

# A Samba host on the bridge: NAME ADDRESS/24, its smb.conf lines on
# standard input (see start_host). Its namespace is vesnal-lab-<name>.
add_receiver() {
    local ns
    ns=vesnal-lab-$(echo "$1" | tr 'A-Z' 'a-z')
    join_bridge "$ns" "$2"
    start_host "$ns" "$1" "$2"
    echo "$1 ${2%/*}" >>"$dir/receivers"
}

# PC-01 on the bridge's own namespace, and the hosts beside it.
add_hosts() {
    start_host $SRV PC-01 10.203.0.1/24 <<CONF
server min protocol = NT1
local master = yes
preferred master = yes
domain master = yes
os level = 65
wins support = yes
dos charset = CP852
$(inbox_command)

[javno]
path = $lab/share
guest ok = yes
read only = yes

[skriveno\$]
path = $lab/share
guest ok = yes
read only = yes
CONF
    # RX-01: a receiver as vesnal-receiver-setup makes one, into DIR/spool
    # (the guest user's). vesnal-receive is copied: the guest user may not
    # enter the build folder.
    local receive=${VESNAL_RECEIVE:-$(cd "$(dirname "$0")/.." && pwd)/build/messenger/vesnal-receive}
    if [ -x "$receive" ]; then
        install -D -m 755 "$receive" "$lab/bin/vesnal-receive"
    else
        echo "warning: $receive is not built; RX-01 will store no messages" >&2
    fi
    install -d -o nobody -g nogroup -m 755 "$lab/spool"
    add_receiver RX-01 10.203.0.11/24 <<CONF
server min protocol = NT1
local master = no
dos charset = CP852
message command = env VESNAL_SPOOL=$lab/spool $lab/bin/vesnal-receive --address=%I %s %f %L &
CONF
    # PC-05: alone in TIHAGRUPA, its master browser; a test stops its smbd.
    add_receiver PC-05 10.203.0.5/24 <<CONF
workgroup = TIHAGRUPA
server min protocol = NT1
local master = yes
preferred master = yes
os level = 65
CONF
    # PC-02, where the tests run, answers a reply from RX-01. Not a browser,
    # so the browse lists stay PC-01's.
    start_host $CLI PC-02 10.203.0.2/24 <<CONF
server min protocol = NT1
local master = no
preferred master = no
os level = 0
dos charset = CP852
$(inbox_command PC-02.)
CONF
    # PC-07: Samba's default protocols (SMB1 off): it drops every message;
    # one that did arrive would land in the inbox.
    add_receiver PC-07 10.203.0.7/24 <<CONF
dos charset = CP852
$(inbox_command PC-07.)
CONF
}

up() {
    # DIR is wiped: only ever one that a lab made (it holds the marker).
    case "$dir" in /?*) ;; *) echo "DIR must be an absolute path" >&2; exit 2 ;; esac
    if [ -d "$dir" ] && [ -n "$(ls -A "$dir")" ] && ! [ -f "$dir/.vesnal-lab" ]; then
        echo "$dir is not empty and not a lab folder; not touching it" >&2
        exit 2
    fi
    local waited=0 host address
    lock
    while other_owner_busy; do
        unlock
        if [ $waited -ge $WAIT_FOR_OTHER ]; then
            echo "the lab is still in use by $(cat "$OWNER") after ${waited} s" >&2
            exit 1
        fi
        [ $waited -eq 0 ] && echo "waiting for the lab of $(cat "$OWNER") to be taken down"
        sleep 2
        waited=$((waited + 2))
        lock
    done
    echo "$dir" >"$OWNER"
    clean_namespaces # whatever lab is left, even one whose DIR is gone
    # Short folders of labs whose DIR is gone (only one lab is ever up).
    for lab in /tmp/vlab.??????; do
        [ -f "$lab/.vesnal-lab" ] && rm -rf "$lab"
    done
    rm -rf "$dir"
    mkdir -p "$(dirname "$dir")"
    lab=$(mktemp -d /tmp/vlab.XXXXXX)
    touch "$lab/.vesnal-lab"
    ln -s "$lab" "$dir"
    [ -n "$netns_made" ] && touch "$dir/netns-made"
    host_samba_state >"$dir/host-samba"
    mkdir -p "$lab"/{pids,log,inbox} "$lab/share/fascikla"
    echo "Dobrodošli" >"$lab/share/procitaj.txt"
    chmod 755 "$lab" "$lab/share" "$lab/inbox"
    chown nobody "$lab/inbox"
    write_client_conf "$lab/home" 10.203.0.2/24
    write_client_conf "$lab/home-iso" 10.203.1.2/24
    write_client_conf "$lab/home-rx" 10.203.0.11/24 RX-01

    ip netns add $SRV
    ip -n $SRV link add br0 type bridge
    ip -n $SRV addr add 10.203.0.1/24 brd + dev br0
    ip -n $SRV link set br0 up
    ip -n $SRV link set lo up
    join_bridge $CLI 10.203.0.2/24
    # The isolated network: a link that leads nowhere, and a silent host (a
    # neighbour entry that never answers).
    ip netns add $ISO
    ip link add vlab-iso type veth peer name vlab-void
    ip link set vlab-iso netns $ISO
    ip link set vlab-void netns $ISO
    ip -n $ISO addr add 10.203.1.2/24 brd + dev vlab-iso
    for link in lo vlab-iso vlab-void; do ip -n $ISO link set $link up; done
    ip -n $ISO neigh add 10.203.1.9 lladdr 02:00:0a:cb:01:09 dev vlab-iso nud permanent

    add_hosts
    while read -r host address; do
        host_ready "$host" "$address" || { teardown; exit 1; }
    done < <(echo "PC-01 10.203.0.1"; echo "PC-02 10.203.0.2"; cat "$dir/receivers")
    date +%s >"$dir/lab-up"
    unlock
    echo "Samba lab up in $lab (DIR $dir): PC-01 (10.203.0.1)$(awk '{printf ", %s (%s)", $1, $2}' "$dir/receivers")"
}

# Whether the machine's Samba state is as up found it (a test: exit 1 with
# the differences when it is not, 77 when there is nothing to compare).
host_unchanged() {
    local pid
    if ! [ -f "$dir/host-samba" ] || [ -L "$dir" ]; then
        echo "SKIP: no lab was up and taken down in $dir"
        exit $SKIP
    fi
    # The machine's own Samba daemons (outside any lab) change it by themselves.
    for pid in $(pgrep -x 'smbd|nmbd|winbindd|samba' 2>/dev/null); do
        if [ "$(readlink "/proc/$pid/ns/net")" = "$(readlink /proc/$$/ns/net)" ]; then
            echo "SKIP: Samba daemons of this machine run (pid $pid)"
            exit $SKIP
        fi
    done
    if ! diff -u "$dir/host-samba" <(host_samba_state) >&2; then
        echo "the lab changed the machine's Samba state (${HOST_SAMBA[*]})" >&2
        exit 1
    fi
    echo "the machine's Samba state is as before the lab (${HOST_SAMBA[*]})"
}

run() {
    [ $# -ge 2 ] || usage
    local where=$1 ns home name=PC-02
    shift
    if ! can_run || ! [ -f "$dir/lab-up" ]; then
        echo "SKIP: the Samba lab needs root and ip netns (and a lab that is up)"
        exit $SKIP
    fi
    case "$where" in
    cli) ns=$CLI home=$dir/home ;;
    iso) ns=$ISO home=$dir/home-iso ;;
    rx) ns=vesnal-lab-rx-01 home=$dir/home-rx name=RX-01 ;;
    *) usage ;;
    esac
    exec ip netns exec "$ns" env HOME="$home" XDG_CONFIG_HOME="$home/.config" \
        SMB_CONF_PATH="$home/.smb/tools.conf" VESNAL_LAB_DIR="$dir" \
        VESNAL_NETBIOS_NAME=$name VESNAL_WORKGROUP=RADNAGRUPA "$@"
}

case "$cmd" in
up | down)
    if ! can_run; then
        echo "Samba lab not available (needs root, ip netns, nmbd and smbd): nothing to do"
        exit 0
    fi
    # Root in a container may still lack the right to make namespaces.
    probe=vesnal-probe-$$
    netns_made=$([ -d /run/netns ] || echo yes)
    if [ "$cmd" = up ] && ! { ip netns add $probe && ip netns del $probe; } 2>/dev/null; then
        echo "Samba lab not available (network namespaces cannot be made here): nothing to do"
        exit 0
    fi
    "$cmd"
    ;;
run) run "$@" ;;
host-unchanged) host_unchanged ;;
*) usage ;;
esac
