#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A Samba test network made of network namespaces of its own, joined by a
# bridge (br0, inside vesnal-lab-srv):
#
#   vesnal-lab-srv  10.203.0.1/24  nmbd + smbd as PC-01 in workgroup RADNAGRUPA,
#                   master browser; messages land in DIR/inbox
#   vesnal-lab-cli  10.203.0.2/24  where the tests run (HOME=DIR/home)
#   vesnal-lab-pc-07 10.203.0.7/24 nmbd + smbd as PC-07, SMB1 off (Samba's default)
#   (more receivers: see add_receivers below; RX-01 at 10.203.0.11 keeps its
#   messages through vesnal-receive in DIR/spool)
#   vesnal-lab-iso  10.203.1.2/24  a network with nobody on it (HOME=DIR/home-iso);
#                   10.203.1.9 is a "silent host": it has a neighbour entry but
#                   never answers, so connections to it run into their timeout.
#
#   samba-lab.sh up DIR               build the lab, state and logs under DIR
#   samba-lab.sh down DIR             end its daemons (by pid) and remove it
#   samba-lab.sh run DIR cli|iso PROG [ARGS]   run a test program inside
#
# Without root or without "ip netns" the lab cannot exist: up and down do
# nothing, and run exits 77, which the test suite reports as skipped.
set -euo pipefail

SRV=vesnal-lab-srv
CLI=vesnal-lab-cli
ISO=vesnal-lab-iso
# Every namespace of the lab; receivers added in add_receivers are named
# vesnal-lab-<host> and listed here as they are made (DIR/namespaces).
BASE_NAMESPACES="$SRV $CLI $ISO"
SKIP=77
# One lab per machine (the namespace names are fixed): the lock guards the
# short steps of up and down, the owner file names the DIR of the lab that
# is up, so that a second test run waits for the first instead of pulling
# its namespaces away.
LOCK=/run/vesnal-lab.lock
OWNER=/run/vesnal-lab.owner
WAIT_FOR_OTHER=600 # seconds a second run waits for the lab
STALE_AFTER=900    # a lab older than this was abandoned

usage() {
    echo "usage: $0 up|down DIR | run DIR cli|iso PROGRAM [ARGS...]" >&2
    exit 2
}

[ $# -ge 2 ] || usage
cmd=$1
dir=$2
shift 2

can_run() {
    [ "$(id -u)" -eq 0 ] || return 1
    command -v ip >/dev/null 2>&1 || return 1
    ip netns list >/dev/null 2>&1 || return 1
    command -v nmbd >/dev/null 2>&1 && command -v smbd >/dev/null 2>&1
}

# Whether a process runs (a zombie has ended, it only waits to be reaped).
alive() {
    local state
    state=$(ps -o stat= -p "$1" 2>/dev/null) || return 1
    [ -n "$state" ] && [ "${state:0:1}" != Z ]
}

# Ends one process by its pid: TERM, then KILL after 5 s.
end_pid() {
    local pid=$1 i
    [[ "$pid" =~ ^[1-9][0-9]*$ ]] || return 0
    alive "$pid" || return 0
    kill -TERM "$pid" 2>/dev/null || return 0
    kill -CONT "$pid" 2>/dev/null || true # a daemon a test left stopped
    for i in $(seq 50); do
        alive "$pid" || return 0
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
}

# Removes the namespaces, after ending every process still inside them
# (smbd's children, a daemon of an earlier lab whose DIR is gone).
clean_namespaces() {
    local ns pid
    for ns in $BASE_NAMESPACES $(ip netns list | grep -o '^vesnal-lab-[a-z0-9-]*'); do
        ip netns list | grep -qw "^$ns" || continue
        for pid in $(ip netns pids "$ns" 2>/dev/null); do end_pid "$pid"; done
        ip netns del "$ns" 2>/dev/null || true
    done
    # A veth left behind in this namespace by an interrupted "up".
    for link in vlab-iso vlab-void $(ip -o link show | grep -o ' vl[0-9a-f]\{8\}\(-b\)\?@' | tr -d ' @'); do
        ip link del "$link" 2>/dev/null || true
    done
}

lock() {
    exec 9>"$LOCK"
    flock -w 120 9
}

unlock() {
    flock -u 9
}

# Whether the lab belongs to another DIR whose test run still uses it.
other_owner_busy() {
    local other started
    [ -f "$OWNER" ] || return 1
    other=$(cat "$OWNER")
    [ "$other" != "$dir" ] || return 1
    [ -f "$other/lab-up" ] || return 1
    started=$(cat "$other/lab-up")
    [ $(($(date +%s) - started)) -lt $STALE_AFTER ] || return 1
    alive "$(cat "$other/pids/PC-01-nmbd.pid" 2>/dev/null)"
}

down() {
    lock
    if other_owner_busy; then
        echo "the lab is in use by $(cat "$OWNER"); leaving it" >&2
        rm -f "$dir/lab-up"
        return 0
    fi
    teardown
    rm -f "$OWNER"
}

teardown() {
    local file
    for file in "$dir"/pids/*.pid; do
        [ -f "$file" ] || continue
        end_pid "$(cat "$file")"
        rm -f "$file"
    done
    clean_namespaces
    rm -f "$dir/lab-up" "$dir/receivers"
}

# The smb.conf of one Samba host: NAME ADDRESS, then the lines that make it
# what it is (browser role, protocol, code page, message command, shares) on
# standard input. State and logs stay under DIR/hosts/NAME.
write_host_conf() {
    local name=$1 address=$2 h=$dir/hosts/$1
    mkdir -p "$h"/{private,lock,state,cache,pid,ncalrpc,tmp}
    # smbd keeps each message it receives in a file of $TMPDIR until the
    # message command has run: the host's own, so a test sees what is left.
    chmod 1777 "$h/tmp"
    {
        cat <<CONF
[global]
netbios name = $name
workgroup = RADNAGRUPA
interfaces = $address
bind interfaces only = yes
smb ports = 139
disable netbios = no
private dir = $h/private
lock directory = $h/lock
state directory = $h/state
cache directory = $h/cache
pid directory = $h/pid
ncalrpc dir = $h/ncalrpc
log file = $dir/log/$name.%m
load printers = no
CONF
        cat
    } >"$h/smb.conf"
}

write_server_conf() {
    write_host_conf PC-01 10.203.0.1/24 <<CONF
server min protocol = NT1
local master = yes
preferred master = yes
domain master = yes
os level = 65
wins support = yes
dos charset = CP852
# Runs as the guest user; each message lands whole in the inbox as
# <sender>-<number>.msg (the sender as smbd passes it: PC-02 arrives as PC_02).
message command = /bin/sh -c 'f=$dir/inbox/%f-\$\$; cat %s >"\$f.part" && mv "\$f.part" "\$f.msg"; rm -f %s' &

[javno]
path = $dir/share
guest ok = yes
read only = yes

[skriveno\$]
path = $dir/share
guest ok = yes
read only = yes
CONF
}

write_client_conf() { # HOMEDIR ADDRESS
    mkdir -p "$1/.smb" "$1/.config"
    cat >"$1/.smb/smb.conf" <<CONF
[global]
client min protocol = NT1
name resolve order = bcast
interfaces = $2
workgroup = RADNAGRUPA
netbios name = PC-02
CONF
}

start_daemon() { # NAMESPACE HOST DAEMON
    # A session of its own: the daemons signal their whole process group when
    # they stop, which must never reach the test runner. (A background job of
    # this script leads no group, so setsid does not fork: $! is the daemon.)
    setsid ip netns exec "$1" env TMPDIR="$dir/hosts/$2/tmp" "$3" -s "$dir/hosts/$2/smb.conf" \
        --foreground --no-process-group --debug-stdout </dev/null >"$dir/log/$2-$3.out" 2>&1 9>&- &
    echo $! >"$dir/pids/$2-$3.pid"
}

# A namespace joined to the lab's bridge with one address: NAMESPACE ADDRESS.
join_bridge() {
    local ns=$1 address=$2 link
    link=vl$(echo "$ns" | md5sum | cut -c1-8)
    [ "$ns" = "$SRV" ] || ip netns add "$ns"
    ip link add "$link" type veth peer name "$link-b"
    ip link set "$link" netns "$ns"
    ip link set "$link-b" netns $SRV
    ip -n $SRV link set "$link-b" master br0
    ip -n $SRV link set "$link-b" up
    ip -n "$ns" addr add "$address" brd + dev "$link"
    ip -n "$ns" link set lo up
    ip -n "$ns" link set "$link" up
}

# Waits until smbd of HOST takes connections on ADDRESS:139 from the client
# side (10 s at most), and checks that both of its daemons stayed up.
host_ready() { # HOST ADDRESS
    local i name
    for i in $(seq 100); do
        ip netns exec $CLI bash -c "exec 3<>/dev/tcp/$2/139" 2>/dev/null && break
        sleep 0.1
    done
    for name in nmbd smbd; do
        if ! [ -d "/proc/$(cat "$dir/pids/$1-$name.pid")" ]; then
            echo "$name of $1 did not stay up; its output:" >&2
            tail -n 30 "$dir/log/$1-$name.out" >&2
            return 1
        fi
    done
    ip netns exec $CLI bash -c "exec 3<>/dev/tcp/$2/139" 2>/dev/null || {
        echo "smbd of $1 does not answer on $2:139" >&2
        return 1
    }
    # Senders find a receiver by a NetBIOS name query; nmbd answers it a few
    # seconds after its start (20 s at most).
    for i in $(seq 40); do
        ip netns exec $CLI nmblookup -s "$dir/home/.smb/smb.conf" "$1" 2>/dev/null |
            grep -q "^${2//./\\.} $1<00>" && return 0
        sleep 0.5
    done
    echo "nobody answers for the name $1 after 20 s" >&2
    return 1
}

# A Samba host on the bridge: NAME ADDRESS/24, its smb.conf lines on
# standard input (see write_host_conf). Its namespace is vesnal-lab-<name>.
add_receiver() {
    local name=$1 address=$2 ns
    ns=vesnal-lab-$(echo "$1" | tr 'A-Z' 'a-z')
    write_host_conf "$name" "$address"
    join_bridge "$ns" "$address"
    start_daemon "$ns" "$name" nmbd
    start_daemon "$ns" "$name" smbd
    echo "$name ${address%/*}" >>"$dir/receivers"
}

# Receivers beside PC-01, each a namespace of its own on the bridge.
add_receivers() {
    # RX-01: a Linux receiver as vesnal-receiver-setup makes one: the built
    # vesnal-receive ($VESNAL_RECEIVE) stores each message into DIR/spool,
    # which belongs to the guest user the message command runs as; the
    # sender's address holds a flood back, the limits are the defaults.
    local receive=${VESNAL_RECEIVE:-$(cd "$(dirname "$0")/.." && pwd)/build/messenger/vesnal-receive}
    [ -x "$receive" ] || echo "warning: $receive is not built; RX-01 will store no messages" >&2
    install -d -o nobody -g nogroup -m 755 "$dir/spool"
    add_receiver RX-01 10.203.0.11/24 <<CONF
server min protocol = NT1
local master = no
dos charset = CP852
message command = env VESNAL_SPOOL=$dir/spool $receive --address=%I %s %f %L &
CONF
    # PC-05, alone in TIHAGRUPA and its master browser: a test silences it
    # (SIGSTOP to its smbd: connections are taken, never answered) and
    # brings it back (SIGCONT).
    add_receiver PC-05 10.203.0.5/24 <<CONF
workgroup = TIHAGRUPA
server min protocol = NT1
local master = yes
preferred master = yes
os level = 65
CONF
    # PC-07: Samba's own protocol settings (SMB1 off, as since 4.11). It
    # takes the connection and drops the message; anything that did arrive
    # would land in the inbox as PC-07.<sender>-<number>.msg.
    add_receiver PC-07 10.203.0.7/24 <<CONF
dos charset = CP852
message command = /bin/sh -c 'f=$dir/inbox/PC-07.%f-\$\$; cat %s >"\$f.part" && mv "\$f.part" "\$f.msg"; rm -f %s' &
CONF
}

up() {
    # DIR is wiped: only ever one that a lab made (it holds the marker).
    case "$dir" in /?*) ;; *) echo "DIR must be an absolute path" >&2; exit 2 ;; esac
    if [ -d "$dir" ] && [ -n "$(ls -A "$dir")" ] && ! [ -f "$dir/.vesnal-lab" ]; then
        echo "$dir is not empty and not a lab folder; not touching it" >&2
        exit 2
    fi
    local waited=0
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
    rm -rf "$dir"
    mkdir -p "$dir"
    touch "$dir/.vesnal-lab"
    mkdir -p "$dir"/pids "$dir"/log "$dir"/share "$dir"/inbox
    echo "Dobrodošli" >"$dir/share/procitaj.txt"
    mkdir -p "$dir/share/fascikla"
    chmod 755 "$dir" "$dir/share"
    chown nobody "$dir/inbox"
    chmod 755 "$dir/inbox"
    write_server_conf
    write_client_conf "$dir/home" 10.203.0.2/24
    write_client_conf "$dir/home-iso" 10.203.1.2/24

    ip netns add $SRV
    ip -n $SRV link add br0 type bridge
    ip -n $SRV addr add 10.203.0.1/24 brd + dev br0
    ip -n $SRV link set br0 up
    ip -n $SRV link set lo up
    join_bridge $CLI 10.203.0.2/24
    ip netns add $ISO
    ip link add vlab-iso type veth peer name vlab-void
    ip link set vlab-iso netns $ISO
    ip link set vlab-void netns $ISO
    ip -n $ISO addr add 10.203.1.2/24 brd + dev vlab-iso
    ip -n $ISO link set lo up
    ip -n $ISO link set vlab-iso up
    ip -n $ISO link set vlab-void up
    ip -n $ISO neigh add 10.203.1.9 lladdr 02:00:0a:cb:01:09 dev vlab-iso nud permanent

    start_daemon $SRV PC-01 nmbd
    start_daemon $SRV PC-01 smbd
    add_receivers
    local host address
    while read -r host address; do
        if ! host_ready "$host" "$address"; then
            teardown
            rm -f "$OWNER"
            exit 1
        fi
    done < <(echo "PC-01 10.203.0.1"; cat "$dir/receivers" 2>/dev/null)
    date +%s >"$dir/lab-up"
    echo "Samba lab up in $dir: PC-01 (10.203.0.1)$(awk '{printf ", %s (%s)", $1, $2}' "$dir/receivers" 2>/dev/null)"
}

run() {
    [ $# -ge 2 ] || usage
    local where=$1
    shift
    if ! can_run || ! [ -f "$dir/lab-up" ]; then
        echo "SKIP: the Samba lab needs root and ip netns (and a lab that is up)"
        exit $SKIP
    fi
    local ns home
    case "$where" in
    cli) ns=$CLI home=$dir/home ;;
    iso) ns=$ISO home=$dir/home-iso ;;
    *) usage ;;
    esac
    exec ip netns exec "$ns" env HOME="$home" XDG_CONFIG_HOME="$home/.config" \
        VESNAL_LAB_DIR="$dir" VESNAL_NETBIOS_NAME=PC-02 VESNAL_WORKGROUP=RADNAGRUPA "$@"
}

case "$cmd" in
up | down)
    if ! can_run; then
        echo "Samba lab not available (needs root, ip netns, nmbd and smbd): nothing to do"
        exit 0
    fi
    # Root in a container may still lack the right to make namespaces.
    probe=vesnal-probe-$$
    if [ "$cmd" = up ] && ! { ip netns add $probe && ip netns del $probe; } 2>/dev/null; then
        echo "Samba lab not available (network namespaces cannot be made here): nothing to do"
        exit 0
    fi
    "$cmd"
    ;;
run) run "$@" ;;
*) usage ;;
esac
